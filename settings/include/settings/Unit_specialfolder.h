#pragma once

#include <string>
#include <string_view>

#include "platform/folder_tree.h"
#include "platform/special_folders.h"

namespace calvora::settings {

// The folder's path ending in the path delimiter, or empty text when the shell cannot resolve
// it.
std::string SpecialFolderPath(platform::SpecialFolders& folders, int csidl);

// Application data + maker folder + "Calvora" + delimiter. makerSpelling is "dorvante" for the
// main window and "DORVANTE" for the splash step; both reach the same folder: an existing
// folder whose name differs only in letter case is taken as it is spelt on disk.
std::string ConfigFolder(platform::SpecialFolders& folders, platform::FolderTree& tree,
                         std::string_view makerSpelling = "dorvante");

// ConfigFolder, with every missing folder along it created. A folder that cannot be created is
// not reported: the first write into it is.
std::string EnsureConfigFolder(platform::SpecialFolders& folders, platform::FolderTree& tree);

}  // namespace calvora::settings
