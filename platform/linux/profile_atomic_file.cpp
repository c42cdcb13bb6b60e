#include "platform/linux/profile_atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace calvora::platform::linux_os {
namespace {

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a symbolic link points to, so that the link itself survives the rename.
std::string resolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return path;
    }
    return resolved;
}

}  // namespace

FileText readSmallFile(const std::string& path, std::size_t maxBytes) {
    FileText result;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.outcome =
            (errno == ENOENT || errno == ENOTDIR) ? ReadOutcome::Missing : ReadOutcome::Failed;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        result.outcome = ReadOutcome::Failed;
        return result;
    }
    result.outcome = ReadOutcome::Read;
    char buffer[8192];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result.outcome = ReadOutcome::Failed;
            break;
        }
        if (n == 0) {
            break;
        }
        result.text.append(buffer, static_cast<std::size_t>(n));
        if (result.text.size() > maxBytes) {
            result.outcome = ReadOutcome::Failed;
            break;
        }
    }
    ::close(fd);
    if (result.outcome != ReadOutcome::Read) {
        result.text.clear();
    }
    return result;
}

bool writeFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = resolveLink(path);
    std::string pattern = target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    }
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(name.data(), target.c_str()) != 0) {
        ::unlink(name.data());
        return false;
    }
    int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace calvora::platform::linux_os
