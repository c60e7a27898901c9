#include "desktopnotifications.h"

#include "errorpolicy.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QStringList>
#include <QVariantMap>

#include <algorithm>
#include <vector>

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
    // Sends `call`; `done` gets the reply, or an error once `deadline` has passed.
    void ask(const QDBusMessage &call, const QDeadlineTimer &deadline,
             std::function<void(const QDBusMessage &reply)> done);
    // `found` gets the bus's own name of the connection that holds the
    // service's name, empty when none does; when `mayStart`, the bus is first
    // asked to start one it knows of, as a call to the name would have it do.
    void findOwner(bool mayStart, const QDeadlineTimer &deadline, std::function<void(const QString &owner)> found);

    QDBusConnection m_bus;
    // The connection that answered the last Notify: only its signals count,
    // so no other program on the bus can click or close a page's notification.
    QString m_owner;
    // The notifications waiting for the owner the bus is being asked for:
    // all are sent when it answers, in the order they came.
    std::vector<std::function<void(const QString &owner)>> m_waiting;
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

void BusNotifications::ask(const QDBusMessage &call, const QDeadlineTimer &deadline,
                           std::function<void(const QDBusMessage &)> done)
{
    const int timeout = int(std::max<qint64>(1, deadline.remainingTime()));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, timeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        ignoreErrors([&] { done(finished->reply()); });
    });
}

void BusNotifications::findOwner(bool mayStart, const QDeadlineTimer &deadline,
                                 std::function<void(const QString &)> found)
{
    const QString bus = QStringLiteral("org.freedesktop.DBus");
    const QString busPath = QStringLiteral("/org/freedesktop/DBus");
    ask(QDBusMessage::createMethodCall(bus, busPath, bus, QStringLiteral("GetNameOwner")) << Service, deadline,
        [this, bus, busPath, mayStart, deadline, found](const QDBusMessage &reply) {
            if (reply.type() == QDBusMessage::ReplyMessage) {
                found(reply.arguments().value(0).toString());
                return;
            }
            if (!mayStart) {
                found({});
                return;
            }
            ask(QDBusMessage::createMethodCall(bus, busPath, bus, QStringLiteral("StartServiceByName")) << Service
                    << 0u,
                deadline, [this, deadline, found](const QDBusMessage &started) {
                    if (started.type() == QDBusMessage::ReplyMessage)
                        findOwner(false, deadline, found);
                    else
                        found({});
                });
        });
}

void BusNotifications::notify(const Message &message, std::function<void(uint)> answered)
{
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("velmora"));
    if (!message.icon.isNull())
        hints.insert(QStringLiteral("image-data"), imageData(message.icon));
    const QVariantList arguments{QStringLiteral("Velmora"),
                                 message.replaces,
                                 QStringLiteral("velmora"),
                                 message.title,
                                 escapedMarkup(message.body),
                                 QStringList{DefaultAction, message.actionLabel},
                                 hints,
                                 qint32(-1)};
    // The service is called by its owner's own name, not the shared one: the
    // one that answers is then known for sure, and with it whose signals
    // count. A reply does not say who sent it on every Qt.
    const QDeadlineTimer deadline(AnswerMs);
    m_waiting.push_back([this, arguments, deadline, answered](const QString &owner) {
        if (owner.isEmpty()) {
            answered(0);
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(owner, Path, Interface, QStringLiteral("Notify"));
        call.setArguments(arguments);
        ask(call, deadline, [this, owner, answered](const QDBusMessage &reply) {
            const uint id = reply.type() == QDBusMessage::ReplyMessage && reply.signature() == QLatin1String("u")
                ? reply.arguments().value(0).toUInt()
                : 0;
            if (id != 0)
                m_owner = owner;
            answered(id);
        });
    });
    if (m_waiting.size() > 1)
        return; // the bus is being asked already
    findOwner(true, deadline, [this](const QString &owner) {
        const auto waiting = std::move(m_waiting);
        m_waiting.clear();
        for (const auto &send : waiting)
            ignoreErrors([&] { send(owner); });
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
