#include "desktopnotifications.h"

// No notification service to reach on this platform: the program shows
// every notification itself.
DesktopNotifications *DesktopNotifications::make(QObject *parent)
{
    Q_UNUSED(parent);
    return nullptr;
}
