#include "session.h"

#include "errorpolicy.h"
#include "privatefolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWebEngineNotification>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {
// Makes the profile's folder and checks it and the program's own folder it
// lies in; empty when both are private to the user, else why not.
QString preparePrivate(const QString &folder)
{
    QString problem = privatefolder::make(folder);
    if (problem.isEmpty())
        problem = privatefolder::check(QFileInfo(folder).path());
    return problem;
}
} // namespace

QString Session::storagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/web");
}

QString Session::cachePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/web");
}

Session::Session(QObject *parent)
    : QObject(parent),
      m_zoom(new ZoomStore(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                               + QStringLiteral("/velmora.conf"),
                           this)),
      m_downloads(new DownloadList(this)), m_notifications(new Notifications(this))
{
    for (const QString &folder : {storagePath(), cachePath()}) {
        if (m_profileProblem.isEmpty())
            m_profileProblem = preparePrivate(folder);
    }
    if (m_profileProblem.isEmpty()) {
        m_profile = new QWebEngineProfile(QStringLiteral("Velmora"), this);
        m_profile->setPersistentStoragePath(storagePath());
        m_profile->setCachePath(cachePath());
        m_profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        // Cookies a site keeps beyond the session stay; session cookies end with the program.
        m_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    } else {
        // Nothing the user does is written where others could read or change it.
        m_profile = new QWebEngineProfile(this);
        m_profileProblem = QCoreApplication::translate("Session",
                                                       "%1 Cookies and site data are kept only until Velmora ends.")
                               .arg(m_profileProblem);
        qWarning("velmora: %s", qPrintable(m_profileProblem));
    }

    QWebEngineSettings *settings = m_profile->settings();
    // A page from a file reads no other file and reaches no remote address;
    // a secure page loads nothing insecure.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, true);
    // Windows open only in answer to the user's own click or key: the
    // engine's popup blocker then applies to script.
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // Set before any view exists, so the engine's own presenter, an icon in
    // the system tray, is never used.
    m_profile->setNotificationPresenter([this](std::unique_ptr<QWebEngineNotification> notification) {
        ignoreErrors([&] { m_notifications->present(std::move(notification)); });
    });
}

Session::~Session()
{
    m_profile->setNotificationPresenter({});
    delete m_notifications;
    m_notifications = nullptr;
    delete m_downloads;
    m_downloads = nullptr;
    delete m_profile;
}
