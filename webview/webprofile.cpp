#include "webprofile.h"

#include "downloads.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {
QPointer<QWebEngineProfile> &theProfile()
{
    static QPointer<QWebEngineProfile> profile;
    return profile;
}

// A folder only its owner may enter: the profile holds logins and cookies.
QString privateFolder(QStandardPaths::StandardLocation location)
{
    const QString path = QStandardPaths::writableLocation(location) + QStringLiteral("/web");
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}
}

QString webprofile::storagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/web");
}

QString webprofile::cachePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/web");
}

QWebEngineProfile *webprofile::profile()
{
    QPointer<QWebEngineProfile> &profile = theProfile();
    if (profile)
        return profile;
    profile = new QWebEngineProfile(QStringLiteral("Velmora"), QCoreApplication::instance());
    profile->setPersistentStoragePath(privateFolder(QStandardPaths::AppDataLocation));
    profile->setCachePath(privateFolder(QStandardPaths::CacheLocation));
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    // Cookies a site keeps beyond the session stay; session cookies end with the program.
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);

    QWebEngineSettings *settings = profile->settings();
    // A page from a file reads no other file and reaches no remote address;
    // a secure page loads nothing insecure.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, true);

    QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                     [](QWebEngineDownloadRequest *download) { downloads::start(download); });
    return profile;
}

webprofile::Owner::~Owner()
{
    delete theProfile().data();
}
