#include "engineview.h"

#include "errorpolicy.h"
#include "findbar.h"
#include "pagedialogs.h"
#include "schemes.h"
#include "session.h"
#include "webpage.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
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
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineScript>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

namespace {
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

// Waits for the engine's report on a print it was asked for: timers and
// repaints go on meanwhile, the user's input waits. Ends early, as a
// failure, if `view` goes.
class PrintWait
{
public:
    explicit PrintWait(QObject *view) { QObject::connect(view, &QObject::destroyed, &m_loop, &QEventLoop::quit); }
    // What the engine's report connects to.
    QObject *context() { return &m_loop; }
    void finished(bool ok)
    {
        m_finished = true;
        m_ok = ok;
        m_loop.quit();
    }
    // Whether the print succeeded, once the engine has said.
    bool result()
    {
        if (!m_finished)
            m_loop.exec(QEventLoop::ExcludeUserInputEvents);
        return m_ok;
    }

private:
    QEventLoop m_loop;
    bool m_finished = false;
    bool m_ok = false;
};

// Fills `label` with `background` and writes it in `text`.
void colour(QLabel *label, const QColor &background, const QColor &text)
{
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

// How long the notice naming the full-screen site stays.
constexpr int FullScreenNoticeMs = 4000;
// How long a note above the page stays.
constexpr int NoteMs = 8000;

// The page on the whole screen, until the page or Esc leaves full screen,
// with a notice for a few seconds that names the site and how to leave. The
// page goes back to its own view when this window goes, if that view is
// not going itself.
class FullScreenWindow : public QWidget
{
public:
    FullScreenWindow(QWebEngineView *home, QWebEnginePage *page, QWidget *owner)
        : QWidget(owner, Qt::Window), m_home(home), m_view(new QWebEngineView(this)), m_page(page),
          m_notice(new QLabel(this))
    {
        setObjectName(QStringLiteral("fullScreenWindow"));
        setWindowTitle(home->window()->windowTitle());
        setWindowIcon(home->window()->windowIcon());
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_view);
        auto *leave = new QAction(this);
        leave->setShortcut(Qt::Key_Escape);
        connect(leave, &QAction::triggered, this, [this] { leaveFullScreen(); });
        addAction(leave);
        // A focused widget that is moved or hidden hands the focus on as if
        // Tab had been pressed, and the page would get a Tab key the user
        // never pressed: the focus is taken away first.
        if (QWidget *focused = home->focusProxy() ? home->focusProxy() : home; focused->hasFocus())
            focused->clearFocus();
        m_view->setPage(page);

        m_notice->setObjectName(QStringLiteral("fullScreenNotice"));
        m_notice->setTextFormat(Qt::PlainText);
        m_notice->setText(EngineView::tr("%1 is full screen. Press Esc to leave full screen.")
                              .arg(pagedialogs::siteName(page->url())));
        m_notice->setAlignment(Qt::AlignCenter);
        m_notice->setMargin(12);
        colour(m_notice, QColor(32, 32, 32), Qt::white);
        QTimer::singleShot(FullScreenNoticeMs, m_notice, &QWidget::hide);

        // Where no window manager makes a full-screen window fill its screen,
        // the window does so itself.
        if (const QScreen *screen = home->screen())
            setGeometry(screen->geometry());
        showFullScreen();
        placeNotice();
        m_view->setFocus(Qt::OtherFocusReason);
    }
    ~FullScreenWindow() override
    {
        if (m_view->hasFocus() || isAncestorOf(QApplication::focusWidget()))
            QApplication::focusWidget()->clearFocus();
        if (m_home && m_page)
            m_home->setPage(m_page);
    }
    // The view the page came from is going: the page goes with it, not back.
    void forgetHome() { m_home = nullptr; }
    QString notice() const { return m_notice->isVisible() ? m_notice->text() : QString(); }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        placeNotice();
    }
    void closeEvent(QCloseEvent *event) override
    {
        // Closed from outside (the program ends): the page leaves full screen.
        leaveFullScreen();
        QWidget::closeEvent(event);
    }

private:
    void placeNotice()
    {
        m_notice->adjustSize();
        m_notice->move((width() - m_notice->width()) / 2, 0);
        m_notice->raise();
    }
    void leaveFullScreen()
    {
        if (m_page)
            m_page->triggerAction(QWebEnginePage::ExitFullScreen);
    }

    QPointer<QWebEngineView> m_home;
    QWebEngineView *m_view;
    QPointer<QWebEnginePage> m_page;
    QLabel *m_notice;
};
}

EngineView::EngineView(Session &session, QWidget *parent)
    : WebView(parent), m_session(session), m_view(new QWebEngineView(this)), m_page(new WebPage(session, m_view)),
      m_stack(new QStackedLayout), m_notice(new QLabel(this)), m_note(new QLabel(this)),
      m_findBar(new FindBar(m_page, this)), m_noteTimer(new QTimer(this))
{
    m_view->setPage(m_page);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);
    m_note->setMargin(4);
    colour(m_note, QColor(255, 248, 196), Qt::black);
    m_note->hide();
    m_noteTimer->setSingleShot(true);
    m_noteTimer->setInterval(NoteMs);
    connect(m_noteTimer, &QTimer::timeout, m_note, &QWidget::hide);
    column->addWidget(m_note);
    column->addLayout(m_stack);
    column->addWidget(m_findBar);
    connect(m_findBar, &FindBar::closed, this, [this] { m_view->setFocus(Qt::OtherFocusReason); });
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
        // A page that starts loading has a renderer again (the engine does
        // not always say so by a new process id when it comes back).
        m_rendererGone = false;
        m_showsPdf = false;
        clearNotice();
        emit BusyChanged(m_busy = true);
    });
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int progress) { emit ProgressChange(progress, 100); });
    // The end of a download is reported as progress -1, whatever the outcome.
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        // The engine sets a page's zoom back as it commits: the site's again.
        applyZoom();
        // The viewer's page is the file in one frame of the engine's own.
        // A page that ends first answers with nothing, from its destructor,
        // while this view is being taken apart: only a real answer is used.
        QPointer<QObject> alive(this);
        m_page->runJavaScript(QStringLiteral("document.body && document.body.childElementCount === 1"
                                             " && !!document.querySelector('body > embed[type=\"application/pdf\"][internalid]')"),
                              QWebEngineScript::ApplicationWorld, [alive, this](const QVariant &pdf) {
                                  if (alive && pdf.isValid())
                                      m_showsPdf = pdf.toBool();
                              });
        emit ProgressChange(-1, 100);
        emit BusyChanged(m_busy = false);
    });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        applyZoom();
        emit NavigateComplete2(url.toString());
    });
    connect(&session.zoom(), &ZoomStore::changed, this, [this] { applyZoom(); });
    connect(m_page, &WebPage::windowBlocked, this, [this](const QUrl &site) {
        showNote(tr("A window that %1 tried to open was blocked: windows open only when you click.")
                     .arg(pagedialogs::siteName(site)));
    });
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
    // window.print(), and the Print button of a PDF viewer that has one (the
    // one of Qt 6.4 has none): the program's own Print, with its dialog.
    connect(m_page, &QWebEnginePage::printRequested, this, [this] { printForPage(); });
    connect(m_page, &WebPage::certificateRefused, this,
            [this](const QUrl &url) { showNotice(pagedialogs::certificateNotice(url)); });
    connect(m_page, &QWebEnginePage::fullScreenRequested, this, [this](QWebEngineFullScreenRequest request) {
        // After leaving, only a new click or key of the user's lets the
        // page back into full screen: not the Esc that left it.
        if (request.toggleOn() == bool(m_fullScreen) || (request.toggleOn() && m_fullScreenLocked)) {
            request.reject();
            return;
        }
        request.accept();
        if (request.toggleOn()) {
            m_fullScreen = new FullScreenWindow(m_view, m_page, this);
        } else {
            m_fullScreenLocked = true;
            delete m_fullScreen.data();
        }
    });
    // The user's own clicks and keys in the page, as they arrive at the view.
    m_view->installEventFilter(this);
    for (QWidget *child : m_view->findChildren<QWidget *>())
        child->installEventFilter(this);
    // The engine's menu, less what this program has no use for.
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ignoreErrors([&] { showContextMenu(pos); }); });
}

EngineView::~EngineView()
{
    // This view and its page are going: the page must not be handed back to
    // a view whose window is being taken apart.
    if (m_fullScreen) {
        static_cast<FullScreenWindow *>(m_fullScreen.data())->forgetHome();
        delete m_fullScreen.data();
    }
}

bool EngineView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The engine makes the widget that takes input when a page is shown.
        if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
            child->installEventFilter(this);
        break;
    case QEvent::MouseButtonPress:
        m_fullScreenLocked = false;
        m_page->userActed();
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
            m_fullScreenLocked = false;
        m_page->userActed();
        break;
    default:
        break;
    }
    return WebView::eventFilter(watched, event);
}

QString EngineView::note() const
{
    return m_note->isVisible() ? m_note->text() : QString();
}

void EngineView::showNote(const QString &text)
{
    m_note->setText(text);
    m_note->show();
    m_noteTimer->start();
}

void EngineView::applyZoom()
{
    m_page->setZoomFactor(m_session.zoom().factorFor(m_page->url()));
}

QWebEnginePage *EngineView::page() const
{
    return m_page;
}

void EngineView::Navigate(const QString &url)
{
    // Script and the engine's own pages have no business in a bookmark or a
    // home page: they would run inside whatever site is open.
    const QUrl address = QUrl::fromUserInput(url);
    if (!schemes::isNavigable(address))
        throw WebViewError(tr("Only web pages and files can be opened, not \"%1\".").arg(url));
    // The user chose this address: what it downloads is the user's doing.
    m_page->userChose(address);
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
    m_session.zoom().setFactorFor(m_page->url(), ZoomStore::stepped(m_page->zoomFactor(), step));
}

void EngineView::Find()
{
    m_findBar->open();
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
    m_note->hide();
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
    std::function<void()> command;
    if (cmdId == PrintCmd && execOpt == PromptUser)
        command = [this] { print(); };
    else if (cmdId == PrintPreviewCmd && execOpt == DoDefault)
        command = [this] { printPreview(); };
    else if (cmdId == PageSetupCmd && execOpt == DoDefault)
        command = [this] { pageSetup(); };
    if (!command)
        throw WebViewError(tr("Command %1 with option %2 is not supported.")
                               .arg(cmdId)
                               .arg(execOpt));
    // One print command at a time: they share the printer, and the engine
    // prints one page on one printer at a time.
    if (m_printing)
        throw WebViewError(tr("Another print command of this page is still running."));
    FlagScope printing(this, m_printing);
    command();
}

void EngineView::printForPage()
{
    // A page asking again while a print of its runs is refused quietly, and
    // so is one whose prints the user has cancelled three times: a page that
    // asks again each time the dialog closes cannot hold the user in it. A
    // print that fails says why, as Print does.
    const QUrl site = m_page->url();
    if (m_printing || !m_session.answers().mayAsk(site, PageRequest::Print))
        return;
    QPointer<EngineView> self(this);
    try {
        FlagScope printing(this, m_printing);
        if (!print() && self)
            m_session.answers().refused(site, PageRequest::Print);
    } catch (const ExpectedFailure &e) {
        tellUser(window(), QString::fromUtf8(e.what()));
    } catch (...) {
        logUnexpectedFailure();
    }
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

QString EngineView::unprintable() const
{
    return m_showsPdf ? tr("A PDF file in the viewer cannot be printed from here: save it, then print it from a "
                           "PDF reader.")
                      : QString();
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
        const QString why = unprintable();
        painter.drawText(painter.viewport(), Qt::AlignCenter | Qt::TextWordWrap,
                         why.isEmpty() ? tr("The page could not be prepared for printing.") : why);
    });
    runDialog(dialog);
}

void EngineView::pageSetup()
{
    runDialog(new QPageSetupDialog(printer(), this));
}

bool EngineView::print()
{
    if (const QString why = unprintable(); !why.isEmpty())
        throw WebViewError(why);
    QPointer<EngineView> self(this);
    if (runDialog(new QPrintDialog(printer(), this)) != QDialog::Accepted || !self)
        return false;
    // A PDF file gets the engine's own PDF, with text and links; a printer
    // gets the pages as the engine draws them.
    const bool toFile = m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty();
    const bool printed = toFile ? printToFile(m_printer->outputFileName()) : renderPages(printer());
    if (!self)
        throw WebViewError(tr("The page was closed before it was printed."));
    if (!printed) {
        const QString destination =
            m_printer->outputFileName().isEmpty() ? m_printer->printerName() : m_printer->outputFileName();
        throw WebViewError(tr("The page could not be printed to %1.").arg(destination));
    }
    return true;
}

bool EngineView::printToFile(const QString &file)
{
    if (m_rendering || m_rendererGone || m_fullScreen || m_showsPdf)
        return false;
    FlagScope rendering(this, m_rendering);
    PrintWait wait(this);
    connect(m_page, &QWebEnginePage::pdfPrintingFinished, wait.context(),
            [&wait](const QString &, bool ok) { wait.finished(ok); });
    m_page->printToPdf(file, m_printer->pageLayout(), m_printer->pageRanges());
    return wait.result() && QFileInfo(file).size() > 0;
}

bool EngineView::renderPages(QPrinter *target)
{
    // The engine would ignore a second print and never report on it.
    if (m_rendering || m_rendererGone || m_fullScreen || m_showsPdf)
        return false;
    FlagScope rendering(this, m_rendering);
    PrintWait wait(this);
    connect(m_view, &QWebEngineView::printFinished, wait.context(), [&wait](bool ok) { wait.finished(ok); });
    m_view->print(target); // the pages arrive asynchronously
    return wait.result();
}

QString EngineView::LocationURL() const
{
    return m_page->url().toString();
}

QString EngineView::LocationName() const
{
    return m_page->title();
}
