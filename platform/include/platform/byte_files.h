#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace calvora::platform {

// An existing file opened for reading and writing as a sequence of bytes (a file of Byte
// opened with Reset in read-write mode). Closed when destroyed, if close() was not called.
class ByteFile {
public:
    virtual ~ByteFile() = default;

    // FileSize.
    virtual std::optional<std::uint64_t> size() = 0;
    // Seek + BlockRead: exactly bytes.size() bytes from position; false on any error or when
    // the file ends before them.
    virtual bool read(std::uint64_t position, std::span<char> bytes) = 0;
    // Seek + BlockWrite: all of bytes at position; writing past the end extends the file.
    virtual bool write(std::uint64_t position, std::span<const char> bytes) = 0;
    // CloseFile: false when the data could not be written out.
    virtual bool close() = 0;
};

// Byte-level access to existing files.
class ByteFiles {
public:
    virtual ~ByteFiles() = default;

    // AssignFile + Reset: null when the file does not exist or cannot be opened for both
    // reading and writing. Never creates a file.
    virtual std::unique_ptr<ByteFile> openExisting(std::string_view path) = 0;
};

}  // namespace calvora::platform
