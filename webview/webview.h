#pragma once

#include "errorpolicy.h"

#include <QString>
#include <QWidget>

// A web view operation that could not be done: no history entry in that
// direction, a command the view does not know, a print that failed.
class WebViewError : public ExpectedFailure
{
public:
    using ExpectedFailure::ExpectedFailure;
};

// The embedded web view as the rest of the program sees it: the operations it
// calls, what it asks of the page now, and the events it listens to. Each
// operation starts something and returns at once; progress arrives as events,
// and an operation that cannot be done throws WebViewError.
class WebView : public QWidget
{
    Q_OBJECT
public:
    // Command ids and execution options accepted by ExecWB.
    enum Command { SaveAsCmd = 4, PrintCmd = 6, PrintPreviewCmd = 7, PageSetupCmd = 8 };
    enum ExecOption { DoDefault = 0, PromptUser = 1 };
    // The commands whose state CommandStateChange reports.
    enum StateCommand { NavigateForward = 1, NavigateBack = 2 };

    using QWidget::QWidget;
    ~WebView() override = default;

    // Starts loading `url`.
    virtual void Navigate(const QString &url) = 0;
    // One step back in the history; throws when there is no earlier entry.
    virtual void GoBack() = 0;
    // One step forward in the history; throws when there is no later entry.
    virtual void GoForward() = 0;
    // Reloads the page on display.
    virtual void Refresh() = 0;
    // Cancels the pending navigation.
    virtual void Stop() = 0;
    // Runs a save, print, print-preview or page-setup command; throws on anything else.
    virtual void ExecWB(int cmdId, int execOpt) = 0;
    // Zooms the page's site one step in (+1) or out (-1), or back to 100 % (0).
    virtual void Zoom(int step) = 0;
    // Opens the find bar below the page, the keyboard in it.
    virtual void Find() = 0;

    // Address of the page on display, as the view reports it now.
    virtual QString LocationURL() const = 0;
    // Name (title) of the page on display, as the view reports it now.
    virtual QString LocationName() const = 0;
    // True while a page is loading.
    virtual bool Busy() const = 0;

signals:
    // Download progress; Progress -1 marks the end of a download.
    void ProgressChange(int Progress, int ProgressMax);
    // A navigation has committed to `URL`.
    void NavigateComplete2(const QString &URL);
    // Busy() has changed: a page started or stopped loading.
    void BusyChanged(bool busy);
    // Command (a StateCommand) can now be done, or no longer: Back and
    // Forward follow the page's history. A fresh view has neither.
    void CommandStateChange(int Command, bool Enable);
};
