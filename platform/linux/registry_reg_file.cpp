#include "platform/linux/registry_reg_file.h"
#include "platform/ascii_case.h"

#include <cstdio>

#include "platform/linux/profile_atomic_file.h"

namespace calvora::platform::linux_os {
namespace {

constexpr auto sameName = platform::equalsIgnoringAsciiCase;

constexpr std::size_t kMaxRegBytes = 1024 * 1024;
constexpr std::string_view kHeader = "REGEDIT4";

std::string_view stripCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// A quoted name at the start of line; pos is left after the closing quote.
std::optional<std::string> quoted(std::string_view line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') {
        return std::nullopt;
    }
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '\\' && pos + 1 < line.size()) {
            out.push_back(line[++pos]);
        } else if (c == '"') {
            ++pos;
            return out;
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

std::string normalizedPath(std::string_view path) {
    while (!path.empty() && path.front() == '\\') {
        path.remove_prefix(1);
    }
    while (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return "HKEY_CURRENT_USER\\" + std::string(path);
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Reads the file, lets change edit the keys, writes the file back atomically.
template <typename Change>
bool updateFile(const std::string& file, Change change) {
    FileText text = readSmallFile(file, kMaxRegBytes);
    if (text.outcome == ReadOutcome::Failed) {
        return false;
    }
    std::vector<RegKey> keys = parseRegFile(text.text);
    change(keys);
    return writeFileAtomically(file, formatRegFile(keys));
}

RegKey& keyIn(std::vector<RegKey>& keys, const std::string& path) {
    for (RegKey& key : keys) {
        if (sameName(key.path, path)) {
            return key;
        }
    }
    keys.push_back(RegKey{path, {}});
    return keys.back();
}

class FileKey final : public UserRegistryKey {
public:
    FileKey(std::string file, std::string path)
        : m_file(std::move(file)), m_path(std::move(path)) {}

    bool setDword(std::string_view name, std::uint32_t value) override {
        return set(name, regDwordText(value));
    }
    bool setString(std::string_view name, std::string_view value) override {
        // The export format has no way to hold a line break inside a value.
        if (hasLineBreak(value)) {
            return false;
        }
        return set(name, regStringText(value));
    }

private:
    bool set(std::string_view name, std::string valueText) {
        if (hasLineBreak(name)) {
            return false;
        }
        return updateFile(m_file, [&](std::vector<RegKey>& keys) {
            RegKey& key = keyIn(keys, m_path);
            for (auto& [existing, text] : key.values) {
                if (sameName(existing, name)) {
                    text = valueText;
                    return;
                }
            }
            key.values.emplace_back(std::string(name), valueText);
        });
    }

    std::string m_file;
    std::string m_path;
};

}  // namespace

std::vector<RegKey> parseRegFile(std::string_view text) {
    std::vector<RegKey> keys;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string_view line =
            stripCr(text.substr(pos, nl == std::string_view::npos ? text.npos : nl - pos));
        pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            keys.push_back(RegKey{std::string(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        if (keys.empty()) {
            continue;
        }
        std::size_t at = 0;
        auto name = quoted(line, at);
        if (!name || at >= line.size() || line[at] != '=') {
            continue;
        }
        keys.back().values.emplace_back(*name, std::string(line.substr(at + 1)));
    }
    return keys;
}

std::string formatRegFile(const std::vector<RegKey>& keys) {
    std::string out(kHeader);
    out.append("\r\n");
    for (const RegKey& key : keys) {
        out.append("\r\n[").append(key.path).append("]\r\n");
        for (const auto& [name, value] : key.values) {
            out.append(regStringText(name)).append("=").append(value).append("\r\n");
        }
    }
    return out;
}

std::string regDwordText(std::uint32_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", value);
    return buffer;
}

std::string regStringText(std::string_view value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

LinuxUserRegistry::LinuxUserRegistry(std::string filePath) : m_filePath(std::move(filePath)) {}

std::unique_ptr<UserRegistryKey> LinuxUserRegistry::createKey(std::string_view path) {
    if (hasLineBreak(path) || path.find_first_of("[]") != std::string_view::npos) {
        return nullptr;
    }
    std::string full = normalizedPath(path);
    if (!updateFile(m_filePath, [&](std::vector<RegKey>& keys) { keyIn(keys, full); })) {
        return nullptr;
    }
    return std::make_unique<FileKey>(m_filePath, full);
}

}  // namespace calvora::platform::linux_os
