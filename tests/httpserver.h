#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

#include <functional>
#include <utility>

// A small HTTP/1.0 server on 127.0.0.1 for tests: fixed or computed pages,
// an optional delay before a page is answered, and a log of the requests.
class HttpServer : public QObject
{
    Q_OBJECT
public:
    struct Page
    {
        Page(QByteArray body = {}, QByteArray contentType = "text/html; charset=utf-8", int delayMs = 0,
             int status = 200)
            : body(std::move(body)), contentType(std::move(contentType)), delayMs(delayMs), status(status)
        {
        }
        QByteArray body;
        QByteArray contentType;
        int delayMs;
        int status;
        QByteArray headers;  // further header lines, each ended by CR LF
        bool stall = false;  // sends half the body, then holds the connection open
        bool endless = false; // sends the body again and again, without a length, until the client goes
    };
    // Answers a request from its raw text (request line and headers).
    using Handler = std::function<Page(const QByteArray &request)>;

    // Listens on `port` (0: any free port).
    explicit HttpServer(quint16 port = 0, QObject *parent = nullptr);

    void setPage(const QString &path, const Page &page) { m_pages.insert(path, page); }
    void setPage(const QString &path, const QByteArray &html) { m_pages.insert(path, Page{html}); }
    void setHandler(const QString &path, const Handler &handler) { m_handlers.insert(path, handler); }
    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path) const;
    // The paths asked for, in order, and the raw requests for them.
    QStringList requests() const { return m_requests; }
    QList<QByteArray> rawRequests() const { return m_raw; }

signals:
    void requested(const QString &path);

private:
    void serve(class QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Page> m_pages;
    QHash<QString, Handler> m_handlers;
    QStringList m_requests;
    QList<QByteArray> m_raw;
};
