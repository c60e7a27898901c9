#pragma once

#include "downloadlist.h"
#include "downloadrouter.h"
#include "notifications.h"
#include "settings.h"
#include "siteanswers.h"
#include "zoomstore.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLockFile;

class QWebEngineProfile;

// What lasts as long as the program runs and every window shares: the web
// profile, what the user answered each site, the settings file and the zoom
// of each site kept in it, the downloads and the notifications sites show.
// main() makes one and hands it to the views; each test makes its own.
class Session : public QObject
{
    Q_OBJECT
public:
    explicit Session(QObject *parent = nullptr);
    // The notifications and downloads end first, then the profile; every
    // page must be gone.
    ~Session() override;

    // The profile every page of the program uses, made the first time it is
    // asked for: making it starts the web engine, which the window does not
    // wait for. It keeps cookies, site data and the HTTP cache in the user's
    // own private folders; if those are not safe to use, it keeps nothing on
    // disk (see profileProblem).
    QWebEngineProfile *profile();
    SiteAnswers &answers() { return m_answers; }
    // The settings file, velmora.conf: every setting is read and written
    // through it.
    Settings &settings() { return m_settings; }
    ZoomStore &zoom() { return *m_zoom; }
    DownloadList &downloads() { return *m_downloads; }
    // Gives each of the profile's downloads to the page it came from.
    DownloadRouter &downloadRouter() { return *m_router; }
    // Shows every notification of the profile's pages.
    Notifications &notifications() { return *m_notifications; }

    // The home page as the settings give it now; empty until main() has
    // said how it is found (setHomePage).
    QString homePage() const { return m_findHomePage ? m_findHomePage() : QString(); }
    void setHomePage(std::function<QString()> find) { m_findHomePage = std::move(find); }

    // Why the profile keeps nothing on disk, in words; empty when it does,
    // or while it has not been made.
    QString profileProblem() const { return m_profileProblem; }

    // Where the profile keeps cookies and site data, and its HTTP cache.
    static QString storagePath();
    static QString cachePath();
    // The lock a session holds on those for as long as it lives: one
    // profile is never opened by two processes.
    static QString lockPath();

signals:
    // The profile keeps nothing on disk, for `problem` (said once, as it is made).
    void profileProblemFound(const QString &problem);

private:
    void makeProfile();

    std::unique_ptr<QLockFile> m_lock; // let go after the profile has closed
    QWebEngineProfile *m_profile = nullptr;
    SiteAnswers m_answers;
    Settings m_settings{Settings::defaultFile()};
    ZoomStore *m_zoom;
    DownloadList *m_downloads;
    DownloadRouter *m_router;
    Notifications *m_notifications;
    QString m_profileProblem;
    std::function<QString()> m_findHomePage;
};
