#include "temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace calvora::launcher::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "weblaunch-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempFolder::makeFolder(const std::filesystem::path& relative) const {
    const auto full = m_path / relative;
    std::filesystem::create_directories(full);
    return full;
}

std::filesystem::path TempFolder::makeFile(const std::filesystem::path& relative,
                                           const std::string& contents) const {
    const auto full = m_path / relative;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream{full, std::ios::binary} << contents;
    return full;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in{path, std::ios::binary};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace calvora::launcher::testing
