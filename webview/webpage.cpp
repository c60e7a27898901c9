#include "webpage.h"

#include "engineview.h"
#include "errorpolicy.h"
#include "pagedialogs.h"
#include "pagewindow.h"
#include "schemes.h"
#include "session.h"
#include "startpage.h"

#include <QAuthenticator>
#include <QDateTime>
#include <QDesktopServices>
#include <QPointer>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
#include <QAbstractListModel>
#include <QWebEngineDesktopMediaRequest>
#include <QWebEngineWebAuthUxRequest>
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif

namespace {
// How long a click or key of the user's counts for what the page does next.
constexpr qint64 UserActionMs = 10000;
} // namespace

WebPage::WebPage(Session &session, QObject *parent) : QWebEnginePage(session.profile(), parent), m_session(session)
{
    if (!profile()->urlSchemeHandler(schemes::Own))
        profile()->installUrlSchemeHandler(schemes::Own, new StartPageScheme(profile()));
    // Every window a page asks for comes to the program, which opens only
    // those the user's click or key asked for and says so of the others. The
    // engine's own blocker would drop them unseen.
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest &request) { ignoreErrors([&] { openWindow(request); }); });
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *authenticator) { signIn(url, authenticator); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *authenticator, const QString &proxyHost) {
                signIn(QUrl(QStringLiteral("http://") + proxyHost), authenticator);
            });
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    connect(this, &QWebEnginePage::permissionRequested, this, [this](QWebEnginePermission permission) {
        // The page always gets an answer: an unknown kind is refused.
        QPointer<WebPage> self(this);
        const std::optional<PageRequest> request = pagerules::fromPermission(permission.permissionType());
        bool allowed = false;
        ignoreErrors([&] { allowed = request && permitted(permission.origin(), *request); });
        if (!self)
            return;
        if (allowed)
            permission.grant();
        else
            permission.deny();
    });
#else
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
        QPointer<WebPage> self(this);
        const std::optional<PageRequest> request = pagerules::fromFeature(feature);
        bool allowed = false;
        ignoreErrors([&] { allowed = request && permitted(origin, *request); });
        if (self)
            setFeaturePermission(origin, feature, allowed ? PermissionGrantedByUser : PermissionDeniedByUser);
    });
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    connect(this, &QWebEnginePage::desktopMediaRequested, this,
            [this](const QWebEngineDesktopMediaRequest &request) { shareScreen(request); });
    connect(this, &QWebEnginePage::webAuthUxRequested, this,
            [this](QWebEngineWebAuthUxRequest *request) { refusePasskey(request); });
#endif
    connect(this, &QWebEnginePage::certificateError, this, [this](const QWebEngineCertificateError &error) {
        // Never let a page through on a certificate that is not trusted; say
        // so in place of the page only when it is the page itself, not a
        // frame or a picture inside it.
        QWebEngineCertificateError refused = error;
        refused.rejectCertificate();
        if (error.url().adjusted(QUrl::RemoveFragment) == m_mainFrameUrl.adjusted(QUrl::RemoveFragment))
            emit certificateRefused(error.url());
    });
    // The engine does not show PDF files itself: one the page goes to comes
    // as a download, which the program shows.
    settings()->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    // The profile's downloads: this page judges those it started, and hands
    // on the PDF file it went to.
    connect(profile(), &QWebEngineProfile::downloadRequested, this, [this](QWebEngineDownloadRequest *request) {
        if (request->page() != this)
            return;
        if (request->mimeType() == QLatin1String("application/pdf") && request->url() == m_acceptedUrl
            && !request->isSavePageDownload())
            emit pdfArrived(request);
        else
            download(request);
    });
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_triedRealms.clear();
    });
}

void WebPage::userActed()
{
    m_userActedAt = QDateTime::currentMSecsSinceEpoch();
    m_gestureUsed = false;
}

void WebPage::userChose(const QUrl &url)
{
    m_chosenUrl = url;
}

bool WebPage::userActedRecently() const
{
    return m_userActedAt >= 0 && QDateTime::currentMSecsSinceEpoch() - m_userActedAt < UserActionMs;
}

QWidget *WebPage::dialogParent() const
{
    QWebEngineView *view = QWebEngineView::forPage(this);
    return view ? view->window() : nullptr;
}

template <typename Question>
bool WebPage::ask(const QUrl &site, PageRequest request, Question question)
{
    if (m_asking || !m_session.answers().mayAsk(site, request))
        return false;
    QPointer<WebPage> self(this);
    m_asking = true;
    bool yes = false;
    ignoreErrors([&] { yes = question(); });
    if (!self)
        return false;
    m_asking = false;
    if (!yes)
        m_session.answers().refused(site, request);
    emit questionAnswered();
    return yes;
}

void WebPage::openWindow(QWebEngineNewWindowRequest &request)
{
    // The engine tells whether the user's own click or key asked for the
    // window (a link to a new window, one opened with Ctrl, window.open in
    // answer to a click); the page's script can neither see nor change this.
    if (!request.isUserInitiated()) {
        emit windowBlocked(url());
        return;
    }
    // Every kind of new window or tab opens in a window of the program's own,
    // which keeps its tie to this page (window.opener, window.close()).
    // It belongs to the program's first window, not to its opener: closing the
    // opener leaves it open, closing the program closes it.
    QWidget *owner = dialogParent();
    while (owner && owner->parentWidget())
        owner = owner->parentWidget()->window();
    auto *window = new PageWindow(m_session, owner);
    auto *page = static_cast<WebPage *>(window->view()->page());
    page->m_openerUrl = url();
    // The size and place window.open asked for: a window with an opener
    // asks again through its page, one without (noopener) only here.
    if (const QRect asked = request.requestedGeometry(); !asked.isEmpty())
        window->place(asked);
    window->show();
    request.openIn(page);
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (isMainFrame) {
        m_mainFrameUrl = url;
        // The user went somewhere: sign-in may be asked again.
        if (type == NavigationTypeTyped || type == NavigationTypeLinkClicked || type == NavigationTypeBackForward)
            m_cancelledRealms.clear();
    }
    // The program's own resources are no page's business; its start page
    // opens only as the user's own choice.
    if (schemes::isProgramScheme(url.scheme())
        && !(schemes::isNavigable(url)
             && (type == NavigationTypeTyped || type == NavigationTypeReload || type == NavigationTypeBackForward)))
        return false;
    if (schemes::isEngineScheme(url.scheme())) {
        const bool accepted = QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
        // The page a site opens is laid out at the site's zoom from its first
        // frame: the engine takes the zoom it is given now to the frame it
        // makes for the page.
        if (accepted && isMainFrame) {
            m_acceptedUrl = url;
            setZoomFactor(m_session.zoom().factorFor(url));
        }
        return accepted;
    }
    // Another program's link: only a click of the user's own, and only after
    // the user has seen where it goes and said Yes.
    if (type == NavigationTypeLinkClicked && userActedRecently()) {
        m_userActedAt = -1;
        if (ask(this->url(), PageRequest::OtherProgram,
                [&] { return pagedialogs::askYesNo(dialogParent(), pagedialogs::externalLinkQuestion(url)); }))
            QDesktopServices::openUrl(url);
    }
    return false;
}

void WebPage::signIn(const QUrl &url, QAuthenticator *authenticator)
{
    // The engine waits for the answer: without one it would send the same
    // request again and again. A null authenticator shows the server's own
    // answer to a refusal. Cancels count for the site whatever the realm: a
    // page that names a new realm each time is asked no more often.
    const QString realm = SiteAnswers::siteOf(url) + QLatin1Char(' ') + authenticator->realm();
    std::optional<pagedialogs::Credentials> given;
    if (!m_cancelledRealms.contains(realm)) {
        const bool refusedBefore = m_triedRealms.contains(realm);
        const bool answered = ask(url, PageRequest::SignIn, [&] {
            given = pagedialogs::askCredentials(dialogParent(), url, authenticator->realm(), refusedBefore,
                                                m_triedRealms.value(realm));
            return given.has_value();
        });
        if (!answered && !given && !m_asking)
            m_cancelledRealms.insert(realm);
    }
    if (given) {
        m_triedRealms.insert(realm, given->user);
        authenticator->setUser(given->user);
        authenticator->setPassword(given->password);
    } else {
        *authenticator = QAuthenticator();
    }
}

bool WebPage::permitted(const QUrl &origin, PageRequest request)
{
    // The user's answer holds for the site and the kind until the program ends.
    QPointer<WebPage> self(this);
    if (const std::optional<bool> allowed = m_session.answers().answer(origin, request))
        return *allowed;
    const QString question = pagerules::question(request, pagedialogs::siteName(origin));
    bool asked = false;
    const bool yes = !question.isEmpty() && ask(origin, request, [&] {
        asked = true;
        return pagedialogs::askYesNo(dialogParent(), question);
    });
    if (asked && self)
        m_session.answers().remember(origin, request, yes);
    return yes;
}

WebPage::~WebPage() = default;

void WebPage::download(QWebEngineDownloadRequest *request)
{
    // A download the user started with a click (or by choosing its address)
    // asks where it goes. One the page starts by itself asks once per site;
    // after that the site's downloads are refused unasked.
    const QUrl site = url().isEmpty() ? request->url() : url();
    const bool byUser = (userActedRecently() && !m_gestureUsed) || request->url() == m_chosenUrl;
    m_gestureUsed = true;
    m_chosenUrl.clear();
    if (!byUser) {
        if (m_session.answers().answer(site, PageRequest::AutomaticDownload)) {
            request->cancel();
            return;
        }
        m_session.answers().remember(site, PageRequest::AutomaticDownload, false);
    }
    QPointer<QWebEngineDownloadRequest> guard(request);
    const bool chosen = ask(site, PageRequest::Download,
                            [&] { return m_session.downloads().ask(request, dialogParent()) != nullptr; });
    if (!chosen && guard && guard->state() == QWebEngineDownloadRequest::DownloadRequested)
        request->cancel();
}

bool WebPage::scriptDialog(const std::function<bool(bool offerStop, bool *stop)> &show)
{
    if (m_scriptDialogsStopped)
        return false;
    const bool offerStop = ++m_scriptDialogs > 1;
    bool stop = false;
    bool result = false;
    if (m_asking)
        return false;
    QPointer<WebPage> self(this);
    m_asking = true;
    ignoreErrors([&] { result = show(offerStop, &stop); });
    if (!self)
        return false;
    m_asking = false;
    m_scriptDialogsStopped = stop;
    emit questionAnswered();
    return result;
}

void WebPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    scriptDialog([&](bool offerStop, bool *stop) {
        return pagedialogs::showPageMessage(dialogParent(), securityOrigin, msg, offerStop, stop);
    });
}

bool WebPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    return scriptDialog([&](bool offerStop, bool *stop) {
        return pagedialogs::askPageQuestion(dialogParent(), securityOrigin, msg, offerStop, stop);
    });
}

bool WebPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                               QString *result)
{
    return scriptDialog([&](bool offerStop, bool *stop) {
        const std::optional<QString> given =
            pagedialogs::askPageText(dialogParent(), securityOrigin, msg, defaultValue, offerStop, stop);
        if (given)
            *result = *given;
        return given.has_value();
    });
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
void WebPage::shareScreen(const QWebEngineDesktopMediaRequest &request)
{
    // Sharing is asked as a camera is: the user's Yes shares the first
    // screen, anything else cancels. Should the engine ask for the
    // permission as well, it gets the same answer unasked.
    QPointer<WebPage> self(this);
    bool yes = false;
    ignoreErrors([&] { yes = permitted(url(), PageRequest::Screen); });
    QAbstractListModel *screens = request.screensModel();
    if (!self || !yes || !screens || screens->rowCount() == 0) {
        request.cancel();
        return;
    }
    request.selectScreen(screens->index(0));
}

void WebPage::refusePasskey(QWebEngineWebAuthUxRequest *request)
{
    // The program has no dialogs for passkeys or security keys yet: the
    // page's request is cancelled at once, and the user is told why the
    // site's sign-in did not go on, a few times per site at most.
    QPointer<QWebEngineWebAuthUxRequest> pending(request);
    QMetaObject::invokeMethod(
        this,
        [pending] {
            if (pending)
                pending->cancel();
        },
        Qt::QueuedConnection);
    ask(url(), PageRequest::Passkey, [&] {
        tellUser(dialogParent(), pagedialogs::passkeyNotice(url()));
        return false;
    });
}
#endif

