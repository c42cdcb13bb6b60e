#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/byte_files.h"

namespace calvora::controls {

// Overwrites, in place inside a file, each occurrence of one byte string with another.
//
// The result is, byte for byte, that of examining every start position p from 0 to
// S - L - 1 in order (S the size of the file at the start, L the length of OldString),
// reading the L bytes at p as the file is at that moment, and writing NewString at p when they
// equal OldString. So bytes just written are examined again ("aaaa" with "a" -> "ba" gives
// "bbba"), a longer NewString overwrites what follows the match and may extend the file, and
// an occurrence that ends exactly at the end of the file is not replaced.
//
// The file is held through one window of fixed size (never the whole file), scanned in
// memory; only the changed bytes are written back.
class Tdorvreplacer final {
public:
    static constexpr std::size_t kDefaultWindowBytes = 64 * 1024;

    // windowBytes: the window's size; it always holds at least twice the longer string.
    explicit Tdorvreplacer(platform::ByteFiles& files,
                           std::size_t windowBytes = kDefaultWindowBytes);

    std::string FilePath;
    std::string OldString;
    std::string NewString;
    // Called after each window with the positions examined so far and the number to examine;
    // lets the caller keep its window responsive. The file stays open meanwhile.
    std::function<void(std::uint64_t examined, std::uint64_t total)> OnProgress;

    // Rewrites FilePath. True when there was nothing to do (an empty property) or the run
    // completed; false when the file is missing, cannot be opened for writing, or a read or
    // write failed. What was replaced before a failure stays in the file.
    bool Replace();

private:
    platform::ByteFiles& m_files;
    std::size_t m_windowBytes;
};

}  // namespace calvora::controls
