#pragma once

#include "webview.h"

#include <QPointer>

#include <memory>

class QLabel;
class QPrinter;
class QStackedLayout;
class QWebEnginePage;
class QWebEngineView;
class FindBar;
class QTimer;
class Session;
class WebPage;

// The web view over Qt WebEngine: a page of the program's own kind on the
// session's profile, at its site's zoom. It also answers what the page asks
// of the view itself: full screen, a context menu, and a word when the page
// has died, its site's certificate was refused or a window was blocked.
class EngineView : public WebView
{
    Q_OBJECT
public:
    EngineView(Session &session, QWidget *parent = nullptr);
    ~EngineView() override;

#define VELMORA_OVERRIDE_OPERATION(name, parameters, arguments) void name parameters override;
    VELMORA_WEBVIEW_OPERATIONS(VELMORA_OVERRIDE_OPERATION)
#undef VELMORA_OVERRIDE_OPERATION
    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override;

    // The engine's own view, for tests that drive the page directly.
    QWebEngineView *engine() const { return m_view; }
    // The page, wherever it is shown (in this view or full screen).
    QWebEnginePage *page() const;
    // What the view says in place of the page, if it says anything.
    QString notice() const;
    // The short note above the page (a blocked window), while it shows.
    QString note() const;
    // The window that shows the page full screen, while it does.
    QWidget *fullScreenWindow() const { return m_fullScreen; }
    // The find bar below the page.
    FindBar *findBar() const { return m_findBar; }
    // The one printer of this view (300 dpi), shared by Print, Print Preview
    // and Page Setup so that settings carry over between them.
    QPrinter *printer();

signals:
    // The page's title has changed.
    void TitleChange(const QString &title);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showNote(const QString &text);
    void applyZoom();
    void showNotice(const QString &text);
    void clearNotice();
    void showContextMenu(const QPoint &pos);
    void printPreview();
    void pageSetup();
    // False when the user cancelled the print dialog.
    bool print();
    // Why the page cannot be printed; empty when it can.
    QString unprintable() const;
    // Print as the page asked for it (window.print(), the PDF viewer's button).
    void printForPage();
    // Renders the page onto `target` and waits until the engine is done;
    // false when the engine reports a failure.
    bool renderPages(QPrinter *target);
    // Has the engine write the page as a PDF file of its own, with text and
    // links, and waits until it is done; false on failure.
    bool printToFile(const QString &file);

    Session &m_session;
    QWebEngineView *m_view;
    WebPage *m_page;
    QStackedLayout *m_stack;
    QLabel *m_notice;
    QLabel *m_note;
    FindBar *m_findBar;
    QTimer *m_noteTimer;
    // The window that shows the page full screen, while it does.
    QPointer<QWidget> m_fullScreen;
    std::unique_ptr<QPrinter> m_printer;
    // A print command is running (one of its dialogs is open or it renders).
    bool m_printing = false;
    // The engine is rendering the page for a printer.
    bool m_rendering = false;
    // Between the start and the end of a page load, as the view reports them.
    bool m_busy = false;
    // The page's renderer has ended and no other has started yet.
    bool m_rendererGone = false;
    // The page is a PDF file in the engine's viewer, which the engine prints
    // as the viewer's controls and not as the file (Qt 6.4).
    bool m_showsPdf = false;
    // The page left full screen and may not enter it again before the
    // user's next click or key in it.
    bool m_fullScreenLocked = false;
};
