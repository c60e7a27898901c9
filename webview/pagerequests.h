#pragma once

#include "pagequestions.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QtGlobal>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#else
#include <QWebEnginePage>
#endif

class DownloadList;
class QAuthenticator;
class QWebEngineDownloadRequest;
class QWidget;
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
class QWebEngineDesktopMediaRequest;
class QWebEngineWebAuthUxRequest;
#endif

// What a page asks of the user, each judged through the page's question
// owner for the site the user is on (`top`), the asker named as a frame of
// its own when it is another site. Every request gets an answer.
namespace pagerequests {

// Whether `request` from `asker` on the page at `top` is allowed: the user's
// standing answer, else the user's Yes or No, asked over `parent` and kept.
bool permitted(PageQuestions &questions, const QUrl &top, const QUrl &asker, PageRequest request, QWidget *parent);

// Answers a permission the page asks for on the page at `top`: the user's
// standing answer or Yes or No, and an unknown kind refused.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
void answer(PageQuestions &questions, const QUrl &top, QWebEnginePermission permission, QWidget *parent);
#else
void answer(PageQuestions &questions, const QUrl &top, QWebEnginePage &page, const QUrl &origin,
            QWebEnginePage::Feature feature, QWidget *parent);
#endif

// Asks over `parent` where the download `request` goes, or refuses it. One
// the user asked for (a click, the address the user chose, Save Page) is
// always asked; one the page started by itself is asked once per site, and
// refused after.
void download(PageQuestions &questions, DownloadList &downloads, QWebEngineDownloadRequest *request,
              const QUrl &top, QWidget *parent);

#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
// Sharing the screen is asked as a camera is: a Yes shares the first screen.
void shareScreen(PageQuestions &questions, const QUrl &top, const QWebEngineDesktopMediaRequest &request,
                 QWidget *parent);
// Passkeys and security keys are refused, and the user told why.
void refusePasskey(PageQuestions &questions, const QUrl &top, QWebEngineWebAuthUxRequest *request, QWidget *parent);
#endif

} // namespace pagerequests

// A page's sign-in boxes: what the user cancelled and typed, per site the
// user is on, until the page goes somewhere else.
class SignIn
{
public:
    // Answers the server (or proxy) at `url` that asks on the page at `top`:
    // with what the user types, or with nothing, which shows the server's own
    // answer to a refusal.
    void answer(PageQuestions &questions, const QUrl &url, const QUrl &top, Actor actor,
                QAuthenticator *authenticator, QWidget *parent);
    // The user went somewhere: the realms cancelled may be asked again.
    void userNavigated() { m_cancelled.clear(); }
    // A page has loaded: the next sign-in is not a retry.
    void pageLoaded() { m_tried.clear(); }

private:
    // Realms the user cancelled, and the user name tried last, by realm.
    QSet<QString> m_cancelled;
    QHash<QString, QString> m_tried;
};
