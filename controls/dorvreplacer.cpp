#include "controls/dorvreplacer.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace calvora::controls {
namespace {

// A window of the file being rewritten: the bytes from `base` as the run has made them, and
// the ranges of it that differ from the file.
class FileWindow {
public:
    // Changes closer than this are written back as one range, the bytes between them as they
    // are: one write costs more than rewriting a few kilobytes of the same bytes.
    static constexpr std::size_t kMergeGap = 4096;

    FileWindow(platform::ByteFile& file, std::uint64_t size, std::size_t capacity)
        : m_file(file), m_size(size), m_capacity(capacity) {
        m_bytes.reserve(capacity);
    }

    // Moves the window to start at position (the previous one must have been flushed).
    bool load(std::uint64_t position) {
        m_base = position;
        m_bytes.resize(static_cast<std::size_t>(
            std::min<std::uint64_t>(m_capacity, m_size - std::min(m_size, position))));
        return m_file.read(m_base, m_bytes);
    }

    std::string_view bytes() const { return {m_bytes.data(), m_bytes.size()}; }
    std::uint64_t base() const { return m_base; }

    // Overwrites at offset (in the window), growing the file past its end when needed.
    void put(std::size_t offset, std::string_view text) {
        if (offset + text.size() > m_bytes.size()) {
            m_bytes.resize(offset + text.size());
            m_size = std::max<std::uint64_t>(m_size, m_base + m_bytes.size());
        }
        std::copy(text.begin(), text.end(), m_bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        const std::size_t end = offset + text.size();
        if (!m_dirty.empty() && offset <= m_dirty.back().second + kMergeGap) {
            m_dirty.back().second = std::max(m_dirty.back().second, end);
        } else {
            m_dirty.emplace_back(offset, end);
        }
    }

    // Writes the changed ranges back, in order.
    bool flush() {
        for (auto [begin, end] : m_dirty) {
            std::span<const char> changed(m_bytes.data() + begin, end - begin);
            if (!m_file.write(m_base + begin, changed)) {
                m_dirty.clear();
                return false;
            }
        }
        m_dirty.clear();
        return true;
    }

private:
    platform::ByteFile& m_file;
    std::uint64_t m_size;  // of the file as the run has made it
    std::size_t m_capacity;
    std::uint64_t m_base = 0;
    std::vector<char> m_bytes;
    std::vector<std::pair<std::size_t, std::size_t>> m_dirty;
};

}  // namespace

Tdorvreplacer::Tdorvreplacer(platform::ByteFiles& files, std::size_t windowBytes)
    : m_files(files), m_windowBytes(windowBytes) {}

bool Tdorvreplacer::Replace() {
    if (FilePath.empty() || OldString.empty() || NewString.empty()) {
        return true;
    }
    // Copies: a progress handler may change the properties while the run goes on.
    const std::string path = FilePath;
    const std::string pattern = OldString;
    const std::string replacement = NewString;
    std::unique_ptr<platform::ByteFile> file = m_files.openExisting(path);
    if (!file) {
        return false;
    }
    const std::optional<std::uint64_t> size = file->size();
    if (!size) {
        file->close();
        return false;
    }
    const std::uint64_t length = pattern.size();
    if (*size <= length) {
        return file->close();  // no position to examine
    }
    // Positions 0 .. size - length - 1.
    const std::uint64_t total = *size - length;
    const std::size_t reach = std::max(pattern.size(), replacement.size());
    const std::size_t capacity = std::max(m_windowBytes, 2 * reach);
    FileWindow window(*file, *size, capacity);

    bool ok = true;
    std::uint64_t position = 0;
    while (ok && position < total) {
        if (!window.load(position)) {
            ok = false;
            break;
        }
        // The last position whose pattern can be read, and whose replacement written, here.
        const std::uint64_t last = std::min(total - 1, position + (capacity - reach));
        const std::size_t lastOffset = static_cast<std::size_t>(last - position);
        // Between two matches nothing changes, so the next match is the next position at
        // which the position-by-position scan would find one.
        std::size_t from = 0;
        for (;;) {
            const std::size_t match = window.bytes().find(pattern, from);
            if (match == std::string_view::npos || match > lastOffset) {
                break;
            }
            window.put(match, replacement);
            from = match + 1;
        }
        ok = window.flush();
        position = last + 1;
        if (ok && OnProgress) {
            OnProgress(position, total);
        }
    }
    const bool closed = file->close();
    return ok && closed;
}

}  // namespace calvora::controls
