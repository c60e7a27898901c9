#pragma once

#include "errorpolicy.h"

#include <QString>
#include <QWidget>

// A web view operation that could not be done: no history entry in that
// direction, a command the view does not run, a print that failed.
class WebViewError : public ExpectedFailure
{
public:
    using ExpectedFailure::ExpectedFailure;
};

// What the user can ask of a page, besides sending it somewhere. The view
// runs all but Home and Close, which are its window's (see PageActions); a
// new command is a value here, a case in EngineView::Exec and a row of the
// page actions' table.
enum class PageCommand {
    Back,
    Forward,
    Stop,
    Refresh,
    Home,
    PageSetup,
    PrintPreview,
    Print,
    SavePage,
    Find,
    ZoomIn,
    ZoomOut,
    ZoomReset,
    Close,
};

// The embedded web view as the rest of the program sees it: the operations it
// calls, what it asks of the page now, and the events it listens to. Each
// operation starts something and returns at once; progress arrives as events,
// and an operation that cannot be done throws WebViewError.
class WebView : public QWidget
{
    Q_OBJECT
public:
    // The design's command ids and execution options, as ExecWB takes them.
    enum DesignCommand { PrintCmd = 6, PrintPreviewCmd = 7, PageSetupCmd = 8 };
    enum ExecOption { DoDefault = 0, PromptUser = 1 };

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
    // Runs `command`; throws when it cannot be done, or is not the view's.
    virtual void Exec(PageCommand command) = 0;
    // The design's print commands by their ids: print with its dialog (6, 1),
    // print preview (7, 0), page setup (8, 0); throws on anything else.
    void ExecWB(int cmdId, int execOpt);

    // Address of the page on display, as the view reports it now.
    virtual QString LocationURL() const = 0;
    // Name (title) of the page on display, as the view reports it now.
    virtual QString LocationName() const = 0;
    // True while a page is loading.
    virtual bool Busy() const = 0;

signals:
    // Page-load progress; Progress -1 marks the end of a page load.
    void ProgressChange(int Progress, int ProgressMax);
    // A navigation has committed to `URL`.
    void NavigateComplete2(const QString &URL);
    // Busy() has changed: a page started or stopped loading.
    void BusyChanged(bool busy);
    // `command` (Back or Forward) can now be done, or no longer: they follow
    // the page's history. A fresh view has neither.
    void CommandStateChange(PageCommand command, bool enable);
    // The page on display is shown at `factor`, its site's zoom.
    void ZoomChange(double factor);
};
