#pragma once

#include <chrono>

namespace calvora::platform {

// Starting a fresh copy of the running program in place of this one.
class InstanceRestart {
public:
    virtual ~InstanceRestart() = default;

    // ShellExecuteA(owner, "open", <the running program file>, no parameters, SW_SHOWNORMAL):
    // starts a new copy of the program. The new copy is marked so that its
    // waitForPredecessor() holds it until this process has ended. False when it could not be
    // started.
    virtual bool startNewInstance() = 0;
    // Called at start, before the single-instance test: when this process was started by
    // startNewInstance(), waits until the process that started it has ended, at most timeout,
    // so that the old main window no longer counts as a running copy. Returns at once for a
    // copy started in any other way. True when the predecessor is gone (or there was none).
    virtual bool waitForPredecessor(std::chrono::milliseconds timeout) = 0;
};

}  // namespace calvora::platform
