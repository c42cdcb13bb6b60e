#include "platform/linux/format_zeroing.h"

#include <fcntl.h>
#include <linux/falloc.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace calvora::platform::linux_os {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kMiB = 1024 * 1024;
// Direct writes are aligned to 4 KiB, which covers every logical sector size in use.
constexpr std::uint64_t kAlignment = 4096;
// The largest single write: 16 MiB in flight at once is past what USB and SD media gain from.
constexpr std::uint64_t kLargestWrite = 16 * kMiB;
constexpr std::uint64_t kSmallestPiece = 256 * 1024;
constexpr std::uint64_t kLargestPiece = 1024 * kMiB;
// Each piece of work should take about this long, so the caller hears from us at least every
// 100 ms even on a slow stick and is not called needlessly often on a fast disk.
constexpr auto kPieceTarget = std::chrono::milliseconds(50);

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// A piece of work on [offset, offset + length): the bytes it zeroed, or -1 with errno set.
using ZeroPiece = std::function<std::int64_t(std::uint64_t offset, std::uint64_t length)>;

std::string errorText(const std::string& what, std::uint64_t offset) {
    return what + " at byte " + std::to_string(offset) + ": " + std::strerror(errno);
}

// Whether the device zeroes ranges itself (WRITE ZEROES / WRITE SAME); without that,
// BLKZEROOUT writes zero pages through the kernel, no faster than our own writes.
bool deviceZeroesItself(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISBLK(status.st_mode)) {
        return false;
    }
    const std::string path = "/sys/dev/block/" + std::to_string(major(status.st_rdev)) + ":" +
                             std::to_string(minor(status.st_rdev)) +
                             "/queue/write_zeroes_max_bytes";
    std::ifstream file(path);
    // A partition has no queue of its own: its disk's counts.
    if (!file) {
        file.open("/sys/dev/block/" + std::to_string(major(status.st_rdev)) + ":" +
                  std::to_string(minor(status.st_rdev)) + "/../queue/write_zeroes_max_bytes");
    }
    std::uint64_t maximum = 0;
    file >> maximum;
    return maximum > 0;
}

ZeroResult runPieces(std::uint64_t size, std::uint64_t firstPiece, std::uint64_t granule,
                     const ZeroPiece& piece, const ZeroProgress& progress, std::string method) {
    ZeroResult result;
    result.method = std::move(method);
    if (!progress(0)) {
        result.outcome = ZeroOutcome::Stopped;
        return result;
    }
    std::uint64_t done = 0;
    std::uint64_t length = firstPiece;
    std::int32_t reported = 0;
    while (done < size) {
        const std::uint64_t want = std::min(length, size - done);
        const auto start = Clock::now();
        const std::int64_t zeroed = piece(done, want);
        if (zeroed <= 0) {
            result.outcome = ZeroOutcome::Failed;
            result.error = errorText("Writing zeros failed", done);
            return result;
        }
        done += static_cast<std::uint64_t>(zeroed);
        const auto took = Clock::now() - start;
        // Double or halve the piece toward the target time, in whole granules.
        if (took < kPieceTarget / 2 && length < kLargestPiece) {
            length *= 2;
        } else if (took > kPieceTarget * 3 / 2 && length / 2 >= std::max(kSmallestPiece, granule)) {
            length /= 2;
        }
        reported = static_cast<std::int32_t>(done * 100 / size);
        if (done < size && !progress(reported)) {
            result.outcome = ZeroOutcome::Stopped;
            return result;
        }
    }
    if (!progress(100)) {
        // Everything is zero already; the stop changes nothing now.
        result.outcome = ZeroOutcome::Done;
    }
    return result;
}

ZeroResult zeroByWrites(int fd, std::uint64_t size, const ZeroProgress& progress, bool directIo) {
    std::unique_ptr<void, FreeDeleter> buffer;
    void* memory = nullptr;
    if (posix_memalign(&memory, kAlignment, kLargestWrite) != 0) {
        ZeroResult result;
        result.outcome = ZeroOutcome::Failed;
        result.error = "Out of memory for the zero buffer";
        return result;
    }
    buffer.reset(memory);
    std::memset(memory, 0, kLargestWrite);
    ZeroPiece piece = [&](std::uint64_t offset, std::uint64_t length) -> std::int64_t {
        std::uint64_t written = 0;
        while (written < length) {
            std::uint64_t chunk = std::min(kLargestWrite, length - written);
            // The tail of a volume whose size is not a multiple of 4 KiB is still a multiple
            // of its sector, which is all O_DIRECT needs there.
            ssize_t n = pwrite(fd, memory, chunk, static_cast<off_t>(offset + written));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return written > 0 ? static_cast<std::int64_t>(written) : -1;
            }
            written += static_cast<std::uint64_t>(n);
        }
        return static_cast<std::int64_t>(written);
    };
    // No flush here: the mkfs tool that runs next flushes the device (or image) when it ends,
    // and one flush of everything costs less than two.
    return runPieces(size, kSmallestPiece, kAlignment, piece, progress,
                     directIo ? "direct writes" : "writes");
}

}  // namespace

ZeroResult zeroVolume(int fd, bool isBlockDevice, std::uint64_t size, ZeroMethod method,
                      const ZeroProgress& progress) {
    if (method == ZeroMethod::Fastest && isBlockDevice && deviceZeroesItself(fd)) {
        ZeroPiece piece = [fd](std::uint64_t offset, std::uint64_t length) -> std::int64_t {
            std::uint64_t range[2] = {offset, length};
            return ioctl(fd, BLKZEROOUT, range) == 0 ? static_cast<std::int64_t>(length) : -1;
        };
        // The first piece is small: the offload may still be slow on this device. When the
        // device refuses after all, the writes below do the whole volume.
        ZeroResult result = runPieces(size, 4 * kMiB, 512, piece, progress, "device zero-out");
        if (result.outcome != ZeroOutcome::Failed) {
            return result;
        }
    }
    if (method == ZeroMethod::Fastest && !isBlockDevice && size > 0) {
        // Holes read as zeros and cost nothing to make, where the file system under the image
        // can punch them.
        ZeroPiece piece = [fd](std::uint64_t offset, std::uint64_t length) -> std::int64_t {
            int done = fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE,
                                 static_cast<off_t>(offset), static_cast<off_t>(length));
            return done == 0 ? static_cast<std::int64_t>(length) : -1;
        };
        if (piece(0, std::min<std::uint64_t>(size, 4096)) > 0) {
            return runPieces(size, 64 * kMiB, 4096, piece, progress, "holes in the image");
        }
    }
    return zeroByWrites(fd, size, progress, isBlockDevice);
}

bool wipeSignatureAreas(int fd, std::uint64_t size) {
    void* memory = nullptr;
    if (posix_memalign(&memory, kAlignment, kMiB) != 0) {
        return false;
    }
    std::unique_ptr<void, FreeDeleter> buffer(memory);
    std::memset(memory, 0, kMiB);
    auto zero = [&](std::uint64_t offset, std::uint64_t length) {
        while (length > 0) {
            ssize_t n = pwrite(fd, memory, length, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            offset += static_cast<std::uint64_t>(n);
            length -= static_cast<std::uint64_t>(n);
        }
        return true;
    };
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        // An image file: holes are zeros at no cost.
        const std::uint64_t head = std::min(size, kMiB);
        const std::uint64_t tail = size > kMiB ? std::max(head, size - kMiB) : size;
        if (fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0,
                      static_cast<off_t>(head)) == 0 &&
            (tail >= size ||
             fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, static_cast<off_t>(tail),
                       static_cast<off_t>(size - tail)) == 0)) {
            return true;
        }
    }
    const std::uint64_t head = std::min(size, kMiB);
    bool ok = zero(0, head);
    if (size > kMiB) {
        // The last MiB, aligned down so a direct write stays aligned.
        std::uint64_t start = std::max(head, (size - kMiB) & ~(kAlignment - 1));
        ok = zero(start, size - start) && ok;
    }
    // Flushed with the file system the mkfs tool writes next.
    return ok;
}

}  // namespace calvora::platform::linux_os
