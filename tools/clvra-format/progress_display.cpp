#include "clvra_format/progress_display.h"

#include <algorithm>
#include <string>

namespace calvora::tools {

namespace {
constexpr int kBarWidth = 40;
}

ProgressDisplay::ProgressDisplay(std::FILE* out, bool terminal)
    : m_out(out), m_terminal(terminal) {}

void ProgressDisplay::show(std::int32_t percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == m_percent) {
        return;
    }
    m_percent = percent;
    if (m_terminal) {
        draw();
    } else {
        std::fprintf(m_out, "%d%%\n", percent);
        std::fflush(m_out);
    }
}

void ProgressDisplay::draw() {
    const int filled = m_percent * kBarWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(m_out, "\r[%s] %3d%%", bar.c_str(), m_percent);
    std::fflush(m_out);
    m_drawn = true;
}

void ProgressDisplay::beforeLine() {
    if (m_terminal && m_drawn) {
        std::fputs("\r\033[K", m_out);
        std::fflush(m_out);
    }
}

void ProgressDisplay::afterLine() {
    if (m_terminal && m_drawn) {
        draw();
    }
}

void ProgressDisplay::finish() {
    if (m_terminal && m_drawn) {
        std::fputs("\n", m_out);
        std::fflush(m_out);
        m_drawn = false;
    }
}

}  // namespace calvora::tools
