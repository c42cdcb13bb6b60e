#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace calvora::launcher::testing {

struct ProgramRun {
    std::optional<int> exitCode;  // empty when it did not end in time (it was killed) or crashed
    bool endedInTime = false;
    std::string out;
    std::string err;
};

// Runs a program in a folder with exactly the given environment, and waits at most
// `patience` for it to end; a program still running then is killed.
ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& folder,
                      const std::map<std::string, std::string>& environment,
                      std::chrono::milliseconds patience);

// The test's own environment without the given variables.
std::map<std::string, std::string> environmentWithout(const std::vector<std::string>& names);

}  // namespace calvora::launcher::testing
