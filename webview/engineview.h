#pragma once

#include "webpage.h"
#include "webview.h"

#include <QPointer>
#include <QSslCertificate>
#include <QUrl>

class QAction;
class QLabel;
class QPrinter;
class QStackedLayout;
class QWebEnginePage;
class QWebEngineView;
class EnginePrinting;
class FindBar;
class FullScreenWindow;
class LinkTarget;
class NoteBar;
class PdfViewer;
class Session;
class SiteStrip;

// The web view over Qt WebEngine: a page of the program's own kind on the
// session's profile, at its site's zoom. It also answers what the page asks
// of the view itself: full screen, a context menu, printing, and a word when
// the page has died, its site's certificate was refused, a window was blocked
// or a site is no longer asked about something. A PDF file the page goes to
// is shown by the program's own viewer in the page's place, until Back, Stop
// or a new navigation leaves it for the page under it. Above a page (or PDF
// file) of any site but the home site, a strip names the site; the address
// of a link under the pointer shows at the bottom left.
class EngineView : public WebView
{
    Q_OBJECT
public:
    // Windows the page opens are made by `makeWindow`; without it, none opens.
    EngineView(Session &session, QWidget *parent = nullptr, WebPage::WindowMaker makeWindow = {});
    ~EngineView() override;

    void Navigate(const QString &url) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Stop() override;
    void Exec(PageCommand command) override;
    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override;

    // The engine's own view, for tests that drive the page directly.
    QWebEngineView *engine() const { return m_view; }
    // The page, wherever it is shown (in this view or full screen).
    WebPage *page() const { return m_page; }
    // What the view says in place of the page, if it says anything.
    QString notice() const;
    // The note above the page (a blocked window, a site no longer asked),
    // while it shows.
    QString note() const;
    NoteBar *noteBar() const { return m_note; }
    // The strip above a page that is not of the home site.
    SiteStrip *siteStrip() const { return m_strip; }
    // The address of the link under the pointer.
    LinkTarget *linkTarget() const { return m_linkTarget; }
    // The window that shows the page full screen, while it does.
    QWidget *fullScreenWindow() const;
    // The find bar below the page.
    FindBar *findBar() const { return m_findBar; }
    // The print commands of this view.
    EnginePrinting *printing() const { return m_printing; }
    // The one printer of this view, shared by its print commands.
    QPrinter *printer();
    // The viewer that shows a PDF file in place of the page.
    PdfViewer *pdfViewer() const { return m_pdfViewer; }

signals:
    // The page's title has changed.
    void TitleChange(const QString &title);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The note above the page, the page or the notice in its place, the find
    // bar below.
    void createLayout();
    // Loads, progress, history and zoom, passed on as the view's events.
    void followLoads();
    // What the page asks of its view: full screen, a word about a dead
    // renderer, a refused certificate, a blocked window, a site silenced.
    void answerPage();
    // The site of the page shown, in the strip when it is not the home
    // site's; the address of a link under the pointer.
    void followSite();
    void showSite();
    // The user's own clicks and keys, and the context menu.
    void watchUser();
    // A PDF file the page went to, in the viewer.
    void showPdfs();
    // The viewer's own commands: Print and Save.
    QList<QAction *> pdfCommands();
    // Leaves the PDF file for the page under it.
    void closePdf();
    // Shows `shown` in the page's place, the keyboard to `keys` if the view
    // had it, and says what is shown now.
    void showInPlace(QWidget *shown, QWidget *keys, bool focused, const QString &url, const QString &title);
    // Save, Zoom and Find, for a PDF file shown as for a page.
    void savePdf();
    void zoom(int step);
    void find();
    void enterOrLeaveFullScreen(bool enter);
    // Reports Back and Forward when the history allows them, or no longer.
    void reportHistory();
    void showNotice(const QString &text);
    void clearNotice();
    void showContextMenu(const QPoint &pos);

    Session &m_session;
    QWebEngineView *m_view;
    WebPage *m_page;
    QStackedLayout *m_stack;
    QLabel *m_notice;
    NoteBar *m_note;
    FindBar *m_findBar;
    EnginePrinting *m_printing;
    PdfViewer *m_pdfViewer;
    SiteStrip *m_strip = nullptr;
    LinkTarget *m_linkTarget = nullptr;
    // The address whose certificate the engine last refused, and the chain
    // it gave.
    QUrl m_refusedUrl;
    QList<QSslCertificate> m_refusedChain;
    // The window that shows the page full screen, while it does.
    QPointer<FullScreenWindow> m_fullScreen;
    // Between the start and the end of a page load, as the view reports them.
    bool m_busy = false;
    // Back and Forward as last reported.
    bool m_canGoBack = false;
    bool m_canGoForward = false;
    // The page left full screen and may not enter it again before the
    // user's next click or key in it.
    bool m_fullScreenLocked = false;
};
