#include "webpage.h"

#include "pagerequests.h"

#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
#include <QWebEngineDesktopMediaRequest>
#include <QWebEngineWebAuthUxRequest>
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif

// What a page may ask of the user's machine (camera, place, screen,
// passkeys), each judged through the page's question owner.

void WebPage::answerPermissions()
{
    // The page always gets an answer: an unknown kind is refused.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    connect(this, &QWebEnginePage::permissionRequested, this, [this](QWebEnginePermission permission) {
        pagerequests::answer(*m_questions, topSite(), permission, dialogParent());
    });
#else
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
        pagerequests::answer(*m_questions, topSite(), *this, origin, feature, dialogParent());
    });
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    connect(this, &QWebEnginePage::desktopMediaRequested, this, [this](const QWebEngineDesktopMediaRequest &request) {
        pagerequests::shareScreen(*m_questions, topSite(), request, dialogParent());
    });
    connect(this, &QWebEnginePage::webAuthUxRequested, this, [this](QWebEngineWebAuthUxRequest *request) {
        pagerequests::refusePasskey(*m_questions, topSite(), request, dialogParent());
    });
#endif
}
