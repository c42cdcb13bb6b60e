#include "settings/Unit_specialfolder.h"

namespace calvora::settings {
namespace {

constexpr std::string_view kProductFolder = "Calvora";

// The name as it is spelt on disk when an entry of that name exists in folder (letter case
// ignored); the name itself otherwise.
std::string onDisk(platform::FolderTree& tree, const std::string& folder, std::string_view name) {
    auto found = tree.findEntry(folder.empty() ? std::string(".") : folder, name);
    return found ? *found : std::string(name);
}

}  // namespace

std::string SpecialFolderPath(platform::SpecialFolders& folders, int csidl) {
    std::string path = folders.folderPath(csidl);
    const char delimiter = folders.pathDelimiter();
    if (!path.empty() && path.back() != delimiter) {
        path.push_back(delimiter);
    }
    return path;
}

std::string ConfigFolder(platform::SpecialFolders& folders, platform::FolderTree& tree,
                         std::string_view makerSpelling) {
    const char delimiter = folders.pathDelimiter();
    std::string base = SpecialFolderPath(folders, platform::kCsidlAppData);
    std::string maker = base + onDisk(tree, base, makerSpelling);
    std::string product = maker + delimiter + onDisk(tree, maker, kProductFolder);
    return product + delimiter;
}

std::string EnsureConfigFolder(platform::SpecialFolders& folders, platform::FolderTree& tree) {
    std::string config = ConfigFolder(folders, tree);
    const char delimiter = folders.pathDelimiter();
    for (std::size_t pos = config.find(delimiter, 1); pos != std::string::npos;
         pos = config.find(delimiter, pos + 1)) {
        std::string prefix = config.substr(0, pos);
        if (!tree.folderExists(prefix)) {
            tree.createFolder(prefix);
        }
    }
    return config;
}

}  // namespace calvora::settings
