#pragma once

#include <filesystem>
#include <string>

namespace calvora::launcher::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Creates the folders of a relative path below this one and returns the full path.
    std::filesystem::path makeFolder(const std::filesystem::path& relative) const;
    // Creates a file with the given contents (and the folders it needs).
    std::filesystem::path makeFile(const std::filesystem::path& relative,
                                   const std::string& contents = "") const;

private:
    std::filesystem::path m_path;
};

// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

}  // namespace calvora::launcher::testing
