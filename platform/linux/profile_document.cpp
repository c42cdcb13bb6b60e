#include "platform/linux/profile_document.h"
#include "platform/ascii_case.h"

#include <cstddef>
#include <vector>

namespace calvora::platform::linux_os {
namespace {

constexpr auto sameName = platform::equalsIgnoringAsciiCase;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// One line of the file, without its line break.
struct Line {
    std::size_t begin;
    std::size_t end;   // the line break (or the end of the text)
    std::size_t next;  // the first character of the following line
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        lines.push_back({pos, nl, nl + 1});
        pos = nl + 1;
    }
    return lines;
}

// The section name of a line "[name]", or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    std::size_t close = line.find(']');
    return trim(close == std::string_view::npos ? line : line.substr(0, close));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> entryOf(std::string_view line) {
    std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';') {
        return std::nullopt;
    }
    std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return Entry{trim(trimmed.substr(0, eq)), trim(trimmed.substr(eq + 1))};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a section starts and where its entries end.
struct SectionSpan {
    std::size_t header;     // index of the "[name]" line
    std::size_t lastEntry;  // index of its last non-empty line (the header when it has none)
    std::size_t end;        // index of the next section's header, or the line count
};

std::optional<SectionSpan> findSection(std::string_view text, const std::vector<Line>& lines,
                                       std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (!name || !sameName(*name, section)) {
            continue;
        }
        SectionSpan span{i, i, lines.size()};
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            std::string_view line = text.substr(lines[j].begin, lines[j].end - lines[j].begin);
            if (sectionName(line)) {
                span.end = j;
                break;
            }
            if (!trim(line).empty()) {
                span.lastEntry = j;
            }
        }
        return span;
    }
    return std::nullopt;
}

std::string singleLine(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    std::vector<Line> lines = splitLines(text);
    auto span = findSection(text, lines, section);
    if (!span) {
        return std::nullopt;
    }
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        auto entry = entryOf(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (entry && sameName(entry->key, trim(key))) {
            return std::string(unquote(entry->value));
        }
    }
    return std::nullopt;
}

std::string setProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string newLine = singleLine(key) + "=" + singleLine(value);
    std::vector<Line> lines = splitLines(text);
    auto span = findSection(text, lines, section);
    std::string out;
    out.reserve(text.size() + newLine.size() + section.size() + 8);
    if (!span) {
        out.append(text);
        if (!out.empty() && out.back() != '\n') {
            out.append("\r\n");
        }
        out.append("[").append(singleLine(section)).append("]\r\n");
        out.append(newLine).append("\r\n");
        return out;
    }
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        auto entry = entryOf(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (entry && sameName(entry->key, trim(key))) {
            // Keep the line's own line break (CR LF or LF).
            std::size_t contentEnd = lines[i].end;
            if (contentEnd > lines[i].begin && text[contentEnd - 1] == '\r') {
                --contentEnd;
            }
            out.append(text.substr(0, lines[i].begin));
            out.append(newLine);
            out.append(text.substr(contentEnd));
            return out;
        }
    }
    const Line& after = lines[span->lastEntry];
    out.append(text.substr(0, after.next));
    if (after.next == after.end) {
        out.append("\r\n");  // the last line had no line break
    }
    out.append(newLine).append("\r\n");
    out.append(text.substr(after.next));
    return out;
}

}  // namespace calvora::platform::linux_os
