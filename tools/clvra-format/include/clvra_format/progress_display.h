#pragma once

#include <cstdint>
#include <cstdio>

namespace calvora::tools {

// Progress on stderr: a bar redrawn in place on a terminal, otherwise one plain percentage a
// line, each only when it changes. Report lines on a shared terminal get the bar out of
// their way.
class ProgressDisplay {
public:
    ProgressDisplay(std::FILE* out, bool terminal);

    void show(std::int32_t percent);
    // Before a report line goes to the same terminal: clears the bar.
    void beforeLine();
    // After it: draws the bar again.
    void afterLine();
    // Ends the bar's line.
    void finish();

private:
    void draw();

    std::FILE* m_out;
    bool m_terminal;
    bool m_drawn = false;
    std::int32_t m_percent = -1;
};

}  // namespace calvora::tools
