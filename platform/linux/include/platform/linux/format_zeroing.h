#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace calvora::platform::linux_os {

enum class ZeroMethod {
    // The kernel's zero-out where the device does it itself, holes for image files, large
    // direct writes otherwise.
    Fastest,
    // Always large aligned direct writes (a measure of the plain path).
    Writes,
};

enum class ZeroOutcome { Done, Stopped, Failed };

struct ZeroResult {
    ZeroOutcome outcome = ZeroOutcome::Done;
    std::string error;   // when Failed
    std::string method;  // what did the work, for the report
};

// Receives the percentage done; false stops the zeroing at once.
using ZeroProgress = std::function<bool(std::int32_t percent)>;

// Overwrites bytes [0, size) of the open volume with zeros. Reports 0 first and 100 at the
// end, and in between after every piece of work, each sized to take about 50 ms. fd is open
// for reading and writing; a block device's fd is open with O_DIRECT.
ZeroResult zeroVolume(int fd, bool isBlockDevice, std::uint64_t size, ZeroMethod method,
                      const ZeroProgress& progress);

// Zeros the first and last MiB, where other file systems and partition tables keep the
// signatures that would make blkid see two kinds on one volume.
bool wipeSignatureAreas(int fd, std::uint64_t size);

}  // namespace calvora::platform::linux_os
