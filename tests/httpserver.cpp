#include "httpserver.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

HttpServer::HttpServer(quint16 port, QObject *parent) : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost, port);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString HttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void HttpServer::serve(QTcpSocket *socket)
{
    if (socket->property("answered").toBool())
        return;
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;
    socket->setProperty("answered", true);

    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    m_requests << path;
    m_raw << request;
    emit requested(path);

    const QString bare = path.section(QLatin1Char('?'), 0, 0);
    const auto handler = m_handlers.constFind(bare);
    const auto found = m_pages.constFind(bare);
    const Page page = handler != m_handlers.constEnd() ? (*handler)(request)
        : found != m_pages.constEnd()                  ? *found
                                                       : Page{"<html><body>Not found</body></html>", "text/html", 0, 404};
    const QByteArray reason = page.status == 200 ? " OK" : page.status == 401 ? " Unauthorized" : " Not Found";
    const QByteArray length = page.endless ? QByteArray() : "\r\nContent-Length: " + QByteArray::number(page.body.size());
    const QByteArray head = "HTTP/1.0 " + QByteArray::number(page.status) + reason + "\r\nContent-Type: "
        + page.contentType + length + "\r\nCache-Control: no-store\r\nConnection: close\r\n" + page.headers + "\r\n";
    if (page.endless) {
        socket->write(head);
        // More whenever the last has gone out.
        const QByteArray body = page.body;
        connect(socket, &QTcpSocket::bytesWritten, socket, [socket, body] {
            if (socket->bytesToWrite() == 0)
                socket->write(body);
        });
        return;
    }
    const bool stall = page.stall;
    const QByteArray body = stall ? page.body.left(page.body.size() / 2) : page.body;

    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(page.delayMs, this, [guarded, head, body, stall] {
        if (!guarded)
            return;
        guarded->write(head + body);
        if (!stall)
            guarded->disconnectFromHost();
    });
}
