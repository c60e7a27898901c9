#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>

class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineProfile;

// Gives each download of a profile to the page it came from: it listens to
// the profile once, and each page says what it does with its own. It also
// serves the program's own fetches, which nobody is asked about and the
// Downloads list does not show. A request whose page has gone, or that no
// page takes, is cancelled.
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

    // Fetches `url` through `page`'s profile as Save Page does, for the
    // program's own use; `take` gets the request to say where it goes and to
    // accept it. Should it come after `context` has gone, or after forget(),
    // it is cancelled. One fetch per page: a new one forgets the last.
    void fetch(QWebEnginePage *page, const QUrl &url, QObject *context, Handler take);
    // Gives up on `page`'s fetch, if its request has not come.
    void forget(QWebEnginePage *page);

private:
    void route(QWebEngineDownloadRequest *request);

    QHash<QWebEnginePage *, Handler> m_pages;
    struct Fetch
    {
        QUrl url;
        QWebEnginePage *page; // only compared: the page may be gone
        QPointer<QObject> context;
        Handler take;
        qint64 givenUpAt;
    };
    QList<Fetch> m_fetches;
};
