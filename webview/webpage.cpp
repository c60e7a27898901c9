#include "webpage.h"

#include "errorpolicy.h"
#include "pagedialogs.h"
#include "schemes.h"
#include "session.h"
#include "startpage.h"

#include <QAuthenticator>
#include <QDesktopServices>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

WebPage::WebPage(Session &session, WindowMaker makeWindow, QObject *parent)
    : QWebEnginePage(session.profile(), parent), m_session(session),
      m_questions(new PageQuestions(session.answers(), this)), m_makeWindow(std::move(makeWindow))
{
    if (!profile()->urlSchemeHandler(schemes::Own))
        profile()->installUrlSchemeHandler(schemes::Own, new StartPageScheme(m_session, profile()));
    // Every window a page asks for comes to the program, which opens only
    // those the user's click or key asked for and says so of the others. The
    // engine's own blocker would drop them unseen.
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest &request) { ignoreErrors([&] { openRequested(request); }); });
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *authenticator) {
                // The page the user is going to asks on its own account;
                // anything else on the account of the page shown.
                const bool ownPage = url.matches(m_mainFrameUrl, QUrl::RemoveFragment);
                m_signIn.answer(*m_questions, url, ownPage ? url : topSite(),
                                ownPage ? m_mainFrameActor : Actor::Page, authenticator, dialogParent());
            });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *authenticator, const QString &proxyHost) {
                const QUrl proxy(QStringLiteral("http://") + proxyHost);
                m_signIn.answer(*m_questions, proxy, proxy, m_mainFrameActor, authenticator, dialogParent());
            });
    answerPermissions();
    connect(this, &QWebEnginePage::certificateError, this, [this](const QWebEngineCertificateError &error) {
        // Never let a page through on a certificate that is not trusted; say
        // so in place of the page only when it is the page itself, not a
        // frame or a picture inside it.
        QWebEngineCertificateError refused = error;
        refused.rejectCertificate();
        if (error.url().matches(m_mainFrameUrl, QUrl::RemoveFragment))
            emit certificateRefused(error.url());
    });
    m_session.downloadRouter().add(this, [this](QWebEngineDownloadRequest *request) { download(request); });
    connect(this, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_signIn.pageLoaded();
    });
    // The engine sets a page's zoom back as it commits: the site's again.
    connect(this, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        m_mainFrameCommitted = true;
        applyZoom(url);
    });
    connect(&m_session.zoom(), &ZoomStore::changed, this, [this](const QString &site) {
        if (site == SiteAnswers::siteOf(url()))
            applyZoom(url());
    });
}

QUrl WebPage::topSite() const
{
    return url().isEmpty() ? m_mainFrameUrl : url();
}

void WebPage::userChose(const QUrl &url)
{
    m_questions->userChose(url);
}

QWidget *WebPage::dialogParent() const
{
    QWebEngineView *view = QWebEngineView::forPage(this);
    return view ? view->window() : nullptr;
}

void WebPage::applyZoom(const QUrl &url, bool again)
{
    const double factor = m_session.zoom().factorFor(url);
    if (again || !qFuzzyCompare(zoomFactor(), factor))
        setZoomFactor(factor);
    emit zoomApplied(factor);
}

void WebPage::openRequested(QWebEngineNewWindowRequest &request)
{
    // The engine tells whether the user's own click or key asked for the
    // window (a link to a new window, one opened with Ctrl, window.open in
    // answer to a click); the page's script can neither see nor change this.
    if (!request.isUserInitiated()) {
        emit windowBlocked(url(), request.requestedUrl());
        return;
    }
    if (!m_makeWindow)
        return;
    // The new window keeps its tie to this page (window.opener, window.close()).
    WebPage *page = m_makeWindow(request.requestedGeometry());
    page->m_openerUrl = url();
    request.openIn(page);
}

void WebPage::openWindow(const QUrl &url)
{
    if (!m_makeWindow || url.isEmpty())
        return;
    WebPage *page = m_makeWindow(QRect());
    page->userChose(url);
    page->load(url);
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (isMainFrame)
        return acceptMainFrame(url, type);
    // The program's own pages are no frame's business.
    if (schemes::isProgramScheme(url.scheme()))
        return false;
    if (schemes::isEngineScheme(url.scheme()))
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    openElsewhere(url, type);
    return false;
}

bool WebPage::acceptMainFrame(const QUrl &url, NavigationType type)
{
    // Who started it: a server's redirect belongs to the navigation it
    // redirects, a link to the user who just clicked it; the program starts
    // typed, back and forward and reload navigations for the user, but a
    // page's script starts them too (history.go(), location.reload()), and a
    // page that has come sends itself on (a client redirect) by itself.
    Actor actor = Actor::Page;
    // The engine may tell of the commit (urlChanged) only after the page's
    // first script has sent it on (Qt 6.11); its history knows at once.
    if (type == NavigationTypeRedirect)
        actor = m_mainFrameCommitted || history()->currentItem().url() == m_mainFrameUrl ? Actor::Page
                                                                                          : m_mainFrameActor;
    else if (type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted)
        actor = m_questions->userActedRecently() ? Actor::User : Actor::Page;
    else if (type == NavigationTypeTyped || type == NavigationTypeBackForward || type == NavigationTypeReload)
        actor = m_questions->takeChoice();
    // The program's own pages (its start page) open only as the user's own
    // choice, and its form's answer only from the start page itself.
    if (schemes::isProgramScheme(url.scheme()) && !(actor == Actor::User && startpage::mayOpen(url, type, this->url())))
        return false;
    if (!schemes::isEngineScheme(url.scheme())) {
        openElsewhere(url, type);
        return false;
    }
    if (!QWebEnginePage::acceptNavigationRequest(url, type, true))
        return false;
    m_mainFrameUrl = url;
    m_mainFrameActor = actor;
    m_mainFrameCommitted = false;
    // The user went somewhere: sign-in may be asked again.
    if (actor == Actor::User) {
        m_signIn.userNavigated();
        emit userNavigated();
    }
    // The page a site opens is laid out at the site's zoom from its first
    // frame: the engine takes the zoom it is given now to the frame it makes.
    // Within a site, the zoom it has already is not given again: that would
    // have the engine draw the page shown, behind a sign-in box too, at
    // 100 % until the next one comes (Qt 6.4). A first page, or another
    // site's, always gets it: its frame is new.
    applyZoom(url, SiteAnswers::siteOf(url) != SiteAnswers::siteOf(this->url()));
    return true;
}

void WebPage::openElsewhere(const QUrl &url, NavigationType type)
{
    // Another program's link: only a click of the user's own, and only after
    // the user has seen where it goes and said Yes.
    if (type != NavigationTypeLinkClicked || m_questions->takeGesture() != Actor::User)
        return;
    if (m_questions->ask(topSite(), PageRequest::OtherProgram, Actor::User,
                         [&] { return pagedialogs::askYesNo(dialogParent(), pagedialogs::externalLinkQuestion(url)); }))
        QDesktopServices::openUrl(url);
}

void WebPage::download(QWebEngineDownloadRequest *request)
{
    // The page's own navigation to a PDF file: the engine says what it is
    // (its viewer is off), and the program shows it.
    if (request->mimeType() == QLatin1String("application/pdf") && request->url() == m_mainFrameUrl
        && !request->isSavePageDownload()) {
        emit pdfArrived(request);
        return;
    }
    const QUrl top = topSite().isEmpty() ? request->url() : topSite();
    // A navigation that turned into a download leaves the page where it was,
    // at its own site's zoom.
    if (request->url() == m_mainFrameUrl)
        applyZoom(url());
    pagerequests::download(*m_questions, m_session.downloads(), request, top, dialogParent());
}

void WebPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    m_questions->scriptDialog([&](bool offerStop, bool *stop) {
        return pagedialogs::showPageMessage(dialogParent(), securityOrigin, msg, offerStop, stop);
    });
}

bool WebPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    return m_questions->scriptDialog([&](bool offerStop, bool *stop) {
        return pagedialogs::askPageQuestion(dialogParent(), securityOrigin, msg, offerStop, stop);
    });
}

bool WebPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                               QString *result)
{
    return m_questions->scriptDialog([&](bool offerStop, bool *stop) {
        const std::optional<QString> given =
            pagedialogs::askPageText(dialogParent(), securityOrigin, msg, defaultValue, offerStop, stop);
        if (given)
            *result = *given;
        return given.has_value();
    });
}
