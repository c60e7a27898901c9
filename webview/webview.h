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

// The operations the program calls on a web view, as X(name, parameters,
// arguments). Each starts something and returns at once; progress arrives as
// events, and an operation that cannot be done throws WebViewError. A new
// operation is one line here, one override in each view class, and nothing
// else: the stand-in view forwards every operation on this list by itself.
#define VELMORA_WEBVIEW_OPERATIONS(X)                                                              \
    /* Starts loading `url`. */                                                                    \
    X(Navigate, (const QString &url), (url))                                                       \
    /* One step back in the history; throws when there is no earlier entry. */                    \
    X(GoBack, (), ())                                                                              \
    /* One step forward in the history; throws when there is no later entry. */                    \
    X(GoForward, (), ())                                                                           \
    /* Reloads the page on display. */                                                             \
    X(Refresh, (), ())                                                                             \
    /* Cancels the pending navigation. */                                                          \
    X(Stop, (), ())                                                                                \
    /* Runs a print, print-preview or page-setup command; throws on anything else. */              \
    X(ExecWB, (int cmdId, int execOpt), (cmdId, execOpt))                                          \
    /* Zooms the page's site one step in (+1) or out (-1), or back to 100 % (0). */                \
    X(Zoom, (int step), (step))                                                                    \
    /* Opens the find bar below the page, the keyboard in it. */                                   \
    X(Find, (), ())

// The embedded web view as the rest of the program sees it: the operations it
// calls, what it asks of the page now, and the events it listens to.
class WebView : public QWidget
{
    Q_OBJECT
public:
    // Command ids and execution options accepted by ExecWB.
    enum Command { PrintCmd = 6, PrintPreviewCmd = 7, PageSetupCmd = 8 };
    enum ExecOption { DoDefault = 0, PromptUser = 1 };

    using QWidget::QWidget;
    ~WebView() override = default;

#define VELMORA_DECLARE_OPERATION(name, parameters, arguments) virtual void name parameters = 0;
    VELMORA_WEBVIEW_OPERATIONS(VELMORA_DECLARE_OPERATION)
#undef VELMORA_DECLARE_OPERATION

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
};
