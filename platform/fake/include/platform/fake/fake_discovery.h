#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/device_notifications.h"
#include "platform/drive_shell.h"
#include "platform/machine_registry.h"

namespace calvora::platform::fake {

// Display names and icons by root; a root without an entry gets "Drive (X:)".
class FakeDriveShell final : public DriveShell {
public:
    std::map<std::string, std::u16string> names;
    std::map<std::string, std::string> icons;
    std::vector<std::string> askedNames;

    std::u16string displayName(std::string_view root) override;
    std::string iconName(std::string_view root) override;
};

// Notifications a test sends by hand.
class FakeDeviceNotifications final : public DeviceNotifications {
public:
    void subscribe(Handler handler) override { m_handler = std::move(handler); }
    void unsubscribe() override { m_handler = nullptr; }
    int pollDescriptor() const override { return -1; }
    void dispatchPending() override {}

    bool subscribed() const { return static_cast<bool>(m_handler); }
    // Delivers one message, as the window procedure would receive it.
    void send(const DeviceChange& change);

private:
    Handler m_handler;
};

// Keys by path (compared without regard to case), each with its subkeys and values.
class FakeMachineRegistry final : public MachineRegistry {
public:
    std::deque<std::pair<std::string, RegistryKeyView>> keys;  // stable references
    std::vector<std::string> openedPaths;

    // Adds a key and lists it under its parent, in the order of the calls.
    RegistryKeyView& add(const std::string& path);
    std::optional<RegistryKeyView> openKey(std::string_view path) override;

private:
    RegistryKeyView* find(std::string_view path);
};

}  // namespace calvora::platform::fake
