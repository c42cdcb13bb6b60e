#pragma once

#include "platform/folder_tree.h"

namespace calvora::platform::linux_os {

// Folders and files through POSIX calls. Names compare without regard to ASCII letter case
// where the Windows calls would.
class PosixFolderTree final : public FolderTree {
public:
    bool createFolder(std::string_view path) override;
    bool folderExists(std::string_view path) override;
    std::optional<std::string> findEntry(std::string_view folder, std::string_view name) override;
    std::vector<std::string> findFiles(std::string_view folder, std::string_view suffix) override;
    std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) override;
};

}  // namespace calvora::platform::linux_os
