#include "desktopnotifications.h"

#include "errorpolicy.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString DefaultAction = QStringLiteral("default");

// `text` with &, < and > written as entities, so the service, which reads
// markup in a notification's text, shows them as they are.
QString escapedMarkup(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else
            out += c;
    }
    return out;
}

// The picture as the service's "image-data" hint: width, height, bytes per
// row, alpha, bits per sample, channels, then the RGBA bytes. A large one is
// made smaller first: a page decides its size.
QVariant imageData(const QImage &icon)
{
    QImage image = icon;
    if (image.width() > DesktopNotifications::IconSize || image.height() > DesktopNotifications::IconSize)
        image = image.scaled(DesktopNotifications::IconSize, DesktopNotifications::IconSize, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument data;
    data.beginStructure();
    data << qint32(image.width()) << qint32(image.height()) << qint32(image.bytesPerLine()) << true << qint32(8)
         << qint32(4)
         << QByteArray(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
    data.endStructure();
    return QVariant::fromValue(data);
}

// The service as it answers on a D-Bus connection.
class BusNotifications : public DesktopNotifications
{
    Q_OBJECT
public:
    BusNotifications(const QDBusConnection &bus, QObject *parent);

    bool isConnected() const override { return m_bus.isConnected(); }
    void notify(const Message &message, std::function<void(uint id)> answered) override;
    void close(uint id) override;

private slots:
    void actionInvoked(uint id, const QString &action, const QDBusMessage &message);
    void notificationClosed(uint id, uint reason, const QDBusMessage &message);

private:
    QDBusConnection m_bus;
    // The connection that answered the last Notify: only its signals count,
    // so no other program on the bus can click or close a page's notification.
    QString m_owner;
};
} // namespace

DesktopNotifications *DesktopNotifications::make(QObject *parent)
{
    return new BusNotifications(QDBusConnection::sessionBus(), parent);
}

BusNotifications::BusNotifications(const QDBusConnection &bus, QObject *parent)
    : DesktopNotifications(parent), m_bus(bus)
{
    // Any sender: the one that counts is checked on arrival, which asks the
    // bus nothing now.
    m_bus.connect(QString(), Path, Interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString, QDBusMessage)));
    m_bus.connect(QString(), Path, Interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint, QDBusMessage)));
}

void BusNotifications::notify(const Message &message, std::function<void(uint)> answered)
{
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("velmora"));
    if (!message.icon.isNull())
        hints.insert(QStringLiteral("image-data"), imageData(message.icon));
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    call << QStringLiteral("Velmora") << message.replaces << QStringLiteral("velmora") << message.title
         << escapedMarkup(message.body) << QStringList{DefaultAction, message.actionLabel} << hints
         << qint32(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, AnswerMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, answered](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        ignoreErrors([&] {
            const QDBusPendingReply<uint> reply = *done;
            if (reply.isError() || reply.value() == 0) {
                answered(0);
                return;
            }
            m_owner = reply.reply().service();
            answered(reply.value());
        });
    });
}

void BusNotifications::close(uint id)
{
    m_bus.asyncCall(QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("CloseNotification"))
                    << id);
}

void BusNotifications::actionInvoked(uint id, const QString &action, const QDBusMessage &message)
{
    if (!m_owner.isEmpty() && message.service() == m_owner && action == DefaultAction)
        emit clicked(id);
}

void BusNotifications::notificationClosed(uint id, uint reason, const QDBusMessage &message)
{
    Q_UNUSED(reason); // expired, dismissed or closed: the page is told the same
    if (!m_owner.isEmpty() && message.service() == m_owner)
        emit closed(id);
}

#include "desktopnotifications.moc"
