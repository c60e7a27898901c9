#include "engineview.h"

#include <QEventLoop>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
// Runs a modal dialog made with new: should its parent be deleted while it is
// open, the dialog goes with it and is not deleted a second time here.
template <typename Dialog>
int runDialog(Dialog *dialog)
{
    QPointer<Dialog> guard(dialog);
    const int result = dialog->exec();
    delete guard.data();
    return result;
}

// Clears a flag of the view when the scope ends, if the view still exists.
class FlagScope
{
public:
    FlagScope(QObject *owner, bool &flag) : m_owner(owner), m_flag(flag) { m_flag = true; }
    ~FlagScope()
    {
        if (m_owner)
            m_flag = false;
    }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    QPointer<QObject> m_owner;
    bool &m_flag;
};
}

EngineView::EngineView(QWidget *parent)
    : WebView(parent), m_view(new QWebEngineView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    connect(m_view, &QWebEngineView::loadProgress, this,
            [this](int progress) { emit ProgressChange(progress, 100); });
    // The end of a download is reported as progress -1, whatever the outcome.
    connect(m_view, &QWebEngineView::loadFinished, this,
            [this](bool) { emit ProgressChange(-1, 100); });
    connect(m_view, &QWebEngineView::urlChanged, this,
            [this](const QUrl &url) { emit NavigateComplete2(url.toString()); });
    // The engine cannot print a page whose renderer has gone (it crashes on
    // Qt 6.4), so keep track until a new one takes over.
    connect(m_view->page(), &QWebEnginePage::renderProcessTerminated, this, [this] { m_rendererGone = true; });
    connect(m_view->page(), &QWebEnginePage::renderProcessPidChanged, this, [this](qint64 pid) {
        if (pid != 0)
            m_rendererGone = false;
    });
}

EngineView::~EngineView() = default;

void EngineView::Navigate(const QString &url)
{
    m_view->load(QUrl::fromUserInput(url));
}

void EngineView::GoBack()
{
    if (!m_view->history()->canGoBack())
        throw WebViewError("There is no earlier page in the history.");
    m_view->back();
}

void EngineView::GoForward()
{
    if (!m_view->history()->canGoForward())
        throw WebViewError("There is no later page in the history.");
    m_view->forward();
}

void EngineView::Refresh()
{
    m_view->reload();
}

void EngineView::Stop()
{
    // Stopping while the engine gathers the page for a printer brings the
    // engine down (Qt 6.4): wait until the print is done.
    if (m_rendering)
        throw WebViewError("The page is being printed and cannot be stopped now.");
    m_view->stop();
}

void EngineView::ExecWB(int cmdId, int execOpt)
{
    void (EngineView::*command)() = nullptr;
    if (cmdId == PrintCmd && execOpt == PromptUser)
        command = &EngineView::print;
    else if (cmdId == PrintPreviewCmd && execOpt == DoDefault)
        command = &EngineView::printPreview;
    else if (cmdId == PageSetupCmd && execOpt == DoDefault)
        command = &EngineView::pageSetup;
    if (!command)
        throw WebViewError(QStringLiteral("Command %1 with option %2 is not supported.")
                               .arg(cmdId)
                               .arg(execOpt));
    // One print command at a time: they share the printer, and the engine
    // prints one page on one printer at a time.
    if (m_printing)
        throw WebViewError("Another print command of this page is still running.");
    FlagScope printing(this, m_printing);
    (this->*command)();
}

QPrinter *EngineView::printer()
{
    if (!m_printer) {
        // The engine rasterises the pages: 300 dpi is sharp on paper, while
        // the printer's full resolution costs seconds and gigabytes a page.
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setResolution(300);
    }
    return m_printer.get();
}

void EngineView::printPreview()
{
    auto *dialog = new QPrintPreviewDialog(printer(), this);
    // Room for the page and the whole tool bar, not just the smallest size.
    dialog->resize(dialog->sizeHint().expandedTo(window()->size() * 3 / 4));
    connect(dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) {
        QPointer<EngineView> self(this);
        if (renderPages(target) || !self)
            return;
        // An empty preview would look like an empty page: say what happened.
        QPainter painter;
        if (!painter.begin(target))
            return;
        painter.drawText(painter.viewport(), Qt::AlignCenter | Qt::TextWordWrap,
                         tr("The page could not be prepared for printing."));
    });
    runDialog(dialog);
}

void EngineView::pageSetup()
{
    runDialog(new QPageSetupDialog(printer(), this));
}

void EngineView::print()
{
    QPointer<EngineView> self(this);
    if (runDialog(new QPrintDialog(printer(), this)) != QDialog::Accepted || !self)
        return;
    const bool printed = renderPages(printer());
    if (!self)
        throw WebViewError("The page was closed before it was printed.");
    if (!printed) {
        const QString destination =
            m_printer->outputFileName().isEmpty() ? m_printer->printerName() : m_printer->outputFileName();
        throw WebViewError(tr("The page could not be printed to %1.").arg(destination));
    }
}

bool EngineView::renderPages(QPrinter *target)
{
    // The engine would ignore a second print and never report on it.
    if (m_rendering || m_rendererGone)
        return false;
    FlagScope rendering(this, m_rendering);
    bool finished = false, ok = false;
    QEventLoop wait;
    connect(m_view, &QWebEngineView::printFinished, &wait, [&](bool success) {
        finished = true;
        ok = success;
        wait.quit();
    });
    connect(this, &QObject::destroyed, &wait, &QEventLoop::quit);
    m_view->print(target);
    // Pages arrive asynchronously; the user waits, but timers and repaints go on.
    if (!finished)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    return ok;
}

QString EngineView::LocationURL() const
{
    return m_view->url().toString();
}

QString EngineView::LocationName() const
{
    return m_view->title();
}
