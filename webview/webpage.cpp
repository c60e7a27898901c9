#include "webpage.h"

#include "engineview.h"
#include "pagedialogs.h"
#include "pagewindow.h"
#include "webprofile.h"
#include "webview.h"

#include <QAuthenticator>
#include <QDesktopServices>
#include <QHash>
#include <QPointer>
#include <QWebEngineCertificateError>
#include <QWebEngineView>

namespace {
// What the user answered, by site and feature, until the program ends.
QHash<QPair<QString, int>, bool> &permissionAnswers()
{
    static QHash<QPair<QString, int>, bool> answers;
    return answers;
}
}

WebPage::WebPage(QObject *parent) : QWebEnginePage(webprofile::profile(), parent)
{
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *authenticator) { signIn(url, authenticator); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *authenticator, const QString &proxyHost) {
                signIn(QUrl(QStringLiteral("http://") + proxyHost), authenticator);
            });
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, Feature feature) { answerPermission(origin, feature); });
    connect(this, &QWebEnginePage::certificateError, this, [this](const QWebEngineCertificateError &error) {
        // Never let a page through on a certificate that is not trusted; say so
        // when it is the page itself, not some part of it.
        QWebEngineCertificateError refused = error;
        refused.rejectCertificate();
        if (error.url().host() == requestedUrl().host())
            emit certificateRefused(error.url());
    });
}

bool WebPage::isEngineScheme(const QString &scheme)
{
    static const QStringList schemes{"http", "https", "file", "data", "blob", "about", "view-source", "filesystem"};
    return schemes.contains(scheme.toLower());
}

QWidget *WebPage::dialogParent() const
{
    QWebEngineView *view = QWebEngineView::forPage(this);
    return view ? view->window() : nullptr;
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
    auto *window = new PageWindow(owner);
    window->show();
    return window->view()->page();
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (isEngineScheme(url.scheme()))
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    // Another program's link: only a click of the user's own, and only after
    // the user has seen where it goes and said Yes.
    if (type == NavigationTypeLinkClicked) {
        ignoreErrors([&] {
            if (pagedialogs::askYesNo(dialogParent(), pagedialogs::externalLinkQuestion(url)))
                QDesktopServices::openUrl(url);
        });
    }
    return false;
}

void WebPage::signIn(const QUrl &url, QAuthenticator *authenticator)
{
    // The engine waits for the answer: without one it would send the same
    // request again and again. A null authenticator shows the server's own
    // answer to a refusal.
    QPointer<WebPage> self(this);
    std::optional<pagedialogs::Credentials> given;
    ignoreErrors([&] { given = pagedialogs::askCredentials(dialogParent(), url, authenticator->realm()); });
    if (!self)
        return;
    if (given) {
        authenticator->setUser(given->user);
        authenticator->setPassword(given->password);
    } else {
        *authenticator = QAuthenticator();
    }
}

void WebPage::answerPermission(const QUrl &origin, Feature feature)
{
    // The page always gets an answer; the user's holds for the site until the
    // program ends.
    QPointer<WebPage> self(this);
    const QPair<QString, int> key(origin.toString(), int(feature));
    bool allowed = false;
    if (const auto known = permissionAnswers().constFind(key); known != permissionAnswers().constEnd()) {
        allowed = *known;
    } else {
        ignoreErrors([&] {
            const QString question = pagedialogs::permissionQuestion(origin, feature);
            allowed = !question.isEmpty() && pagedialogs::askYesNo(dialogParent(), question);
        });
        permissionAnswers().insert(key, allowed);
    }
    if (self)
        setFeaturePermission(origin, feature, allowed ? PermissionGrantedByUser : PermissionDeniedByUser);
}
