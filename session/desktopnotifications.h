#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QDBusMessage;

// The desktop's notification service on the session bus
// (org.freedesktop.Notifications): shows a notification, takes one away and
// reports the user's click and a notification's end. Every call is
// asynchronous: the program never waits for the bus.
class DesktopNotifications : public QObject
{
    Q_OBJECT
public:
    struct Message
    {
        QString title;       // plain text, as the service shows a summary
        QString body;        // plain text; escaped here, for the service reads markup in it
        QImage icon;         // may be null
        QString actionLabel; // what the service may show for a click
        uint replaces = 0;   // the service's id of the notification this one takes the place of
    };

    explicit DesktopNotifications(const QDBusConnection &bus, QObject *parent = nullptr);

    // Whether there is a session bus to send to.
    bool isConnected() const { return m_bus.isConnected(); }
    // Asks the service to show `message`; `answered` then gets the service's
    // id for it, or 0 when no service took it (none runs, or it failed).
    void notify(const Message &message, std::function<void(uint id)> answered);
    // Asks the service to take notification `id` away.
    void close(uint id);

    // How long the service has to take a notification before the program
    // shows it itself.
    static constexpr int AnswerMs = 5000;
    // The largest picture sent, in pixels each way.
    static constexpr int IconSize = 128;

signals:
    // The user clicked notification `id` (its default action).
    void clicked(uint id);
    // Notification `id` is gone from the desktop: expired, dismissed, closed.
    void closed(uint id);

private slots:
    void actionInvoked(uint id, const QString &action, const QDBusMessage &message);
    void notificationClosed(uint id, uint reason, const QDBusMessage &message);

private:
    QDBusConnection m_bus;
    // The connection that answered the last Notify: only its signals count,
    // so no other program on the bus can click or close a page's notification.
    QString m_owner;
};
