#include "session.h"

#include "errorpolicy.h"
#include "privatefolder.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QWebEngineNotification>
#include <QWebEnginePage>
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

// A profile made with a name writes its settings into a default folder of
// its own (in the background) before it is given the folders it uses. That
// copy is never read again: it goes, with the folder, once the profile has
// ended, and a leftover of an earlier run as the next one starts. Only that
// file and empty folders are removed.
void removeDefaultFolder()
{
    QDir data(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString folder = QStringLiteral("QtWebEngine/Velmora");
    QFile::remove(data.filePath(folder + QStringLiteral("/user_prefs.json")));
    if (data.rmdir(folder))
        data.rmdir(QStringLiteral("QtWebEngine"));
}

// How long a session waits for a program that is ending to let go of the
// profile, as when the program is started again right after closing it.
constexpr int ClosingMs = 3000;

// Takes the profile's lock; empty when this session has it, else why not.
// A lock left by a program that is gone is taken over.
QString lockProfile(QLockFile &lock)
{
    // Held for the program's life: only a holder that is gone makes it stale.
    lock.setStaleLockTime(0);
    // A program that is ending lets go of it once its pages have closed.
    if (lock.tryLock(ClosingMs))
        return QString();
    if (lock.error() == QLockFile::LockFailedError)
        return QCoreApplication::translate("Session", "Another copy of Velmora is using the site data in %1.")
            .arg(QDir::toNativeSeparators(Session::storagePath()));
    return QCoreApplication::translate("Session", "The lock file %1 could not be made.")
        .arg(QDir::toNativeSeparators(lock.fileName()));
}
} // namespace

QString Session::storagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/web");
}

QString Session::lockPath()
{
    return storagePath() + QStringLiteral(".lock");
}

QString Session::cachePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/web");
}

Session::Session(QObject *parent)
    : QObject(parent),
      m_zoom(new ZoomStore(m_settings, this)),
      m_downloads(new DownloadList(this)), m_router(new DownloadRouter(this)),
      m_notifications(new Notifications(m_answers, this))
{
}

QWebEngineProfile *Session::profile()
{
    if (!m_profile)
        makeProfile();
    return m_profile;
}

void Session::makeProfile()
{
    for (const QString &folder : {storagePath(), cachePath()}) {
        if (m_profileProblem.isEmpty())
            m_profileProblem = preparePrivate(folder);
    }
    if (m_profileProblem.isEmpty()) {
        m_lock = std::make_unique<QLockFile>(lockPath());
        m_profileProblem = lockProfile(*m_lock);
    }
    if (m_profileProblem.isEmpty()) {
        removeDefaultFolder(); // one an earlier run left
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
        emit profileProblemFound(m_profileProblem);
    }

    m_router->listenTo(m_profile);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // The user's answers to a site hold until the program ends, as the
    // program keeps them; newer engines would keep them on disk and answer
    // later requests themselves, unasked.
    m_profile->setPersistentPermissionsPolicy(QWebEngineProfile::PersistentPermissionsPolicy::AskEveryTime);
#endif
    QWebEngineSettings *settings = m_profile->settings();
    // A page from a file reads no other file and reaches no remote address;
    // a secure page loads nothing insecure.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, true);
    // Windows open only in answer to the user's own click or key: each page
    // lets script ask, and decides on what the engine says of the click
    // (see WebPage).
    // A PDF file a page goes to is shown by the program's own viewer (see
    // WebPage): the engine's viewer, its only plugin, stays off.
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    // Set before any view exists, so the engine's own presenter, an icon in
    // the system tray, is never used.
    m_profile->setNotificationPresenter([this](std::unique_ptr<QWebEngineNotification> notification) {
        ignoreErrors([&] { m_notifications->present(std::move(notification)); });
    });
    // The engine started with the profile. One that starts while a screen
    // reader already listens (the window came first) waits to be told that
    // one is there, which Qt says only when accessibility comes on: newer
    // engines (Qt 6.11) would show screen readers no page at all.
    if (QAccessible::isActive()) {
        QAccessible::setActive(false);
        QAccessible::setActive(true);
    }
}

Session::~Session()
{
    // Pages kept for an answer the engine still owes go before the profile.
    qDeleteAll(findChildren<QWebEnginePage *>(Qt::FindDirectChildrenOnly));
    if (m_profile)
        m_profile->setNotificationPresenter({});
    delete m_notifications;
    m_notifications = nullptr;
    delete m_downloads;
    m_downloads = nullptr;
    const bool named = m_profile && !m_profile->isOffTheRecord();
    delete m_profile;
    if (named)
        removeDefaultFolder();
}
