#pragma once

#include "webview.h"

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

private:
    QWebEngineView *m_view;
};
