#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

// The desktop's notification service (org.freedesktop.Notifications on the
// session bus): shows a notification, takes one away and reports the user's
// click and a notification's end. Every call is asynchronous: the program
// never waits for the service. Where the program has no way to reach one,
// there is none and the program shows notifications itself.
class DesktopNotifications : public QObject
{
    Q_OBJECT
public:
    struct Message
    {
        QString title;       // plain text, as the service shows a summary
        QString body;        // plain text; escaped on the way, for the service reads markup in it
        QImage icon;         // may be null
        QString actionLabel; // what the service may show for a click
        uint replaces = 0;   // the service's id of the notification this one takes the place of
    };

    // The service on the session bus, owned by `parent`; null on a platform
    // without one.
    static DesktopNotifications *make(QObject *parent);

    // Whether there is a bus to send to.
    virtual bool isConnected() const = 0;
    // Asks the service to show `message`; `answered` then gets the service's
    // id for it, or 0 when no service took it (none runs, or it failed).
    virtual void notify(const Message &message, std::function<void(uint id)> answered) = 0;
    // Asks the service to take notification `id` away.
    virtual void close(uint id) = 0;

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

protected:
    using QObject::QObject;
};
