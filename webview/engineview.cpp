#include "engineview.h"

#include "pagedialogs.h"
#include "webpage.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QWebEngineFullScreenRequest>
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

// The page on the whole screen, until the page or Esc leaves full screen.
// The page comes back to its own view when this window goes.
class FullScreenWindow : public QWidget
{
public:
    FullScreenWindow(QWebEngineView *home, QWebEnginePage *page)
        : QWidget(home->window(), Qt::Window), m_home(home), m_view(new QWebEngineView(this)), m_page(page)
    {
        setObjectName(QStringLiteral("fullScreenWindow"));
        setWindowTitle(home->window()->windowTitle());
        setWindowIcon(home->window()->windowIcon());
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_view);
        auto *leave = new QAction(this);
        leave->setShortcut(Qt::Key_Escape);
        connect(leave, &QAction::triggered, this, [page] { page->triggerAction(QWebEnginePage::ExitFullScreen); });
        addAction(leave);
        m_view->setPage(page);
        // Where no window manager makes a full-screen window fill its screen,
        // the window does so itself.
        if (const QScreen *screen = home->screen())
            setGeometry(screen->geometry());
        showFullScreen();
        m_view->setFocus();
    }
    ~FullScreenWindow() override
    {
        if (m_home && m_page)
            m_home->setPage(m_page);
    }

private:
    QPointer<QWebEngineView> m_home;
    QWebEngineView *m_view;
    QPointer<QWebEnginePage> m_page;
};
}

EngineView::EngineView(QWidget *parent)
    : WebView(parent), m_view(new QWebEngineView(this)), m_page(new WebPage(m_view)),
      m_stack(new QStackedLayout(this)), m_notice(new QLabel(this))
{
    m_view->setPage(m_page);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    m_notice->setAutoFillBackground(true);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_view);
    m_stack->addWidget(m_notice);
    setFocusProxy(m_view);

    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        clearNotice();
        emit BusyChanged(m_busy = true);
    });
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int progress) { emit ProgressChange(progress, 100); });
    // The end of a download is reported as progress -1, whatever the outcome.
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        emit ProgressChange(-1, 100);
        emit BusyChanged(m_busy = false);
    });
    connect(m_page, &QWebEnginePage::urlChanged, this,
            [this](const QUrl &url) { emit NavigateComplete2(url.toString()); });
    connect(m_page, &QWebEnginePage::titleChanged, this, &EngineView::TitleChange);
    // The engine cannot print a page whose renderer has gone (it crashes on
    // Qt 6.4), so keep track until a new one takes over.
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                m_rendererGone = true;
                // The engine shows nothing at all in place of a dead page.
                if (status != QWebEnginePage::NormalTerminationStatus)
                    showNotice(pagedialogs::rendererGoneNotice());
            });
    connect(m_page, &QWebEnginePage::renderProcessPidChanged, this, [this](qint64 pid) {
        if (pid != 0)
            m_rendererGone = false;
    });
    connect(m_page, &WebPage::certificateRefused, this,
            [this](const QUrl &url) { showNotice(pagedialogs::certificateNotice(url)); });
    connect(m_page, &QWebEnginePage::fullScreenRequested, this, [this](QWebEngineFullScreenRequest request) {
        if (request.toggleOn() == bool(m_fullScreen)) {
            request.reject();
            return;
        }
        request.accept();
        if (request.toggleOn())
            m_fullScreen = new FullScreenWindow(m_view, m_page);
        else
            delete m_fullScreen.data();
    });
    // The engine's menu, less what this program has no use for.
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ignoreErrors([&] { showContextMenu(pos); }); });
}

EngineView::~EngineView()
{
    delete m_fullScreen.data();
}

QWebEnginePage *EngineView::page() const
{
    return m_page;
}

bool EngineView::isNavigable(const QUrl &url)
{
    static const QStringList schemes{"http", "https", "file"};
    return url.isValid() && schemes.contains(url.scheme().toLower());
}

double EngineView::zoomFactorAfter(double current, int step)
{
    static constexpr double levels[] = {0.25, 0.33, 0.5, 0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                        1.25, 1.5,  1.75, 2.0, 2.5,  3.0, 4.0, 5.0};
    constexpr double near = 0.001;
    if (step > 0) {
        for (double level : levels) {
            if (level > current + near)
                return level;
        }
        return levels[std::size(levels) - 1];
    }
    if (step < 0) {
        for (auto level = std::rbegin(levels); level != std::rend(levels); ++level) {
            if (*level < current - near)
                return *level;
        }
        return levels[0];
    }
    return 1.0;
}

void EngineView::Navigate(const QString &url)
{
    // Script and the engine's own pages have no business in a bookmark or a
    // home page: they would run inside whatever site is open.
    const QUrl address = QUrl::fromUserInput(url);
    if (!isNavigable(address))
        throw WebViewError(tr("Only web pages and files can be opened, not \"%1\".").arg(url));
    m_page->load(address);
}

void EngineView::GoBack()
{
    if (!m_page->history()->canGoBack())
        throw WebViewError(tr("There is no earlier page in the history."));
    m_page->triggerAction(QWebEnginePage::Back);
}

void EngineView::GoForward()
{
    if (!m_page->history()->canGoForward())
        throw WebViewError(tr("There is no later page in the history."));
    m_page->triggerAction(QWebEnginePage::Forward);
}

void EngineView::Refresh()
{
    m_page->triggerAction(QWebEnginePage::Reload);
}

void EngineView::Zoom(int step)
{
    m_page->setZoomFactor(zoomFactorAfter(m_page->zoomFactor(), step));
}

bool EngineView::Busy() const
{
    return m_busy;
}

QString EngineView::notice() const
{
    return m_stack->currentWidget() == m_notice ? m_notice->text() : QString();
}

void EngineView::showNotice(const QString &text)
{
    m_notice->setText(text);
    m_stack->setCurrentWidget(m_notice);
}

void EngineView::clearNotice()
{
    m_stack->setCurrentWidget(m_view);
}

void EngineView::showContextMenu(const QPoint &pos)
{
    QMenu *menu = m_view->createStandardContextMenu();
    // There are no developer tools to inspect with.
    menu->removeAction(m_page->action(QWebEnginePage::InspectElement));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_view->mapToGlobal(pos));
}

void EngineView::Stop()
{
    // Stopping while the engine gathers the page for a printer brings the
    // engine down (Qt 6.4): wait until the print is done.
    if (m_rendering)
        throw WebViewError(tr("The page is being printed and cannot be stopped now."));
    m_page->triggerAction(QWebEnginePage::Stop);
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
        throw WebViewError(tr("Command %1 with option %2 is not supported.")
                               .arg(cmdId)
                               .arg(execOpt));
    // One print command at a time: they share the printer, and the engine
    // prints one page on one printer at a time.
    if (m_printing)
        throw WebViewError(tr("Another print command of this page is still running."));
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
        throw WebViewError(tr("The page was closed before it was printed."));
    if (!printed) {
        const QString destination =
            m_printer->outputFileName().isEmpty() ? m_printer->printerName() : m_printer->outputFileName();
        throw WebViewError(tr("The page could not be printed to %1.").arg(destination));
    }
}

bool EngineView::renderPages(QPrinter *target)
{
    // The engine would ignore a second print and never report on it.
    if (m_rendering || m_rendererGone || m_fullScreen)
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
    return m_page->url().toString();
}

QString EngineView::LocationName() const
{
    return m_page->title();
}
