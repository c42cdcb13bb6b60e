#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/linux/linux_file_operations.h"

namespace calvora::platform::linux_os {
namespace {

class LinuxByteFile final : public ByteFile {
public:
    explicit LinuxByteFile(int fd) : m_fd(fd) {}
    ~LinuxByteFile() override { close(); }
    LinuxByteFile(const LinuxByteFile&) = delete;
    LinuxByteFile& operator=(const LinuxByteFile&) = delete;

    std::optional<std::uint64_t> size() override {
        struct stat info {};
        if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(info.st_size);
    }

    bool read(std::uint64_t position, std::span<char> bytes) override {
        std::size_t done = 0;
        while (m_fd >= 0 && done < bytes.size()) {
            ssize_t n = ::pread(m_fd, bytes.data() + done, bytes.size() - done,
                                static_cast<off_t>(position + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;  // an error, or the file ends first
            }
            done += static_cast<std::size_t>(n);
        }
        return m_fd >= 0;
    }

    bool write(std::uint64_t position, std::span<const char> bytes) override {
        std::size_t done = 0;
        while (m_fd >= 0 && done < bytes.size()) {
            ssize_t n = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(position + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return m_fd >= 0;
    }

    bool close() override {
        if (m_fd < 0) {
            return true;
        }
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

}  // namespace

std::unique_ptr<ByteFile> LinuxByteFiles::openExisting(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return nullptr;
    }
    const std::string name(path);
    // Only plain files: a device or a pipe behind the name is never opened, let alone written.
    struct stat before {};
    if (::stat(name.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return nullptr;
    }
    int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<LinuxByteFile>(fd);
}

}  // namespace calvora::platform::linux_os
