#pragma once

#include <string>

#include "platform/instance_restart.h"

namespace calvora::platform::linux_os {

// The variable through which a copy started by startNewInstance() learns the process id it
// has to outlive. The program reads no command line, and nothing else sets this variable.
inline constexpr const char* kRestartVariable = "CALVORA_RESTART_AFTER_PID";

// Starts the new copy with posix_spawn as a child of this process. The child waits until its
// parent has ended: that is the moment its parent process id changes, which, unlike a test of
// the old id, cannot be fooled by the id being reused.
class SpawnInstanceRestart final : public InstanceRestart {
public:
    // programPath: the program file to start; empty means the running one (/proc/self/exe).
    explicit SpawnInstanceRestart(std::string programPath = {});

    bool startNewInstance() override;
    bool waitForPredecessor(std::chrono::milliseconds timeout) override;

private:
    std::string m_programPath;
};

}  // namespace calvora::platform::linux_os
