#include "platform/linux/restart_spawn.h"

#include <spawn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace calvora::platform::linux_os {
namespace {

std::string runningProgram() {
    char path[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

SpawnInstanceRestart::SpawnInstanceRestart(std::string programPath)
    : m_programPath(programPath.empty() ? runningProgram() : std::move(programPath)) {}

bool SpawnInstanceRestart::startNewInstance() {
    if (m_programPath.empty()) {
        return false;
    }
    const std::string prefix = std::string(kRestartVariable) + "=";
    std::vector<std::string> variables;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, prefix.c_str(), prefix.size()) != 0) {
            variables.emplace_back(*entry);
        }
    }
    variables.push_back(prefix + std::to_string(::getpid()));
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::string program = m_programPath;
    char* argv[] = {program.data(), nullptr};
    pid_t child = 0;
    return ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()) == 0;
}

bool SpawnInstanceRestart::waitForPredecessor(std::chrono::milliseconds timeout) {
    const char* value = std::getenv(kRestartVariable);
    if (value == nullptr) {
        return true;
    }
    char* end = nullptr;
    long predecessor = std::strtol(value, &end, 10);
    bool valid = end != value && *end == '\0' && predecessor > 1;
    // Copies this one starts later must not inherit the mark.
    ::unsetenv(kRestartVariable);
    if (!valid) {
        return true;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (::getppid() == static_cast<pid_t>(predecessor)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace calvora::platform::linux_os
