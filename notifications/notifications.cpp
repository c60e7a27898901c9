#include "notifications.h"

#include "desktopnotifications.h"
#include "errorpolicy.h"
#include "notificationpopup.h"
#include "siteanswers.h"

#include <QEvent>
#include <QUrl>
#include <QWebEngineNotification>
#include <QWidget>

#include <algorithm>

namespace {
constexpr int PopupMargin = 8; // pixels from the window's edge and between popups
// A site's whole allowance, in thousandths of a notification.
constexpr qint64 FullAllowance = qint64(Notifications::BurstPerSite) * Notifications::RefillMs;
} // namespace

QString Notifications::shortened(const QString &text, int length)
{
    if (text.size() <= length)
        return text;
    int cut = length - 1;
    // Never half a surrogate pair.
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

Notifications::Notifications(const SiteAnswers &sites, QObject *parent) : QObject(parent), m_sites(sites)
{
    m_started.start();
}

Notifications::~Notifications()
{
    // The popups belong to the window; the notifications end with the program
    // and the page is not told.
    for (Shown &shown : m_shown)
        delete shown.popup;
}

void Notifications::setWindow(QWidget *window)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
}

QList<NotificationPopup *> Notifications::popups() const
{
    QList<NotificationPopup *> out;
    for (const Shown &shown : m_shown) {
        if (shown.popup)
            out << shown.popup;
    }
    return out;
}

bool Notifications::allowed(const QString &site)
{
    const qint64 now = m_clock ? m_clock() : m_started.elapsed();
    // What each site has regained since it last notified; sites back at
    // their full allowance need no entry.
    const auto level = [now](const Allowance &allowance) {
        return std::min(FullAllowance, allowance.level + std::max<qint64>(0, now - allowance.at));
    };
    qint64 left = FullAllowance;
    if (const auto known = m_allowances.constFind(site); known != m_allowances.constEnd())
        left = level(*known);
    m_allowances.removeIf(
        [&](QHash<QString, Allowance>::iterator entry) { return level(entry.value()) >= FullAllowance; });
    const bool may = left >= RefillMs;
    if (may)
        left -= RefillMs;
    if (left < FullAllowance)
        m_allowances.insert(site, Allowance{left, now});
    return may;
}

Notifications::Iterator Notifications::find(quint64 key)
{
    return std::find_if(m_shown.begin(), m_shown.end(), [key](const Shown &s) { return s.key == key; });
}

Notifications::Iterator Notifications::crowded(const std::function<bool(const Shown &)> &counted)
{
    QHash<QString, int> counts;
    int most = 0;
    for (const Shown &shown : m_shown) {
        if (counted(shown))
            most = std::max(most, ++counts[shown.site]);
    }
    // Only when every site has one does a site's last one go: the oldest of
    // all, else a desktop that keeps notifications until they are dismissed
    // would let no new site notify.
    return std::find_if(m_shown.begin(), m_shown.end(),
                        [&](const Shown &s) { return counted(s) && counts.value(s.site) == most; });
}

Notifications::Iterator Notifications::findServiceId(uint id)
{
    return std::find_if(m_shown.begin(), m_shown.end(),
                        [id](const Shown &s) { return id != 0 && s.serviceId == id; });
}

DesktopNotifications *Notifications::service()
{
    // The bus is first looked at when a site first notifies, not at start-up.
    if (!m_service) {
        m_service = DesktopNotifications::make(this);
        if (!m_service)
            return nullptr;
        connect(m_service, &DesktopNotifications::clicked, this, [this](uint id) {
            ignoreErrors([&] {
                const Iterator shown = findServiceId(id);
                if (shown != m_shown.end())
                    clicked(shown);
            });
        });
        connect(m_service, &DesktopNotifications::closed, this, [this](uint id) {
            ignoreErrors([&] {
                const Iterator shown = findServiceId(id);
                if (shown != m_shown.end())
                    end(shown, true, false);
            });
        });
    }
    return m_service->isConnected() ? m_service : nullptr;
}

void Notifications::present(std::unique_ptr<QWebEngineNotification> notification)
{
    if (!notification)
        return;
    const QString site = m_sites.keyOf(notification->origin(), SiteKey::Domain);
    if (!allowed(site)) {
        // It never reaches the desktop, and the page hears that it closed:
        // the engine gives no way to tell a page its notification failed.
        notification->close();
        retire(std::move(notification));
        return;
    }
    const bool toDesktop = service() != nullptr;
    // A newer notification of the same site and tag takes the place of the
    // older one (on the desktop, in the same place); the engine tells the
    // page that the older one closed.
    uint replaces = 0;
    if (!notification->tag().isEmpty()) {
        const auto older = std::find_if(m_shown.begin(), m_shown.end(), [&](const Shown &s) {
            return s.notification->matches(notification.get());
        });
        if (older != m_shown.end()) {
            replaces = toDesktop ? older->serviceId : 0;
            end(older, false, replaces == 0);
        }
    }
    const quint64 key = m_nextKey++;
    connect(notification.get(), &QWebEngineNotification::closed, this, [this, key] {
        // The page closed it itself.
        ignoreErrors([&] {
            const Iterator shown = find(key);
            if (shown != m_shown.end())
                end(shown, false);
        });
    });
    m_shown.push_back(Shown{key, site, std::move(notification), 0, {}});
    // A site that floods loses its own oldest notifications, not another's.
    while (m_shown.size() > size_t(MaxShown))
        end(crowded([](const Shown &) { return true; }), true);
    if (toDesktop)
        send(key, replaces);
    else
        showPopup(key);
}

void Notifications::send(quint64 key, uint replaces)
{
    const Iterator shown = find(key);
    const QWebEngineNotification &notification = *shown->notification;
    DesktopNotifications::Message message;
    message.title = shortened(notification.title(), TitleLength);
    // The site first, where the page's own text cannot push it out of view.
    message.body = SiteAnswers::siteOf(notification.origin());
    if (!notification.message().isEmpty())
        message.body += u'\n' + shortened(notification.message(), BodyLength);
    message.icon = notification.icon();
    message.actionLabel = tr("Show");
    message.replaces = replaces;
    m_service->notify(message, [this, key](uint id) { answered(key, id); });
}

void Notifications::closeOnDesktop(uint id)
{
    if (id != 0 && m_service)
        m_service->close(id);
}

void Notifications::answered(quint64 key, uint id)
{
    const Iterator shown = find(key);
    if (shown == m_shown.end()) {
        // Ended while on its way: the desktop takes it away again.
        closeOnDesktop(id);
        return;
    }
    if (id == 0) {
        showPopup(key);
        return;
    }
    shown->serviceId = id;
    shown->notification->show();
}

void Notifications::showPopup(quint64 key)
{
    Iterator shown = find(key);
    if (!m_window) {
        end(shown, true);
        return;
    }
    const QWebEngineNotification &notification = *shown->notification;
    auto *popup = new NotificationPopup(shortened(notification.title(), TitleLength),
                                        shortened(notification.message(), BodyLength),
                                        SiteAnswers::siteOf(notification.origin()), notification.icon(), m_popupMs,
                                        m_window);
    shown->popup = popup;
    connect(popup, &NotificationPopup::clicked, this, [this, key] {
        ignoreErrors([&] {
            const Iterator clickedOn = find(key);
            if (clickedOn == m_shown.end())
                return;
            clicked(clickedOn);
            // A click takes the popup away, as the desktop's own do.
            const Iterator after = find(key);
            if (after != m_shown.end())
                end(after, true);
        });
    });
    connect(popup, &NotificationPopup::dismissed, this, [this, key] {
        ignoreErrors([&] {
            const Iterator dismissed = find(key);
            if (dismissed != m_shown.end())
                end(dismissed, true);
        });
    });
    shown->notification->show();
    // Room for a few: the oldest popup of the site with the most goes.
    for (int extra = popups().size() - MaxPopups; extra > 0; --extra)
        end(crowded([](const Shown &s) { return !s.popup.isNull(); }), true);
    placePopups();
    popup->show();
    popup->raise();
}

void Notifications::clicked(Iterator shown)
{
    QWebEngineNotification *notification = shown->notification.get();
    raiseWindow();
    notification->click();
}

void Notifications::end(Iterator shown, bool tellPage, bool tellService)
{
    Shown gone = std::move(*shown);
    m_shown.erase(shown);
    if (tellService)
        closeOnDesktop(gone.serviceId);
    if (gone.popup) {
        gone.popup->hide();
        gone.popup->deleteLater();
        placePopups();
    }
    if (tellPage)
        gone.notification->close();
    retire(std::move(gone.notification));
}

void Notifications::retire(std::unique_ptr<QWebEngineNotification> notification)
{
    // This may run inside one of the notification's own signals: it is
    // deleted once that is over, and always before the profile.
    if (m_ended.empty())
        QMetaObject::invokeMethod(this, [this] { m_ended.clear(); }, Qt::QueuedConnection);
    m_ended.push_back(std::move(notification));
}

void Notifications::placePopups()
{
    if (!m_window)
        return;
    // The oldest at the bottom, newer ones above it.
    int bottom = m_window->height() - PopupMargin;
    for (NotificationPopup *popup : popups()) {
        popup->move(m_window->width() - PopupMargin - popup->width(), bottom - popup->height());
        bottom -= popup->height() + PopupMargin;
    }
}

void Notifications::raiseWindow()
{
    if (!m_window)
        return;
    QWidget *window = m_window->window();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

bool Notifications::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        ignoreErrors([this] { placePopups(); });
    return QObject::eventFilter(watched, event);
}
