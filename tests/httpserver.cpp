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
    emit requested(path);

    const auto found = m_pages.constFind(path.section(QLatin1Char('?'), 0, 0));
    const Page page = found != m_pages.constEnd() ? *found : Page{"<html><body>Not found</body></html>", "text/html", 0, 404};
    QByteArray response = "HTTP/1.0 " + QByteArray::number(page.status) + (page.status == 200 ? " OK" : " Not Found")
        + "\r\nContent-Type: " + page.contentType + "\r\nContent-Length: " + QByteArray::number(page.body.size())
        + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + page.body;

    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(page.delayMs, this, [guarded, response] {
        if (!guarded)
            return;
        guarded->write(response);
        guarded->disconnectFromHost();
    });
}
