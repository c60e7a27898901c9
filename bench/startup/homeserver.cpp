#include "homeserver.h"

#include <QTcpSocket>

HomeServer::HomeServer(quint16 port, QHash<QString, HomeResource> site) : m_site(std::move(site))
{
    m_server.listen(QHostAddress::LocalHost, port);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void HomeServer::serve(QTcpSocket *socket)
{
    // A request may arrive in pieces, and several may arrive at once.
    QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
    for (qsizetype end; (end = pending.indexOf("\r\n\r\n")) >= 0; pending.remove(0, end + 4)) {
        const QList<QByteArray> requestLine = pending.left(pending.indexOf("\r\n")).split(' ');
        const QString path = QString::fromLatin1(requestLine.value(1)).section(QLatin1Char('?'), 0, 0);
        const auto found = m_site.constFind(path);
        const bool ok = found != m_site.constEnd();
        const QByteArray body = ok ? found->body : QByteArray("not found");
        socket->write("HTTP/1.1 " + QByteArray(ok ? "200 OK" : "404 Not Found") + "\r\nContent-Type: "
                      + (ok ? found->contentType : QByteArray("text/plain")) + "\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nCache-Control: no-store\r\n\r\n" + body);
        emit requested(path);
    }
    socket->setProperty("pending", pending);
}
