#pragma once

#include "homepage.h"

#include <QTcpServer>

class QTcpSocket;

// Serves the benchmark's home page on 127.0.0.1: HTTP/1.1 with keep-alive and
// pipelining, as a web server would answer the engine; nothing may be cached.
class HomeServer : public QObject
{
    Q_OBJECT
public:
    // Listens on `port` (0: any free port).
    HomeServer(quint16 port, QHash<QString, HomeResource> site);

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }

signals:
    // A request arrived for `path` (without its query) and was answered.
    void requested(const QString &path);

private:
    void serve(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, HomeResource> m_site;
};
