#include "reference_replace.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace calvora::controls::testing {

bool referenceReplace(platform::ByteFiles& files, const std::string& path,
                      const std::string& oldString, const std::string& newString) {
    if (path.empty() || oldString.empty() || newString.empty()) {
        return true;
    }
    std::unique_ptr<platform::ByteFile> file = files.openExisting(path);
    if (!file) {
        return false;
    }
    const auto size = file->size();
    if (!size) {
        return false;
    }
    const std::uint64_t length = oldString.size();
    std::vector<char> window(oldString.size());
    for (std::uint64_t p = 0; p + length < *size; ++p) {
        if (!file->read(p, window)) {
            return false;
        }
        if (std::equal(window.begin(), window.end(), oldString.begin()) &&
            !file->write(p, std::span<const char>(newString.data(), newString.size()))) {
            return false;
        }
    }
    return file->close();
}

}  // namespace calvora::controls::testing
