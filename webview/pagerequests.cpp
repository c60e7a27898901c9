#include "pagerequests.h"

#include "downloadlist.h"
#include "errorpolicy.h"
#include "pagedialogs.h"
#include "siteanswers.h"

#include <QAuthenticator>
#include <QPointer>
#include <QWebEngineDownloadRequest>
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
#include <QAbstractListModel>
#include <QWebEngineDesktopMediaRequest>
#include <QWebEngineWebAuthUxRequest>
#endif

namespace {
// How the asker is named: the site itself, or a frame of another site on the
// site the user is on.
QString askerName(SiteAnswers &answers, const QUrl &asker, const QUrl &top)
{
    if (top.isEmpty() || answers.sameSite(asker, top))
        return pagedialogs::siteName(asker);
    return pagedialogs::frameName(asker, top);
}
} // namespace

bool pagerequests::permitted(PageQuestions &questions, const QUrl &top, const QUrl &asker, PageRequest request,
                             QWidget *parent)
{
    // The user's answer holds for the site, the kind and the page it was
    // asked on until the program ends.
    QPointer<PageQuestions> alive(&questions);
    SiteAnswers &answers = questions.answers();
    if (const std::optional<bool> allowed = answers.answer(top, asker, request))
        return *allowed;
    const QString question = pagerules::question(request, askerName(answers, asker, top));
    bool asked = false;
    const bool yes = !question.isEmpty() && questions.ask(top, request, Actor::Page, [&] {
        asked = true;
        return pagedialogs::askYesNo(parent, question);
    });
    if (asked && alive)
        answers.remember(top, asker, request, yes);
    return yes;
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
void pagerequests::answer(PageQuestions &questions, const QUrl &top, QWebEnginePermission permission, QWidget *parent)
{
    QPointer<PageQuestions> alive(&questions);
    const std::optional<PageRequest> request = pagerules::fromPermission(permission.permissionType());
    bool allowed = false;
    ignoreErrors([&] { allowed = request && permitted(questions, top, permission.origin(), *request, parent); });
    if (!alive)
        return;
    if (allowed)
        permission.grant();
    else
        permission.deny();
}
#else
void pagerequests::answer(PageQuestions &questions, const QUrl &top, QWebEnginePage &page, const QUrl &origin,
                          QWebEnginePage::Feature feature, QWidget *parent)
{
    QPointer<QWebEnginePage> alive(&page);
    const std::optional<PageRequest> request = pagerules::fromFeature(feature);
    bool allowed = false;
    ignoreErrors([&] { allowed = request && permitted(questions, top, origin, *request, parent); });
    if (alive)
        page.setFeaturePermission(origin, feature,
                                  allowed ? QWebEnginePage::PermissionGrantedByUser : QWebEnginePage::PermissionDeniedByUser);
}
#endif

void pagerequests::download(PageQuestions &questions, DownloadList &downloads, QWebEngineDownloadRequest *request,
                            const QUrl &top, QWidget *parent)
{
    const Actor actor = request->isSavePageDownload() || questions.takeChosenDownload(request->url())
        ? Actor::User
        : questions.takeGesture();
    SiteAnswers &answers = questions.answers();
    if (actor == Actor::Page) {
        if (answers.answer(top, top, PageRequest::AutomaticDownload)) {
            request->cancel();
            return;
        }
        answers.remember(top, top, PageRequest::AutomaticDownload, false);
    }
    QPointer<QWebEngineDownloadRequest> guard(request);
    const bool chosen =
        questions.ask(top, PageRequest::Download, actor, [&] { return downloads.ask(request, parent) != nullptr; });
    if (!chosen && guard && guard->state() == QWebEngineDownloadRequest::DownloadRequested)
        request->cancel();
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
void pagerequests::shareScreen(PageQuestions &questions, const QUrl &top, const QWebEngineDesktopMediaRequest &request,
                               QWidget *parent)
{
    // Should the engine ask for the permission as well, it gets the same
    // answer unasked.
    QPointer<PageQuestions> alive(&questions);
    bool yes = false;
    ignoreErrors([&] { yes = permitted(questions, top, top, PageRequest::Screen, parent); });
    QAbstractListModel *screens = request.screensModel();
    if (!alive || !yes || !screens || screens->rowCount() == 0) {
        request.cancel();
        return;
    }
    request.selectScreen(screens->index(0));
}

void pagerequests::refusePasskey(PageQuestions &questions, const QUrl &top, QWebEngineWebAuthUxRequest *request,
                                 QWidget *parent)
{
    // The program has no dialogs for passkeys or security keys yet: the
    // page's request is cancelled at once, and the user is told why the
    // site's sign-in did not go on, a few times per site at most.
    QPointer<QWebEngineWebAuthUxRequest> pending(request);
    QMetaObject::invokeMethod(
        &questions,
        [pending] {
            if (pending)
                pending->cancel();
        },
        Qt::QueuedConnection);
    questions.ask(top, PageRequest::Passkey, Actor::Page, [&] {
        tellUser(parent, pagedialogs::passkeyNotice(top));
        return false;
    });
}
#endif

void SignIn::answer(PageQuestions &questions, const QUrl &url, const QUrl &top, Actor actor,
                    QAuthenticator *authenticator, QWidget *parent)
{
    // The engine waits for the answer: without one it would send the same
    // request again and again. Cancels count for the site the user is on,
    // whatever the realm: a page that names a new realm each time is asked
    // no more often. A realm cancelled is not asked again until the user
    // goes somewhere, and what is kept for one site the user is on is not
    // used on another.
    const QString realm = SiteAnswers::siteOf(top) + u' ' + SiteAnswers::siteOf(url) + u' ' + authenticator->realm();
    std::optional<pagedialogs::Credentials> given;
    if (actor == Actor::User || !m_cancelled.contains(realm)) {
        const bool refusedBefore = m_tried.contains(realm);
        const QString asker = askerName(questions.answers(), url, top);
        const bool answered = questions.ask(top, PageRequest::SignIn, actor, [&] {
            given = pagedialogs::askCredentials(parent, asker, authenticator->realm(), refusedBefore,
                                                m_tried.value(realm));
            return given.has_value();
        });
        if (!answered && !given && !questions.isAsking())
            m_cancelled.insert(realm);
    }
    if (given) {
        m_tried.insert(realm, given->user);
        authenticator->setUser(given->user);
        authenticator->setPassword(given->password);
    } else {
        *authenticator = QAuthenticator();
    }
}
