#include "program_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "temp_folder.h"

extern char** environ;

namespace calvora::launcher::testing {

ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& folder,
                      const std::map<std::string, std::string>& environment,
                      std::chrono::milliseconds patience) {
    TempFolder output;
    const auto outPath = output.path() / "out";
    const auto errPath = output.path() / "err";

    // Everything exec needs is prepared before fork.
    std::vector<std::string> argStrings{program.string()};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : environment) {
        envStrings.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& entry : envStrings) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    ProgramRun run;
    const pid_t child = fork();
    if (child < 0) {
        return run;
    }
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0 || chdir(folder.c_str()) != 0) {
            _exit(127);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }

    const auto deadline = std::chrono::steady_clock::now() + patience;
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    } else {
        run.endedInTime = true;
        if (WIFEXITED(status)) {
            run.exitCode = WEXITSTATUS(status);
        }
    }
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

std::map<std::string, std::string> environmentWithout(const std::vector<std::string>& names) {
    std::map<std::string, std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text{*entry};
        const auto equals = text.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string name = text.substr(0, equals);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            result[name] = text.substr(equals + 1);
        }
    }
    return result;
}

}  // namespace calvora::launcher::testing
