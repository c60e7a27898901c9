#include "webpage.h"

#include "engineview.h"
#include "errorpolicy.h"
#include "pagedialogs.h"
#include "pagewindow.h"
#include "schemes.h"
#include "session.h"

#include <QAuthenticator>
#include <QDateTime>
#include <QDesktopServices>
#include <QPointer>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace {
// How long a click or key of the user's counts for what the page does next.
constexpr qint64 UserActionMs = 10000;

// What the page's script says when the engine's blocker kept a window from
// opening; the page's own console message of the same text is as harmless.
const QString BlockedWindowMessage = QStringLiteral("velmora:window-blocked");

// Tells the program when window.open is refused for want of a click.
QWebEngineScript blockedWindowWatch()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("velmora-blocked-window"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(QStringLiteral(
        "(function () { const open = window.open;"
        " window.open = function () { const opened = open.apply(this, arguments);"
        " if (!opened) console.debug('%1'); return opened; }; })();")
                             .arg(BlockedWindowMessage));
    return script;
}

QString kindOf(QWebEnginePage::Feature feature)
{
    return QStringLiteral("permission %1").arg(int(feature));
}
} // namespace

WebPage::WebPage(Session &session, QObject *parent) : QWebEnginePage(session.profile(), parent), m_session(session)
{
    scripts().insert(blockedWindowWatch());
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *authenticator) { signIn(url, authenticator); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *authenticator, const QString &proxyHost) {
                signIn(QUrl(QStringLiteral("http://") + proxyHost), authenticator);
            });
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, Feature feature) { answerPermission(origin, feature); });
    connect(this, &QWebEnginePage::certificateError, this, [this](const QWebEngineCertificateError &error) {
        // Never let a page through on a certificate that is not trusted; say
        // so in place of the page only when it is the page itself, not a
        // frame or a picture inside it.
        QWebEngineCertificateError refused = error;
        refused.rejectCertificate();
        if (error.url().adjusted(QUrl::RemoveFragment) == m_mainFrameUrl.adjusted(QUrl::RemoveFragment))
            emit certificateRefused(error.url());
    });
    // The profile's downloads: this page judges those it started.
    connect(profile(), &QWebEngineProfile::downloadRequested, this, [this](QWebEngineDownloadRequest *request) {
        if (request->page() == this)
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
bool WebPage::ask(const QString &site, const QString &kind, Question question)
{
    if (m_asking || !m_session.answers().mayAsk(site, kind))
        return false;
    QPointer<WebPage> self(this);
    m_asking = true;
    bool yes = false;
    ignoreErrors([&] { yes = question(); });
    if (!self)
        return false;
    m_asking = false;
    if (!yes)
        m_session.answers().refused(site, kind);
    emit questionAnswered();
    return yes;
}

QWebEnginePage *WebPage::createWindow(WebWindowType)
{
    // Every kind of new window or tab opens in a window of the program's own,
    // which keeps its tie to this page (window.opener, window.close()).
    // It belongs to the program's first window, not to its opener: closing the
    // opener leaves it open, closing the program closes it.
    QWidget *owner = dialogParent();
    while (owner && owner->parentWidget())
        owner = owner->parentWidget()->window();
    auto *window = new PageWindow(m_session, owner);
    window->show();
    return window->view()->page();
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (isMainFrame) {
        m_mainFrameUrl = url;
        // The user went somewhere: sign-in may be asked again.
        if (type == NavigationTypeTyped || type == NavigationTypeLinkClicked || type == NavigationTypeBackForward)
            m_cancelledRealms.clear();
    }
    // The program's own resources are no page's business.
    if (schemes::isProgramScheme(url.scheme()))
        return false;
    if (schemes::isEngineScheme(url.scheme()))
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    // Another program's link: only a click of the user's own, and only after
    // the user has seen where it goes and said Yes.
    if (type == NavigationTypeLinkClicked && userActedRecently()) {
        m_userActedAt = -1;
        const QString site = SiteAnswers::siteOf(this->url());
        if (ask(site, QStringLiteral("external"),
                [&] { return pagedialogs::askYesNo(dialogParent(), pagedialogs::externalLinkQuestion(url)); }))
            QDesktopServices::openUrl(url);
    }
    return false;
}

void WebPage::signIn(const QUrl &url, QAuthenticator *authenticator)
{
    // The engine waits for the answer: without one it would send the same
    // request again and again. A null authenticator shows the server's own
    // answer to a refusal.
    const QString site = SiteAnswers::siteOf(url);
    const QString realm = site + QLatin1Char(' ') + authenticator->realm();
    const QString kind = QStringLiteral("sign-in ") + authenticator->realm();
    std::optional<pagedialogs::Credentials> given;
    if (!m_cancelledRealms.contains(realm)) {
        const bool refusedBefore = m_triedRealms.contains(realm);
        const bool answered = ask(site, kind, [&] {
            given = pagedialogs::askCredentials(dialogParent(), url, authenticator->realm(), refusedBefore);
            return given.has_value();
        });
        if (!answered && !given && !m_asking)
            m_cancelledRealms.insert(realm);
    }
    if (given) {
        m_triedRealms.insert(realm);
        authenticator->setUser(given->user);
        authenticator->setPassword(given->password);
    } else {
        *authenticator = QAuthenticator();
    }
}

void WebPage::answerPermission(const QUrl &origin, Feature feature)
{
    // The page always gets an answer; the user's holds for the site and the
    // feature until the program ends.
    QPointer<WebPage> self(this);
    const QString site = SiteAnswers::siteOf(origin);
    const QString kind = kindOf(feature);
    std::optional<bool> allowed = m_session.answers().answer(site, kind);
    if (!allowed) {
        const QString question = pagedialogs::permissionQuestion(origin, feature);
        bool asked = false;
        const bool yes = !question.isEmpty() && ask(site, kind, [&] {
            asked = true;
            return pagedialogs::askYesNo(dialogParent(), question);
        });
        allowed = yes;
        if (asked && self)
            m_session.answers().remember(site, kind, yes);
    }
    if (self)
        setFeaturePermission(origin, feature, *allowed ? PermissionGrantedByUser : PermissionDeniedByUser);
}

void WebPage::download(QWebEngineDownloadRequest *request)
{
    // A download the user started with a click (or by choosing its address)
    // asks where it goes. One the page starts by itself asks once per site;
    // after that the site's downloads are refused unasked.
    const QString site = SiteAnswers::siteOf(url().isEmpty() ? request->url() : url());
    const bool byUser = (userActedRecently() && !m_gestureUsed) || request->url() == m_chosenUrl;
    m_gestureUsed = true;
    m_chosenUrl.clear();
    const QString automatic = QStringLiteral("automatic download");
    if (!byUser) {
        if (m_session.answers().answer(site, automatic)) {
            request->cancel();
            return;
        }
        m_session.answers().remember(site, automatic, false);
    }
    QPointer<QWebEngineDownloadRequest> guard(request);
    const bool chosen = ask(site, QStringLiteral("download"),
                            [&] { return m_session.downloads().ask(request, dialogParent()) != nullptr; });
    if (!chosen && guard && guard->state() == QWebEngineDownloadRequest::DownloadRequested)
        request->cancel();
}

bool WebPage::scriptDialog(const QUrl &origin, const std::function<bool(bool offerStop, bool *stop)> &show)
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
    Q_UNUSED(origin);
    emit questionAnswered();
    return result;
}

void WebPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    scriptDialog(securityOrigin, [&](bool offerStop, bool *stop) {
        return pagedialogs::showPageMessage(dialogParent(), securityOrigin, msg, offerStop, stop);
    });
}

bool WebPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    return scriptDialog(securityOrigin, [&](bool offerStop, bool *stop) {
        return pagedialogs::askPageQuestion(dialogParent(), securityOrigin, msg, offerStop, stop);
    });
}

bool WebPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                               QString *result)
{
    return scriptDialog(securityOrigin, [&](bool offerStop, bool *stop) {
        const std::optional<QString> given =
            pagedialogs::askPageText(dialogParent(), securityOrigin, msg, defaultValue, offerStop, stop);
        if (given)
            *result = *given;
        return given.has_value();
    });
}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                       const QString &sourceID)
{
    if (level == InfoMessageLevel && message == BlockedWindowMessage) {
        emit windowBlocked(url());
        return;
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}
