#include "platform/linux/folder_tree_posix.h"
#include "platform/ascii_case.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/linux/profile_atomic_file.h"

namespace calvora::platform::linux_os {
namespace {

constexpr auto sameName = platform::equalsIgnoringAsciiCase;
constexpr auto lower = platform::asciiLower;

bool lessByName(const std::string& a, const std::string& b) {
    auto less = [](char x, char y) { return lower(x) < lower(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) {
        return false;
    }
    return a < b;
}

std::vector<std::string> entries(std::string_view folder) {
    std::vector<std::string> names;
    std::string path(folder.empty() ? std::string_view(".") : folder);
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(std::move(name));
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), lessByName);
    return names;
}

std::string joined(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    return path.append(name);
}

}  // namespace

bool PosixFolderTree::createFolder(std::string_view path) {
    std::string p(path);
    if (::mkdir(p.c_str(), 0700) == 0) {
        return true;
    }
    return errno == EEXIST && folderExists(path);
}

bool PosixFolderTree::folderExists(std::string_view path) {
    struct stat st {};
    return ::stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> PosixFolderTree::findEntry(std::string_view folder,
                                                      std::string_view name) {
    std::vector<std::string> names = entries(folder);
    for (const std::string& candidate : names) {
        if (candidate == name) {
            return candidate;
        }
    }
    for (const std::string& candidate : names) {
        if (sameName(candidate, name)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::vector<std::string> PosixFolderTree::findFiles(std::string_view folder,
                                                    std::string_view suffix) {
    std::vector<std::string> files;
    for (const std::string& name : entries(folder)) {
        if (name.size() < suffix.size() ||
            !sameName(std::string_view(name).substr(name.size() - suffix.size()), suffix)) {
            continue;
        }
        struct stat st {};
        if (::stat(joined(folder, name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            files.push_back(name);
        }
    }
    return files;
}

std::optional<std::string> PosixFolderTree::readFile(std::string_view path, std::size_t maxBytes) {
    FileText file = readSmallFile(std::string(path), maxBytes);
    if (file.outcome != ReadOutcome::Read) {
        return std::nullopt;
    }
    return std::move(file.text);
}

}  // namespace calvora::platform::linux_os
