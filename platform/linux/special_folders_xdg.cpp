#include "platform/linux/special_folders_xdg.h"

#include <fstream>

namespace calvora::platform::linux_os {
namespace {

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace

XdgSpecialFolders::XdgSpecialFolders(EnvironmentLookup environment)
    : m_environment(std::move(environment)) {}

std::string XdgSpecialFolders::home() const {
    auto home = m_environment("HOME");
    if (!home || home->empty() || home->front() != '/') {
        return {};
    }
    return withoutTrailingSlashes(*home);
}

std::string XdgSpecialFolders::configHome() const {
    auto config = m_environment("XDG_CONFIG_HOME");
    // The base-directory rules ignore a relative value.
    if (config && !config->empty() && config->front() == '/') {
        return withoutTrailingSlashes(*config);
    }
    std::string h = home();
    return h.empty() ? std::string() : h + "/.config";
}

std::string XdgSpecialFolders::documents() const {
    std::string h = home();
    std::string config = configHome();
    if (!config.empty()) {
        std::ifstream dirs(config + "/user-dirs.dirs");
        std::string line;
        const std::string key = "XDG_DOCUMENTS_DIR=";
        while (std::getline(dirs, line)) {
            if (line.rfind(key, 0) != 0) {
                continue;
            }
            std::string value = line.substr(key.size());
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                value = value.substr(1, value.size() - 2);
            }
            if (value.rfind("$HOME", 0) == 0 && !h.empty()) {
                value = h + value.substr(5);
            }
            if (!value.empty() && value.front() == '/') {
                return withoutTrailingSlashes(value);
            }
        }
    }
    return h;
}

std::string XdgSpecialFolders::folderPath(int csidl) {
    switch (csidl) {
        case kCsidlAppData:
            return configHome();
        case kCsidlPersonal:
            return documents();
        default:
            return {};
    }
}

}  // namespace calvora::platform::linux_os
