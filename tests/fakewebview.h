#pragma once

#include "webview.h"

#include <QStringList>

#include <functional>

// A web view that records every call and can be told to fail.
class FakeWebView : public WebView
{
public:
    using WebView::WebView;

    QStringList calls;          // "Navigate(url)", "GoBack", "Exec(PrintPreview)", ...
    bool fail = false;          // every operation throws WebViewError
    QString url, name;          // what LocationURL and LocationName report
    bool windowVisibleAtNavigate = false;
    bool busy = false;
    // Runs after each call is recorded, before a failure is thrown.
    std::function<void(const QString &call)> onCall;

    void Navigate(const QString &address) override
    {
        windowVisibleAtNavigate = window()->isVisible();
        record(QStringLiteral("Navigate(%1)").arg(address));
    }
    void GoBack() override { record(QStringLiteral("GoBack")); }
    void GoForward() override { record(QStringLiteral("GoForward")); }
    void Refresh() override { record(QStringLiteral("Refresh")); }
    void Stop() override { record(QStringLiteral("Stop")); }
    void Exec(PageCommand command) override
    {
        record(QStringLiteral("Exec(%1)").arg(QString::fromLatin1(nameOf(command))));
    }
    static const char *nameOf(PageCommand command)
    {
        switch (command) {
        case PageCommand::Back: return "Back";
        case PageCommand::Forward: return "Forward";
        case PageCommand::Stop: return "Stop";
        case PageCommand::Refresh: return "Refresh";
        case PageCommand::Home: return "Home";
        case PageCommand::PageSetup: return "PageSetup";
        case PageCommand::PrintPreview: return "PrintPreview";
        case PageCommand::Print: return "Print";
        case PageCommand::SavePage: return "SavePage";
        case PageCommand::Find: return "Find";
        case PageCommand::ZoomIn: return "ZoomIn";
        case PageCommand::ZoomOut: return "ZoomOut";
        case PageCommand::ZoomReset: return "ZoomReset";
        case PageCommand::Close: return "Close";
        }
        return "?";
    }
    bool Busy() const override { return busy; }
    void setBusy(bool value)
    {
        busy = value;
        emit BusyChanged(value);
    }
    QString LocationURL() const override
    {
        const_cast<FakeWebView *>(this)->record(QStringLiteral("LocationURL"));
        return url;
    }
    QString LocationName() const override
    {
        const_cast<FakeWebView *>(this)->record(QStringLiteral("LocationName"));
        return name;
    }

    void emitProgress(int progress, int progressMax) { emit ProgressChange(progress, progressMax); }
    void emitNavigateComplete(const QString &address) { emit NavigateComplete2(address); }
    // Back and Forward as a page with history both ways reports them, and
    // loading: every page command can be done.
    void allowEverything()
    {
        emit CommandStateChange(PageCommand::Back, true);
        emit CommandStateChange(PageCommand::Forward, true);
        setBusy(true);
    }

private:
    void record(const QString &call)
    {
        calls << call;
        if (onCall)
            onCall(call);
        if (fail)
            throw WebViewError(QStringLiteral("%1 failed").arg(call));
    }
};
