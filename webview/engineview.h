#pragma once

#include "webview.h"

#include <memory>

class QPrinter;
class QWebEngineView;

// The web view over Qt WebEngine.
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

    // The engine's own view, for tests that drive the page directly.
    QWebEngineView *engine() const { return m_view; }
    // The one printer of this view (300 dpi), shared by Print, Print Preview
    // and Page Setup so that settings carry over between them.
    QPrinter *printer();

private:
    void printPreview();
    void pageSetup();
    void print();
    // Renders the page onto `target` and waits until the engine is done;
    // false when the engine reports a failure.
    bool renderPages(QPrinter *target);

    QWebEngineView *m_view;
    std::unique_ptr<QPrinter> m_printer;
    // A print command is running (one of its dialogs is open or it renders).
    bool m_printing = false;
    // The engine is rendering the page for a printer.
    bool m_rendering = false;
    // The page's renderer has ended and no other has started yet.
    bool m_rendererGone = false;
};
