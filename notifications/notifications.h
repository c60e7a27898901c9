#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class DesktopNotifications;
class NotificationPopup;
class SiteAnswers;
class QUrl;
class QWebEngineNotification;
class QWidget;

// Shows what sites notify: through the desktop's notification service where
// one answers on the session bus, otherwise in small popups stacked in the
// bottom-right corner of the main window; either way each names its site.
// It owns each notification the engine hands it until the notification
// ends: closed by the user, the desktop or the page, replaced by a newer one
// of the same site and tag, or pushed out by newer ones. A site (a
// registrable domain, as the page rules count them) that notifies faster
// than its rate allows has the extra ones closed unshown.
class Notifications : public QObject
{
    Q_OBJECT
public:
    // `sites` tells which site an address belongs to; it outlives this.
    explicit Notifications(const SiteAnswers &sites, QObject *parent = nullptr);
    ~Notifications() override;

    // The window popups appear in and a click on a notification brings up.
    // Without one, a notification that needs a popup is closed at once.
    void setWindow(QWidget *window);
    // Takes `notification` from the engine and shows it.
    void present(std::unique_ptr<QWebEngineNotification> notification);

    // How many notifications are shown or on their way to the desktop.
    int count() const { return int(m_shown.size()); }
    // The popups shown, oldest first.
    QList<NotificationPopup *> popups() const;

    // At most this many are kept; a newer one closes the oldest of the site
    // that has the most, so that one site's flood never takes another's
    // last one.
    static constexpr int MaxShown = 20;
    // Each site may show this many at once, then one more each RefillMs;
    // one site's flood takes nothing from another's.
    static constexpr int BurstPerSite = 5;
    static constexpr int RefillMs = 1000;
    // Sets the clock the rate is measured by, in milliseconds (a test's own);
    // by default the time since this object was made.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    // Popups shown at once; as with MaxShown, the site with the most loses one.
    static constexpr int MaxPopups = 4;
    // How long a popup stays, unless the pointer rests on it.
    static constexpr int PopupMs = 6000;
    // Sets how long the popups shown from now on stay.
    void setPopupTime(int ms) { m_popupMs = ms; }
    // The longest title and text shown, in characters.
    static constexpr int TitleLength = 200;
    static constexpr int BodyLength = 600;

    // `text` cut to `length` characters, an ellipsis where it was cut.
    static QString shortened(const QString &text, int length);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Shown
    {
        quint64 key;
        QString site; // the registrable domain its rate and share are counted for
        std::unique_ptr<QWebEngineNotification> notification;
        uint serviceId = 0; // the desktop's id, once it has taken it
        QPointer<NotificationPopup> popup;
    };
    using Iterator = std::vector<Shown>::iterator;

    // A site's allowance: `level` thousandths of a notification at `at`.
    struct Allowance
    {
        qint64 level;
        qint64 at;
    };

    // Whether `site` may show one more now; if so it is counted.
    bool allowed(const QString &site);
    Iterator find(quint64 key);
    // The oldest of those `counted` takes, of the site that has the most of
    // them (of two with as many, the one shown first).
    Iterator crowded(const std::function<bool(const Shown &)> &counted);
    Iterator findServiceId(uint id);
    DesktopNotifications *service();
    void send(quint64 key, uint replaces);
    void answered(quint64 key, uint id);
    // Asks the desktop to take notification `id` (0: none) away.
    void closeOnDesktop(uint id);
    void showPopup(quint64 key);
    void clicked(Iterator shown);
    // Ends a notification: the desktop or the popup takes it away; the page
    // is told when `tellPage`.
    void end(Iterator shown, bool tellPage, bool tellService = true);
    // Deletes `notification` once control is back in the event loop.
    void retire(std::unique_ptr<QWebEngineNotification> notification);
    void placePopups();
    void raiseWindow();

    const SiteAnswers &m_sites;
    std::vector<Shown> m_shown; // oldest first
    std::vector<std::unique_ptr<QWebEngineNotification>> m_ended; // deleted when control is back in the event loop
    quint64 m_nextKey = 1;
    int m_popupMs = PopupMs;
    QPointer<QWidget> m_window;
    DesktopNotifications *m_service = nullptr;
    QHash<QString, Allowance> m_allowances; // sites below their full allowance
    std::function<qint64()> m_clock;
    QElapsedTimer m_started;
};
