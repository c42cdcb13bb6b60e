#include "platform/fake/fake_discovery.h"

#include "platform/ascii_case.h"

namespace calvora::platform::fake {

std::u16string FakeDriveShell::displayName(std::string_view root) {
    askedNames.emplace_back(root);
    auto it = names.find(std::string(root));
    if (it != names.end()) {
        return it->second;
    }
    std::u16string name = u"Drive (";
    name += static_cast<char16_t>(root.empty() ? '?' : root[0]);
    name += u":)";
    return name;
}

std::string FakeDriveShell::iconName(std::string_view root) {
    auto it = icons.find(std::string(root));
    return it == icons.end() ? "drive-removable-media-usb" : it->second;
}

void FakeDeviceNotifications::send(const DeviceChange& change) {
    if (m_handler) {
        m_handler(change);
    }
}

RegistryKeyView* FakeMachineRegistry::find(std::string_view path) {
    for (auto& [keyPath, view] : keys) {
        if (equalsIgnoringAsciiCase(keyPath, path)) {
            return &view;
        }
    }
    return nullptr;
}

RegistryKeyView& FakeMachineRegistry::add(const std::string& path) {
    if (RegistryKeyView* existing = find(path)) {
        return *existing;
    }
    const std::size_t slash = path.rfind('\\');
    if (slash != std::string::npos) {
        RegistryKeyView& parent = add(path.substr(0, slash));
        parent.subkeys.push_back(path.substr(slash + 1));
    }
    keys.emplace_back(path, RegistryKeyView{});
    return keys.back().second;
}

std::optional<RegistryKeyView> FakeMachineRegistry::openKey(std::string_view path) {
    openedPaths.emplace_back(path);
    RegistryKeyView* view = find(path);
    return view ? std::optional<RegistryKeyView>(*view) : std::nullopt;
}

}  // namespace calvora::platform::fake
