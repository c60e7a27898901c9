#pragma once

#include "keyswindow.h"
#include "webview.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class DownloadsWindow;
class PageActions;
class PictureImage;
class Session;

// The window's own commands, besides its page's (PageCommand): one action
// each, made from one table (frmmain_commands.cpp) and found by this type.
enum class WindowCommand { SetHomePage, Exit, Downloads, AddBookmark, DeleteBookmark, ViewBookmark, Keys, About };


// The main window: toolbar row, status line and progress bar, logo, the web
// view and the menus.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    using WebViewFactory = std::function<WebView *(QWidget *parent)>;

    // `makeWebView` builds element 0 of Web; `homePage` is the configured
    // address that start-up gives to HomePageUrl. With a `session`, the
    // window shows its downloads. `programFolder` is the folder the program
    // runs from (empty: its own), which SetBookmarkPath is asked about.
    frmMain(const WebViewFactory &makeWebView, const QString &homePage, Session *session = nullptr,
            const QString &programFolder = QString());
    ~frmMain() override;

    // The start-up sequence: runs once, right after construction. The page
    // shown first is `firstPage` when one is given, else the home page.
    void Form_Load(const QString &firstPage = QString());

    // Opens `url`, a web page another program asked for, in this window's
    // view; the page takes the keyboard. The About and Keyboard Shortcuts
    // windows close, so that the page is seen and keys reach it.
    void OpenAddress(const QString &url);

    // Mode flag for the bookmark window: true is view mode, false delete mode.
    bool GoBookMark = false;
    // The home-page address; empty until start-up sets it. With a session
    // that finds the home page, Home asks it each time and keeps its answer
    // here.
    QString HomePageUrl;
    // Full path of the bookmark file; empty until start-up sets it.
    QString BookmarkFilePath;
    // The web view control array; the design has element 0 only.
    std::vector<WebView *> Web;

    // Appends one bookmark to the bookmark file; a failure is shown to the user.
    void AddBookmarkEntry(const QString &name, const QString &address);

    // Command handlers, public so that tests drive them as the user would.
    // The page commands' handlers trigger their action, as the button, the
    // menu item and the keys do.
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdStop_Click();
    void cmdRefresh_Click();
    void cmdHome_Click();
    void cmdPrint_Click();
    void cmdAddBookmark_Click();
    void Image1_Click();
    void Image1_DblClick();
    void mnuPGSetup_Click();
    void mnuPrintPreview_Click();
    void mnuPrint_Click();
    void mnuFind_Click();
    void mnuDownloads_Click();
    void mnuSetHome_Click();
    void mnuExit_Click();
    void mnuAddBookMark_Click();
    void mnuDelBookMark_Click();
    void mnuViewBookMark_Click();
    void mnuKeys_Click();
    void mnuAbout_Click();
    void Web_ProgressChange(int Progress, int ProgressMax);
    void Web_NavigateComplete2();

    // The layout rule: fits the logo and the web view to the window's size.
    void Form_Resize();

    QPushButton *cmdBack;
    QPushButton *cmdForward;
    QPushButton *cmdStop;
    QPushButton *cmdRefresh;
    QPushButton *cmdHome;
    QPushButton *cmdAddBookmark;
    QPushButton *cmdPrint;
    QLabel *lblStat;
    QProgressBar *ProgressBar1;
    PictureImage *Image1;
    // The zoom of the page's site, shown when it is not 100 %; a click resets it.
    QPushButton *cmdZoom;

    // The page commands, one action each: buttons, menu items and keys.
    PageActions *actions;
    // The action of a page command, or of one of the window's own.
    QAction *command(PageCommand command) const;
    QAction *command(WindowCommand command) const;
    // The downloads window, once a download has shown it.
    DownloadsWindow *downloadsWindow() const;
    // Every key of the program, from the command tables, in their order.
    QList<Shortcut> shortcuts() const;

    QAction *mnuDownloads;
    QAction *mnuSetHome;
    QAction *mnuExit;
    QAction *mnuAddBookMark;
    QAction *mnuDelBookMark;
    QAction *mnuViewBookMark;
    QAction *mnuKeys;
    QAction *mnuAbout;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls(const WebViewFactory &makeWebView);
    void createMenus();
    // One action per row of the window's own commands.
    void createWindowCommands();
    QPushButton *createPictureButton(const char *name, const char *picture, QAction *action, double left);
    void showDownloads();
    // Shows the bookmark window, made in the mode GoBookMark chooses; an open
    // one only comes to the front, keeping its mode, rows and ticks.
    void showBookmarkWindow();
    void showZoom(double factor);
    // The home page now: the session's, where it finds one.
    QString homePage();
    // Says so when the web engine's security fixes are more than a year old,
    // until the user closes the notice for this engine.
    void showEngineNotice();
    void Form_Unload();
    // Moves and sizes the window's outer frame (pixels).
    void moveOuter(const QRect &outer);
    // The frame the window system has put around the client area so far.
    QSize frameSize() const;

    QWidget *m_client;
    QString m_configuredHomePage;
    QString m_programFolder;
    QRect m_outerTarget;
    // The frame moveOuter() knew of, and whether it was the window
    // manager's (a window not yet framed has none).
    QSize m_fittedFrame;
    bool m_framed = false;
    // The outer size the layout rule last fitted the controls to.
    QSize m_laidOutFor;
    QPointer<QWidget> m_bookmarkWindow;
    QPointer<QWidget> m_aboutWindow;
    QPointer<QWidget> m_keysWindow;
    Session *m_session;
    std::vector<std::pair<WindowCommand, QAction *>> m_windowCommands;
};
