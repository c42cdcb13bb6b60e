#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace calvora::platform::linux_os {

// How reading a small text file went.
enum class ReadOutcome { Read, Missing, Failed };

struct FileText {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string text;
};

// Reads a whole file; Failed when it exists but cannot be read or exceeds maxBytes.
FileText readSmallFile(const std::string& path, std::size_t maxBytes);

// Replaces the file's content: writes a temporary file beside it, fsyncs it, renames it over
// the file and fsyncs the folder. A symbolic link is followed, so the link stays. The mode of an
// existing file is kept. False when any step fails; the old file is then untouched.
bool writeFileAtomically(const std::string& path, std::string_view content);

}  // namespace calvora::platform::linux_os
