#pragma once

#include <string>

namespace calvora::platform {

// Shell folder identifiers (CSIDL) the program asks for.
constexpr int kCsidlPersonal = 5;
constexpr int kCsidlAppData = 26;

// The shell's special folders.
class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;

    // SHGetSpecialFolderLocation + SHGetPathFromIDListA: the folder's path, at most 260
    // characters, with or without a trailing delimiter; empty when the shell cannot resolve it.
    virtual std::string folderPath(int csidl) = 0;
    // The delimiter of the paths above: '\\' on Windows, '/' on Linux.
    virtual char pathDelimiter() const = 0;
};

}  // namespace calvora::platform
