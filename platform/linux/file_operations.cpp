#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/linux/linux_file_operations.h"

namespace calvora::platform::linux_os {
namespace {

namespace fs = std::filesystem;

int resultOf(int error) {
    switch (error) {
        case 0:
            return 0;
        case ENOENT:
        case ENOTDIR:
            return kFileOpFileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return kFileOpAccessDenied;
        case ENOSPC:
        case EDQUOT:
            return kFileOpDiskFull;
        case EEXIST:
        case ENOTEMPTY:
            return kFileOpAlreadyExists;
        default:
            return kFileOpFailed;
    }
}

int resultOf(const std::error_code& error) {
    return error ? resultOf(error.value()) : 0;
}

bool present(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

// "a/b/" and "a/b" name the same item; only the second has a file name.
fs::path withoutTrailingSeparators(std::string name) {
    while (name.size() > 1 && name.back() == '/') {
        name.pop_back();
    }
    return fs::path(name);
}

// "name (2).ext", "name (3).ext", ...: the first that is free.
fs::path freeNameFor(const fs::path& target) {
    const fs::path folder = target.parent_path();
    const std::string stem = target.stem().string();
    const std::string extension = target.extension().string();
    for (int n = 2;; ++n) {
        fs::path candidate = folder / (stem + " (" + std::to_string(n) + ")" + extension);
        if (!present(candidate)) {
            return candidate;
        }
    }
}

bool isInside(const fs::path& inner, const fs::path& outer) {
    std::error_code error;
    const fs::path a = fs::weakly_canonical(inner, error);
    const fs::path b = fs::weakly_canonical(outer, error);
    if (error) {
        return false;
    }
    auto [endB, endA] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
    return endB == b.end();
}

int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Copies the bytes, the permission bits and the times of a file into a temporary file beside
// the target and renames it into place: the target is the old file or the whole copy.
int copyFile(const fs::path& source, const fs::path& target) {
    // Non-blocking, so that a pipe behind the name cannot hang the copy; a plain file reads the
    // same.
    int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) {
        return resultOf(errno);
    }
    struct stat info {};
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(in);
        return kFileOpNotSupported;
    }
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        int error = errno;
        ::close(in);
        return resultOf(error);
    }
    int error = 0;
    char buffer[64 * 1024];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0) {
            break;
        }
        error = writeAll(out, buffer, static_cast<std::size_t>(n));
        if (error != 0) {
            break;
        }
    }
    ::close(in);
    if (error == 0) {
        // Some file systems (FAT) keep no permission bits; the copy is still good.
        (void)::fchmod(out, info.st_mode & 07777);
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        (void)::futimens(out, times);
        // The copy is often made onto a stick the user pulls out right after.
        if (::fsync(out) != 0) {
            error = errno;
        }
    }
    if (::close(out) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return resultOf(error);
}

// Copies a folder into target, merging with what is there when replacing is allowed.
int copyTree(const fs::path& source, const fs::path& target, bool replace) {
    std::error_code error;
    const fs::file_status targetStatus = fs::symlink_status(target, error);
    if (!fs::exists(targetStatus)) {
        if (!fs::create_directory(target, source, error)) {
            return error ? resultOf(error) : kFileOpFailed;
        }
    } else if (!fs::is_directory(targetStatus) || !replace) {
        return kFileOpAlreadyExists;
    }
    for (fs::directory_iterator it(source, error), end; !error && it != end; it.increment(error)) {
        const fs::path from = it->path();
        const fs::path to = target / from.filename();
        const fs::file_status status = it->symlink_status(error);
        if (error) {
            break;
        }
        int result = 0;
        if (fs::is_symlink(status)) {
            if (present(to)) {
                if (!replace || fs::is_directory(fs::symlink_status(to, error))) {
                    return kFileOpAlreadyExists;
                }
                fs::remove(to, error);
            }
            if (!error) {
                fs::copy_symlink(from, to, error);
            }
        } else if (fs::is_directory(status)) {
            result = copyTree(from, to, replace);
        } else if (fs::is_regular_file(status)) {
            if (present(to) && (!replace || fs::is_directory(fs::symlink_status(to, error)))) {
                return kFileOpAlreadyExists;
            }
            result = copyFile(from, to);
        } else {
            result = kFileOpNotSupported;  // devices, pipes and sockets are not copied
        }
        if (result != 0) {
            return result;
        }
        if (error) {
            break;
        }
    }
    return resultOf(error);
}

int copyItem(const fs::path& source, const fs::path& target, bool replace) {
    std::error_code error;
    if (fs::is_directory(source, error)) {
        return copyTree(source, target, replace);
    }
    if (present(target) && fs::is_directory(fs::symlink_status(target, error))) {
        return kFileOpAlreadyExists;  // a file never replaces a folder
    }
    return copyFile(source, target);
}

struct Target {
    int result = 0;
    fs::path path;
};

// Where a copy or move of source into `to` ends up, after the collision rules.
Target targetFor(const fs::path& source, const std::string& to, std::uint16_t flags) {
    std::error_code error;
    fs::path target = withoutTrailingSeparators(to);
    if (fs::is_directory(target, error)) {
        target /= source.filename();
    } else if (!target.parent_path().empty()) {
        fs::create_directories(target.parent_path(), error);
        if (error) {
            return {resultOf(error), {}};
        }
    }
    if (!present(target)) {
        return {0, target};
    }
    const bool same = fs::equivalent(source, target, error);
    if ((flags & kFofRenameOnCollision) != 0) {
        return {0, freeNameFor(target)};
    }
    if (same) {
        return {kFileOpSameFile, {}};
    }
    if ((flags & kFofNoConfirmation) == 0) {
        return {kFileOpAlreadyExists, {}};
    }
    return {0, target};
}

int copyOrMove(const FileOperationRequest& request, bool move) {
    if (request.to.empty()) {
        return kFileOpInvalidParameter;
    }
    const fs::path source = withoutTrailingSeparators(request.from);
    std::error_code error;
    const fs::file_status status = fs::status(source, error);
    if (!fs::exists(status)) {
        return kFileOpFileNotFound;
    }
    Target target = targetFor(source, request.to, request.flags);
    if (target.result != 0) {
        return target.result;
    }
    if (fs::is_directory(status) && isInside(target.path, source)) {
        return kFileOpDestSubtree;
    }
    const bool replace = (request.flags & kFofNoConfirmation) != 0;
    if (!move) {
        return copyItem(source, target.path, replace);
    }
    // A folder onto an existing folder merges; everything else is one rename when both are
    // on the same file system.
    if (!(fs::is_directory(status) && present(target.path))) {
        if (::rename(source.c_str(), target.path.c_str()) == 0) {
            return 0;
        }
        if (errno != EXDEV) {
            return resultOf(errno);
        }
    }
    int result = copyItem(source, target.path, replace);
    if (result != 0) {
        return result;  // the source stays where it was
    }
    fs::remove_all(source, error);
    return resultOf(error);
}

int deleteItem(const FileOperationRequest& request) {
    if ((request.flags & kFofAllowUndo) != 0) {
        return kFileOpNotSupported;
    }
    const fs::path item = withoutTrailingSeparators(request.from);
    std::error_code error;
    if (!present(item)) {
        return kFileOpFileNotFound;
    }
    // A whole file system is never deleted as "one item".
    if (item == item.root_path() || fs::weakly_canonical(item, error) == "/") {
        return kFileOpAccessDenied;
    }
    fs::remove_all(item, error);
    return resultOf(error);
}

int renameItem(const FileOperationRequest& request) {
    if (request.to.empty()) {
        return kFileOpInvalidParameter;
    }
    const fs::path source = withoutTrailingSeparators(request.from);
    if (!present(source)) {
        return kFileOpFileNotFound;
    }
    // A bare new name stays in the item's folder.
    fs::path target = withoutTrailingSeparators(request.to);
    if (target.parent_path().empty()) {
        target = source.parent_path() / target;
    }
    if (present(target)) {
        std::error_code error;
        if (fs::equivalent(source, target, error)) {
            return 0;
        }
        if ((request.flags & kFofRenameOnCollision) == 0) {
            return kFileOpAlreadyExists;
        }
        target = freeNameFor(target);
    }
    return ::rename(source.c_str(), target.c_str()) == 0 ? 0 : resultOf(errno);
}

}  // namespace

int LinuxFileOperations::shFileOperation(FileOperationRequest& request) {
    request.anyOperationsAborted = false;
    if (request.from.empty() || request.from.find('\0') != std::string::npos ||
        request.to.find('\0') != std::string::npos) {
        return kFileOpInvalidParameter;
    }
    switch (request.function) {
        case kFoMove:
            return copyOrMove(request, true);
        case kFoCopy:
            return copyOrMove(request, false);
        case kFoDelete:
            return deleteItem(request);
        case kFoRename:
            return renameItem(request);
        default:
            return kFileOpInvalidParameter;
    }
}

bool LinuxFileOperations::directoryExists(std::string_view path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(fs::path(std::string(path)), error);
}

bool LinuxFileOperations::forceDirectories(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return false;
    }
    const fs::path folder = withoutTrailingSeparators(std::string(path));
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

}  // namespace calvora::platform::linux_os
