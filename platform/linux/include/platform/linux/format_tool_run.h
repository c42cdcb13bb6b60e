#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace calvora::platform::linux_os {

struct ToolRunResult {
    bool started = false;
    int exitStatus = -1;  // the tool's exit status; -1 when it did not exit normally
    std::string error;    // why it could not be started, or how it ended when not normally
};

// Runs a tool to its end with standard output and error joined, in the C.UTF-8 locale so its
// text is UTF-8 and mkfs.fat reads labels as UTF-8. Each complete output line goes to onLine
// (without its line end); onTick runs at least every 100 ms while the tool runs.
ToolRunResult runTool(const std::vector<std::string>& arguments,
                      const std::function<void(std::string_view line)>& onLine,
                      const std::function<void()>& onTick);

// The tool's path: the first executable of that name in the directories, or empty.
std::string findTool(const std::string& name, const std::vector<std::string>& directories);

// PATH, then the sbin folders where Debian keeps the mkfs tools (not on every user's PATH).
std::vector<std::string> defaultToolDirectories();

}  // namespace calvora::platform::linux_os
