#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineProfile;

// Gives each download of a profile to the page it came from: it listens to
// the profile once, and each page says what it does with its own. A request
// whose page has gone, or that no page takes, is cancelled.
class DownloadRouter : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(QWebEngineDownloadRequest *request)>;

    using QObject::QObject;

    // Listens to `profile`'s downloads; once, when the profile is made.
    void listenTo(QWebEngineProfile *profile);
    // `page`'s downloads go to `handler` until the page goes.
    void add(QWebEnginePage *page, Handler handler);

private:
    void route(QWebEngineDownloadRequest *request);

    QHash<QWebEnginePage *, Handler> m_pages;
};
