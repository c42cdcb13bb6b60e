#include "drives/device_notification_pump.h"

#include <QSocketNotifier>

namespace calvora::drives {

DeviceNotificationPump::DeviceNotificationPump(platform::DeviceNotifications& notifications,
                                               QObject* parent)
    : QObject(parent), m_notifications(notifications) {
    const int descriptor = m_notifications.pollDescriptor();
    if (descriptor < 0) {
        return;  // notifications arrive as window messages, or not at all
    }
    m_notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this,
            [this] { m_notifications.dispatchPending(); });
}

}  // namespace calvora::drives
