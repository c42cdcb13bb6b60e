#include "platform/linux/format_tool_run.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace calvora::platform::linux_os {
namespace {

constexpr int kTickMilliseconds = 50;

// The environment of this process, with the locale set to C.UTF-8.
std::vector<std::string> toolEnvironment() {
    std::vector<std::string> environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string_view text(*entry);
        if (text.starts_with("LC_ALL=") || text.starts_with("LANGUAGE=")) {
            continue;
        }
        environment.emplace_back(text);
    }
    environment.emplace_back("LC_ALL=C.UTF-8");
    return environment;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

void emitLines(std::string& pending, const std::function<void(std::string_view)>& onLine,
               bool flush) {
    std::size_t start = 0;
    for (;;) {
        std::size_t end = pending.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            break;
        }
        onLine(std::string_view(pending).substr(start, end - start));
        start = end + 1;
    }
    pending.erase(0, start);
    if (flush && !pending.empty()) {
        onLine(pending);
        pending.clear();
    }
}

}  // namespace

ToolRunResult runTool(const std::vector<std::string>& arguments,
                      const std::function<void(std::string_view line)>& onLine,
                      const std::function<void()>& onTick) {
    ToolRunResult result;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        result.error = std::string("Cannot make a pipe: ") + std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);

    std::vector<std::string> argumentCopy = arguments;
    std::vector<char*> argv = pointersTo(argumentCopy);
    std::vector<std::string> environment = toolEnvironment();
    std::vector<char*> envp = pointersTo(environment);
    // A process group of its own: a Ctrl-C at the terminal asks us to stop, and must not kill
    // the tool half-way through writing a file system.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        result.error = "Cannot start " + arguments[0] + ": " + std::strerror(spawned);
        return result;
    }
    result.started = true;

    std::string pending;
    char buffer[4096];
    for (;;) {
        pollfd poller{pipeFds[0], POLLIN, 0};
        int ready = poll(&poller, 1, kTickMilliseconds);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready > 0) {
            ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;  // the tool closed its output: it has ended or is about to
            }
            pending.append(buffer, static_cast<std::size_t>(n));
            emitLines(pending, onLine, false);
        }
        onTick();
    }
    emitLines(pending, onLine, true);
    close(pipeFds[0]);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.error = std::string("Lost the tool: ") + std::strerror(errno);
            return result;
        }
    }
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.error = arguments[0] + " was killed by signal " + std::to_string(WTERMSIG(status));
    }
    return result;
}

std::string findTool(const std::string& name, const std::vector<std::string>& directories) {
    for (const std::string& directory : directories) {
        if (directory.empty()) {
            continue;
        }
        std::string path = directory + "/" + name;
        if (access(path.c_str(), X_OK) == 0) {
            return path;
        }
    }
    return {};
}

std::vector<std::string> defaultToolDirectories() {
    std::vector<std::string> directories;
    if (const char* path = std::getenv("PATH")) {
        std::string_view rest(path);
        while (!rest.empty()) {
            std::size_t colon = rest.find(':');
            directories.emplace_back(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    for (const char* sbin : {"/usr/local/sbin", "/usr/sbin", "/sbin"}) {
        directories.emplace_back(sbin);
    }
    return directories;
}

}  // namespace calvora::platform::linux_os
