#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

// A small HTTP/1.0 server on 127.0.0.1 for tests: fixed pages, an optional
// delay before a page is answered, and a log of the paths requested.
class HttpServer : public QObject
{
    Q_OBJECT
public:
    struct Page
    {
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int delayMs = 0;
        int status = 200;
    };

    // Listens on `port` (0: any free port).
    explicit HttpServer(quint16 port = 0, QObject *parent = nullptr);

    void setPage(const QString &path, const Page &page) { m_pages.insert(path, page); }
    void setPage(const QString &path, const QByteArray &html) { m_pages.insert(path, Page{html}); }
    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path) const;
    QStringList requests() const { return m_requests; }

signals:
    void requested(const QString &path);

private:
    void serve(class QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Page> m_pages;
    QStringList m_requests;
};
