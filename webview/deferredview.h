#pragma once

#include "webview.h"

#include <functional>
#include <vector>

// The web view the window shows from its first frame on, so that the window
// reaches the screen without waiting for the web engine to start. It is in
// its place at once and paints an empty page; once the window has been drawn
// it makes the real view (the engine starts then), puts it in its own place
// and passes every event on. What is called on it before then is kept and
// done, in order, as soon as the real view is up; a kept call that fails is
// dropped, as the guarded handlers drop a failure. Until then it answers as a
// fresh view does: no address, no title, not busy, no Back or Forward.
class DeferredView : public WebView
{
    Q_OBJECT
public:
    using Factory = std::function<WebView *(QWidget *parent)>;

    explicit DeferredView(Factory makeView, QWidget *parent = nullptr);
    ~DeferredView() override;

    // The real view; null until it is up.
    WebView *view() const { return m_view; }
    // Makes the real view now, unless it is up already.
    void start();

    // Every operation is passed on to the real view, or kept until it is up.
    void Navigate(const QString &url) override { perform([url](WebView &v) { v.Navigate(url); }); }
    void GoBack() override { perform([](WebView &v) { v.GoBack(); }); }
    void GoForward() override { perform([](WebView &v) { v.GoForward(); }); }
    void Refresh() override { perform([](WebView &v) { v.Refresh(); }); }
    void Stop() override { perform([](WebView &v) { v.Stop(); }); }
    void Exec(PageCommand command) override { perform([command](WebView &v) { v.Exec(command); }); }

    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override;

signals:
    // The real view is up and the calls kept until then have been done.
    void started();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    using Call = std::function<void(WebView &)>;
    // Passes `call` on to the real view, or keeps it until the view is up.
    void perform(Call call);
    void startOnceDrawn();

    Factory m_makeView;
    WebView *m_view = nullptr;
    std::vector<Call> m_kept;
    bool m_starting = false;
    bool m_startQueued = false;
};
