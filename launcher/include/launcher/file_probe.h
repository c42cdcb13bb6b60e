#pragma once

#include <string_view>

namespace calvora::launcher {

// Whether a path names a file of the main program.
class FileProbe {
public:
    virtual ~FileProbe() = default;

    // FileExists (GetFileAttributesA without FILE_ATTRIBUTE_DIRECTORY): true when the path,
    // resolved against the current folder, names an existing file. A folder never counts.
    virtual bool fileExists(std::string_view path) = 0;
};

}  // namespace calvora::launcher
