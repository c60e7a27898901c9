#include "engineview.h"

#include "engineprinting.h"
#include "errorpolicy.h"
#include "findbar.h"
#include "fullscreenwindow.h"
#include "notebar.h"
#include "pagedialogs.h"
#include "pdffile.h"
#include "pdfpageview.h"
#include "pdfpane.h"
#include "pdfviewer.h"
#include "schemes.h"
#include "session.h"
#include "siteaddress.h"
#include "sitestrip.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
// The engine's view, made once the engine has started (the session's profile
// is made first).
QWebEngineView *viewOfStartedEngine(Session &session, QWidget *parent)
{
    session.profile();
    return new QWebEngineView(parent);
}
} // namespace

EngineView::EngineView(Session &session, QWidget *parent, WebPage::WindowMaker makeWindow)
    : WebView(parent), m_session(session), m_view(viewOfStartedEngine(session, this)),
      m_page(new WebPage(session, std::move(makeWindow), m_view)), m_stack(new QStackedLayout),
      m_notice(new QLabel(this)), m_note(new NoteBar(this)), m_findBar(new FindBar(m_page, this)),
      m_printing(new EnginePrinting(m_view, m_page, session, [this] { return bool(m_fullScreen); }, this)),
      m_pdfViewer(new PdfViewer(pdfCommands(), this))
{
    m_view->setPage(m_page);
    m_printing->setViewer(m_pdfViewer);
    createLayout();
    followLoads();
    answerPage();
    followSite();
    watchUser();
    showPdfs();
}

EngineView::~EngineView()
{
    // This view and its page are going: the page must not be handed back to
    // a view whose window is being taken apart.
    if (m_fullScreen) {
        m_fullScreen->forgetHome();
        delete m_fullScreen.data();
    }
    m_printing->keepPageForAnswer();
}

void EngineView::createLayout()
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_strip = new SiteStrip(this);
    // First of the view's children, as a screen reader reads them.
    m_strip->lower();
    column->addWidget(m_strip);
    column->addWidget(m_note);
    column->addLayout(m_stack);
    column->addWidget(m_findBar);
    connect(m_findBar, &FindBar::closed, this, [this] { setFocus(Qt::OtherFocusReason); });
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    m_notice->setAutoFillBackground(true);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_view);
    m_stack->addWidget(m_notice);
    m_stack->addWidget(m_pdfViewer);
    setFocusProxy(m_view);
}

void EngineView::followLoads()
{
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        // A PDF file shown gives way to wherever the page goes now.
        closePdf();
        clearNotice();
        emit BusyChanged(m_busy = true);
    });
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int progress) { emit ProgressChange(progress, 100); });
    // The end of a page load is reported as progress -1, whatever the outcome.
    connect(m_page, &QWebEnginePage::loadFinished, this, [this] {
        reportHistory();
        emit ProgressChange(-1, 100);
        emit BusyChanged(m_busy = false);
    });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        reportHistory();
        emit NavigateComplete2(url.toString());
    });
    connect(m_page, &WebPage::zoomApplied, this, &WebView::ZoomChange);
    connect(m_page, &QWebEnginePage::titleChanged, this, &EngineView::TitleChange);
}

void EngineView::answerPage()
{
    // A note stays while the page does what it likes, until the user goes
    // somewhere or closes it.
    connect(m_page, &WebPage::userNavigated, m_note, &QWidget::hide);
    connect(m_page, &WebPage::windowBlocked, this, [this](const QUrl &site, const QUrl &url) {
        // The user may still want it: one click opens it, as the user's own.
        m_note->showNote(tr("A window that %1 tried to open was blocked: windows open only when you click.")
                             .arg(pagedialogs::siteName(site)),
                         url.isEmpty() || url.scheme() == QLatin1String("about") ? QString() : tr("&Open It"),
                         [page = QPointer<WebPage>(m_page), url] {
                             if (page)
                                 page->openWindow(url);
                         });
    });
    connect(&m_page->questions(), &PageQuestions::silenced, this, [this](const QUrl &site, PageRequest request) {
        m_note->showNote(tr("Velmora no longer asks you about %1 from %2: it refuses them.")
                             .arg(pagerules::kindName(request), pagedialogs::siteName(site)),
                         tr("&Ask Again"), [answers = &m_session.answers(), site, request] {
                             answers->askAgain(site, request);
                         });
    });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                // The engine shows nothing at all in place of a dead page.
                if (status != QWebEnginePage::NormalTerminationStatus)
                    showNotice(pagedialogs::rendererGoneNotice());
            });
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
        enterOrLeaveFullScreen(request.toggleOn());
    });
}

QList<QAction *> EngineView::pdfCommands()
{
    // The viewer's Print and Save are the page's own, and say why they fail.
    const auto command = [this](const QString &text, PageCommand which) {
        auto *action = new QAction(text, this);
        connect(action, &QAction::triggered, this, [this, which] {
            try {
                Exec(which);
            } catch (const ExpectedFailure &e) {
                tellUser(window(), QString::fromUtf8(e.what()));
            } catch (...) {
                logUnexpectedFailure();
            }
        });
        return action;
    };
    return {command(tr("&Print..."), PageCommand::Print), command(tr("&Save..."), PageCommand::SavePage)};
}

void EngineView::showPdfs()
{
    // The page went to a PDF file: the viewer takes it, in the page's place,
    // before the signal returns.
    connect(
        m_page, &WebPage::pdfArrived, this,
        [this](QWebEngineDownloadRequest *request) {
            m_findBar->searchPdf(nullptr, nullptr);
            m_findBar->hide();
            m_pdfViewer->take(request);
            showInPlace(m_pdfViewer, m_pdfViewer, isAncestorOf(QApplication::focusWidget()),
                        m_pdfViewer->url().toString(), m_pdfViewer->name());
            emit BusyChanged(Busy());
        },
        Qt::DirectConnection);
    connect(m_pdfViewer, &PdfViewer::progressed, this, [this](qint64 received, qint64 total) {
        if (total > 0)
            emit ProgressChange(int(received * 100 / total), 100);
    });
    connect(m_pdfViewer, &PdfViewer::loaded, this, [this] {
        emit ProgressChange(-1, 100);
        emit BusyChanged(Busy());
    });
}

void EngineView::showInPlace(QWidget *shown, QWidget *keys, bool focused, const QString &url, const QString &title)
{
    m_stack->setCurrentWidget(shown);
    // The keyboard goes where the user looks.
    setFocusProxy(keys);
    if (focused)
        keys->setFocus(Qt::OtherFocusReason);
    emit NavigateComplete2(url);
    emit TitleChange(title);
    showSite();
    reportHistory();
}

void EngineView::closePdf()
{
    if (!m_pdfViewer->isOpen())
        return;
    const bool loading = m_pdfViewer->isLoading();
    if (m_findBar->searchesPdf()) {
        m_findBar->searchPdf(nullptr, nullptr);
        m_findBar->hide();
    }
    const bool focused = m_pdfViewer->isAncestorOf(QApplication::focusWidget());
    m_pdfViewer->close();
    // The page under it, or what was said in its place.
    showInPlace(m_notice->text().isEmpty() ? static_cast<QWidget *>(m_view) : m_notice, m_view, focused,
                m_page->url().toString(), m_page->title());
    if (loading) {
        emit ProgressChange(-1, 100);
        emit BusyChanged(Busy());
    }
}

void EngineView::followSite()
{
    m_linkTarget = new LinkTarget(m_view, this);
    connect(m_page, &QWebEnginePage::linkHovered, m_linkTarget, &LinkTarget::showLink);
    connect(m_page, &QWebEnginePage::loadStarted, m_linkTarget, [this] { m_linkTarget->showLink(QString()); });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this] { showSite(); });
    // The page refuses the certificate first; the strip says so.
    connect(m_page, &QWebEnginePage::certificateError, this, [this](const QWebEngineCertificateError &error) {
        m_refusedUrl = error.url();
        m_refusedChain = error.certificateChain();
        showSite();
    });
    connect(m_strip, &SiteStrip::homeRequested, this, [this] {
        ignoreErrors([this] { Navigate(m_session.homePage()); });
        m_view->setFocus(Qt::OtherFocusReason);
    });
}

void EngineView::showSite()
{
    // A page with no address of its own shows what its opener writes into it.
    const QUrl url = m_pdfViewer->isOpen() ? m_pdfViewer->url() : m_page->url();
    const QUrl shown = url.isEmpty() || url.scheme() == QLatin1String("about") ? m_page->openerUrl() : url;
    const auto site =
        siteaddress::siteToShow(shown, QUrl::fromUserInput(m_session.homePage()), m_session.answers());
    if (!site) {
        m_strip->hide();
        return;
    }
    const bool refused = !m_refusedUrl.isEmpty()
        && m_refusedUrl.adjusted(QUrl::RemoveFragment) == shown.adjusted(QUrl::RemoveFragment);
    m_strip->showSite(shown, *site, refused ? std::optional(m_refusedChain) : std::nullopt);
}

void EngineView::enterOrLeaveFullScreen(bool enter)
{
    if (enter) {
        m_fullScreen = new FullScreenWindow(m_view, m_page, this);
    } else {
        m_fullScreenLocked = true;
        delete m_fullScreen.data();
    }
}

void EngineView::watchUser()
{
    // The user's own clicks and keys in the page, as they arrive at the view.
    m_view->installEventFilter(this);
    for (QWidget *child : m_view->findChildren<QWidget *>())
        child->installEventFilter(this);
    // The engine's menu, less what this program has no use for.
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ignoreErrors([&] { showContextMenu(pos); }); });
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
        m_page->questions().userActed();
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
            m_fullScreenLocked = false;
        m_page->questions().userActed();
        break;
    default:
        break;
    }
    return WebView::eventFilter(watched, event);
}

void EngineView::reportHistory()
{
    // A PDF file shown has the page under it to go back to.
    const QWebEngineHistory *history = m_page->history();
    if (const bool back = history->canGoBack() || (m_pdfViewer->isOpen() && !m_page->url().isEmpty());
        back != m_canGoBack)
        emit CommandStateChange(PageCommand::Back, m_canGoBack = back);
    if (const bool forward = history->canGoForward(); forward != m_canGoForward)
        emit CommandStateChange(PageCommand::Forward, m_canGoForward = forward);
}

QString EngineView::note() const
{
    return m_note->text();
}

QWidget *EngineView::fullScreenWindow() const
{
    return m_fullScreen;
}

QPrinter *EngineView::printer()
{
    return m_printing->printer();
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
    if (m_pdfViewer->isOpen() && !m_page->url().isEmpty()) {
        closePdf();
        return;
    }
    if (!m_page->history()->canGoBack())
        throw WebViewError(tr("There is no earlier page in the history."));
    m_page->userChose(QUrl());
    m_page->triggerAction(QWebEnginePage::Back);
}

void EngineView::GoForward()
{
    if (!m_page->history()->canGoForward())
        throw WebViewError(tr("There is no later page in the history."));
    m_page->userChose(QUrl());
    m_page->triggerAction(QWebEnginePage::Forward);
}

void EngineView::Refresh()
{
    // A PDF file comes again from its server, the page goes under it again.
    if (m_pdfViewer->isOpen()) {
        const QUrl pdf = m_pdfViewer->url();
        m_page->userChose(pdf);
        m_page->load(pdf);
        return;
    }
    m_page->userChose(QUrl());
    m_page->triggerAction(QWebEnginePage::Reload);
}

void EngineView::Stop()
{
    // Stopping while the engine gathers the page for a printer brings the
    // engine down (Qt 6.4): wait until the print is done.
    if (m_printing->rendering())
        throw WebViewError(tr("The page is being printed and cannot be stopped now."));
    // A PDF file on its way is not shown in part: the page under it is.
    if (m_pdfViewer->isLoading())
        closePdf();
    m_page->triggerAction(QWebEnginePage::Stop);
}

void EngineView::Exec(PageCommand command)
{
    switch (command) {
    case PageCommand::Back:
        return GoBack();
    case PageCommand::Forward:
        return GoForward();
    case PageCommand::Stop:
        return Stop();
    case PageCommand::Refresh:
        return Refresh();
    case PageCommand::SavePage:
        if (m_pdfViewer->isOpen())
            return savePdf();
        if (m_page->url().isEmpty())
            throw WebViewError(tr("There is no page to save."));
        // As the context menu's Save page: asks where through the save
        // dialog and shows in the downloads. The user asked for it: it is
        // no download the page started by itself.
        m_page->userChose(m_page->url());
        return m_page->triggerAction(QWebEnginePage::SavePage);
    case PageCommand::PageSetup:
    case PageCommand::PrintPreview:
    case PageCommand::Print:
        return m_printing->exec(command);
    case PageCommand::Find:
        return find();
    case PageCommand::ZoomIn:
        return zoom(+1);
    case PageCommand::ZoomOut:
        return zoom(-1);
    case PageCommand::ZoomReset:
        return zoom(0);
    case PageCommand::Home:
    case PageCommand::Close:
        break;
    }
    throw WebViewError(tr("This command is not one of the page's."));
}

void EngineView::savePdf()
{
    // The bytes shown, through the save dialog and the downloads, under the
    // name the server gave the file.
    const std::shared_ptr<PdfFile> shown = m_pdfViewer->file();
    if (!shown)
        throw WebViewError(tr("There is no PDF file to save: %1")
                               .arg(m_pdfViewer->isLoading() ? tr("it has not arrived yet.") : m_pdfViewer->problem()));
    const QUrl copy = QUrl::fromLocalFile(shown->path());
    m_page->userChose(copy);
    m_page->QWebEnginePage::download(copy, shown->name());
}

void EngineView::zoom(int step)
{
    // A PDF file shown zooms in its viewer; a page at its site's zoom.
    if (m_pdfViewer->file()) {
        PdfPageView *pages = m_pdfViewer->pane()->pages();
        if (step == 0)
            pages->setFit(PdfPageView::Fit::Width);
        else
            pages->setZoom(pages->zoom() * (step > 0 ? 1.25 : 0.8));
        return;
    }
    m_session.zoom().step(m_page->url(), step);
}

void EngineView::find()
{
    if (m_pdfViewer->isOpen()) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        if (const std::shared_ptr<PdfFile> shown = m_pdfViewer->file()) {
            m_findBar->searchPdf(&shown->document(), m_pdfViewer->pane()->pages());
            m_findBar->open();
            return;
        }
#endif
        // Qt PDF finds text in a document from Qt 6.6 on.
        throw WebViewError(tr("Text cannot be found in this PDF file."));
    }
    m_findBar->searchPdf(nullptr, nullptr);
    m_findBar->open();
}

bool EngineView::Busy() const
{
    return m_busy || m_pdfViewer->isLoading();
}

QString EngineView::notice() const
{
    return m_stack->currentWidget() == m_notice ? m_notice->text() : QString();
}

void EngineView::showNotice(const QString &text)
{
    // Said in the page's place; a PDF file shown stays until it is left.
    m_notice->setText(text);
    if (!m_pdfViewer->isOpen())
        m_stack->setCurrentWidget(m_notice);
}

void EngineView::clearNotice()
{
    m_notice->clear();
    if (!m_pdfViewer->isOpen())
        m_stack->setCurrentWidget(m_view);
}

void EngineView::showContextMenu(const QPoint &pos)
{
    QMenu *menu = m_view->createStandardContextMenu();
    // There are no developer tools to inspect with, and no tabs: a link the
    // user opens apart goes to a window of its own.
    menu->removeAction(m_page->action(QWebEnginePage::InspectElement));
    menu->removeAction(m_page->action(QWebEnginePage::OpenLinkInNewTab));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_view->mapToGlobal(pos));
}

QString EngineView::LocationURL() const
{
    return m_pdfViewer->isOpen() ? m_pdfViewer->url().toString() : m_page->url().toString();
}

QString EngineView::LocationName() const
{
    return m_pdfViewer->isOpen() ? m_pdfViewer->name() : m_page->title();
}
