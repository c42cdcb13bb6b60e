#pragma once

#include <QObject>

#include "platform/device_notifications.h"

class QSocketNotifier;

namespace calvora::drives {

// Lets the event loop deliver device notifications: watches the notifications' descriptor and
// dispatches what is pending on the user-interface thread.
class DeviceNotificationPump final : public QObject {
    Q_OBJECT

public:
    explicit DeviceNotificationPump(platform::DeviceNotifications& notifications,
                                    QObject* parent = nullptr);

private:
    platform::DeviceNotifications& m_notifications;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace calvora::drives
