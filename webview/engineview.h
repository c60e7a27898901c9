#pragma once

#include "webview.h"

#include <QPointer>

#include <memory>

class QLabel;
class QPrinter;
class QStackedLayout;
class QWebEnginePage;
class QWebEngineView;
class WebPage;

// The web view over Qt WebEngine: a page of the program's own kind on the
// program's one profile. It also answers what the page asks of the view
// itself: full screen, a context menu, and a word when the page has died or
// its site's certificate was refused.
class EngineView : public WebView
{
    Q_OBJECT
public:
    explicit EngineView(QWidget *parent = nullptr);
    ~EngineView() override;

    void Navigate(const QString &url) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Stop() override;
    void ExecWB(int cmdId, int execOpt) override;
    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override;
    void Zoom(int step) override;

    // Whether Navigate opens `url`: web pages and files, nothing that runs
    // script or shows the engine's own pages.
    static bool isNavigable(const QUrl &url);
    // The zoom factor one step in (+1) or out (-1) from `current`, or 1 (0).
    static double zoomFactorAfter(double current, int step);

    // The engine's own view, for tests that drive the page directly.
    QWebEngineView *engine() const { return m_view; }
    // The page, wherever it is shown (in this view or full screen).
    QWebEnginePage *page() const;
    // What the view says in place of the page, if it says anything.
    QString notice() const;
    // The one printer of this view (300 dpi), shared by Print, Print Preview
    // and Page Setup so that settings carry over between them.
    QPrinter *printer();

signals:
    // The page's title has changed.
    void TitleChange(const QString &title);

private:
    void showNotice(const QString &text);
    void clearNotice();
    void showContextMenu(const QPoint &pos);
    void printPreview();
    void pageSetup();
    void print();
    // Renders the page onto `target` and waits until the engine is done;
    // false when the engine reports a failure.
    bool renderPages(QPrinter *target);

    QWebEngineView *m_view;
    WebPage *m_page;
    QStackedLayout *m_stack;
    QLabel *m_notice;
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
};
