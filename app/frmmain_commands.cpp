#include "frmmain.h"

#include "progress.h"
#include "webview.h"

#include <QLabel>
#include <QProgressBar>

// Navigation, print and progress handlers. Each command makes its one call on
// Web(0); the guarded ones drop a failure without a word to the user.

// The commands that take the page somewhere give it the keyboard, as a
// browser gives the page the focus once the user has chosen where it goes.

void frmMain::cmdBack_Click()
{
    ignoreErrors([this] { Web.at(0)->GoBack(); });
    ignoreErrors([this] { pageTakesFocus(); });
}

void frmMain::cmdForward_Click()
{
    ignoreErrors([this] { Web.at(0)->GoForward(); });
    ignoreErrors([this] { pageTakesFocus(); });
}

void frmMain::cmdStop_Click()
{
    ignoreErrors([this] { Web.at(0)->Stop(); });
}

void frmMain::cmdRefresh_Click()
{
    ignoreErrors([this] { Web.at(0)->Refresh(); });
    ignoreErrors([this] { pageTakesFocus(); });
}

void frmMain::cmdHome_Click()
{
    ignoreErrors([this] { Web.at(0)->Navigate(HomePageUrl); });
    ignoreErrors([this] { pageTakesFocus(); });
}

void frmMain::cmdPrint_Click()
{
    // The button is Print Preview; printing itself is only on the Page menu.
    ignoreErrors([this] { Web.at(0)->ExecWB(WebView::PrintPreviewCmd, WebView::DoDefault); });
}

// The logo has no error handling of its own; a navigation it cannot start is
// of no interest to the user (the page simply stays), so it is dropped.
void frmMain::Image1_Click()
{
    ignoreErrors([this] { Web.at(0)->Navigate(HomePageUrl); });
    ignoreErrors([this] { pageTakesFocus(); });
}

void frmMain::Image1_DblClick()
{
    ignoreErrors([this] { Web.at(0)->Navigate(HomePageUrl); });
    ignoreErrors([this] { pageTakesFocus(); });
}

void frmMain::mnuFind_Click()
{
    ignoreErrors([this] { Web.at(0)->Find(); });
}

void frmMain::mnuPGSetup_Click()
{
    ignoreErrors([this] { Web.at(0)->ExecWB(WebView::PageSetupCmd, WebView::DoDefault); });
}

void frmMain::mnuPrintPreview_Click()
{
    // Runs the button's handler itself, so the two can never differ.
    cmdPrint_Click();
}

void frmMain::mnuPrint_Click()
{
    // A print that fails must not pass for one that worked: say why.
    QString failure;
    try {
        Web.at(0)->ExecWB(WebView::PrintCmd, WebView::PromptUser);
        return;
    } catch (const ExpectedFailure &e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        logUnexpectedFailure();
        failure = tr("The page could not be printed.");
    }
    tellUser(this, failure);
}

void frmMain::Web_ProgressChange(int, int Progress, int ProgressMax)
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

void frmMain::Web_NavigateComplete2(int, const QString &)
{
    ProgressBar1->setVisible(false);
    lblStat->setVisible(false);
}
