#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calvora::platform {

// The few file and folder services the settings need. Paths use the delimiter of
// SpecialFolders::pathDelimiter().
class FolderTree {
public:
    virtual ~FolderTree() = default;

    // CreateDirectoryA: creates one folder. True when it exists afterwards.
    virtual bool createFolder(std::string_view path) = 0;
    // GetFileAttributesA with FILE_ATTRIBUTE_DIRECTORY.
    virtual bool folderExists(std::string_view path) = 0;
    // FindFirstFileA on folder + name: the stored spelling of the entry whose name equals name
    // without regard to letter case (an exact match wins); empty when there is none. On Windows
    // this is the name itself; on a case-sensitive file system it finds "DORVANTE" for
    // "dorvante".
    virtual std::optional<std::string> findEntry(std::string_view folder,
                                                 std::string_view name) = 0;
    // FindFirstFileA/FindNextFileA on folder + "*" + suffix, without sub-folders: the names of
    // the regular files whose name ends in suffix (letter case ignored), in the order of the
    // search, which is by name without regard to letter case.
    virtual std::vector<std::string> findFiles(std::string_view folder,
                                               std::string_view suffix) = 0;
    // CreateFileA + ReadFile: the whole content of a file; empty when it cannot be read or is
    // larger than maxBytes.
    virtual std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) = 0;
};

}  // namespace calvora::platform
