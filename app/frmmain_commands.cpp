#include "frmmain.h"

#include "progress.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

// The page commands' handlers and the progress display. Each handler
// triggers its command's action: what the command does, when it can be done
// and what a failure says are the command's row in PageActions, the same
// for the button, the menu item and the keys.

void frmMain::cmdBack_Click()
{
    command("cmdBack")->trigger();
}

void frmMain::cmdForward_Click()
{
    command("cmdForward")->trigger();
}

void frmMain::cmdStop_Click()
{
    command("cmdStop")->trigger();
}

void frmMain::cmdRefresh_Click()
{
    command("cmdRefresh")->trigger();
}

void frmMain::cmdHome_Click()
{
    command("cmdHome")->trigger();
}

void frmMain::cmdPrint_Click()
{
    // The button is Print Preview; printing itself is only on the Page menu.
    command("mnuPrintPreview")->trigger();
}

// The logo goes home as the Home button does.
void frmMain::Image1_Click()
{
    command("cmdHome")->trigger();
}

void frmMain::Image1_DblClick()
{
    command("cmdHome")->trigger();
}

void frmMain::mnuFind_Click()
{
    command("mnuFind")->trigger();
}

void frmMain::mnuPGSetup_Click()
{
    command("mnuPGSetup")->trigger();
}

void frmMain::mnuPrintPreview_Click()
{
    command("mnuPrintPreview")->trigger();
}

void frmMain::mnuPrint_Click()
{
    command("mnuPrint")->trigger();
}

void frmMain::Web_ProgressChange(int Progress, int ProgressMax)
{
    if (Progress <= 0) {
        // No progress, or -1 at the end of a download.
        ProgressBar1->setVisible(false);
        lblStat->setVisible(false);
        return;
    }
    ProgressBar1->setVisible(true);
    ProgressBar1->setMinimum(0);
    // The bar wants a maximum above its minimum; other values are refused and
    // the range stays as it was. A maximum below the value the bar shows pulls
    // the value down with it (the bar would otherwise empty itself).
    const std::optional<int> maximum = progress::rangeMaximum(ProgressMax);
    if (maximum && *maximum > ProgressBar1->minimum()) {
        const int value = ProgressBar1->value();
        ProgressBar1->setMaximum(*maximum);
        if (value > *maximum)
            ProgressBar1->setValue(*maximum);
    }
    lblStat->setVisible(true);
    // A percentage that cannot be computed leaves the line as it was.
    if (const std::optional<QString> text = progress::caption(Progress, ProgressMax, QLocale()))
        lblStat->setText(*text);
    // A value outside the range is refused and the bar keeps its value.
    if (Progress >= ProgressBar1->minimum() && Progress <= ProgressBar1->maximum())
        ProgressBar1->setValue(Progress);
}

void frmMain::Web_NavigateComplete2()
{
    ProgressBar1->setVisible(false);
    lblStat->setVisible(false);
}
