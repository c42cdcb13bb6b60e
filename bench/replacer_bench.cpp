// Tdorvreplacer against the position-by-position scan (one seek and one read per byte) on a
// real 1 MiB report file. Both give the same bytes; the run checks that too.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "controls/dorvreplacer.h"
#include "platform/linux/linux_file_operations.h"
#include "reference_replace.h"

namespace {

namespace fs = std::filesystem;

const std::string& reportText() {
    static const std::string text = [] {
        std::string s;
        while (s.size() < 1024 * 1024) {
            s += "Date: 2026.12.11.\r\nTime: 14:03:22\r\n14:03:22: Starting to Format Drive ...    "
                 "\r\nVolume Label  : DATA\r\n";
        }
        s.resize(1024 * 1024);
        return s;
    }();
    return text;
}

std::string benchFile() {
    return (fs::temp_directory_path() / ("calvora-bench-" + std::to_string(::getpid()))).string();
}

void writeFile(const std::string& path) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << reportText();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// What both must produce.
const std::string& expected() {
    static const std::string bytes = [] {
        const std::string path = benchFile() + "-expected";
        writeFile(path);
        calvora::platform::linux_os::LinuxByteFiles files;
        calvora::controls::testing::referenceReplace(files, path, "Date", "D\xE1tum");
        std::string result = readFile(path);
        fs::remove(path);
        return result;
    }();
    return bytes;
}

template <typename Run>
void measure(benchmark::State& state, Run run) {
    const std::string path = benchFile();
    calvora::platform::linux_os::LinuxByteFiles files;
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(path);
        state.ResumeTiming();
        if (!run(files, path)) {
            state.SkipWithError("the replacement failed");
            break;
        }
    }
    if (readFile(path) != expected()) {
        state.SkipWithError("the bytes differ from the position-by-position scan");
    }
    fs::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(reportText().size()));
}

void BM_ReferenceScan(benchmark::State& state) {
    measure(state, [](auto& files, const std::string& path) {
        return calvora::controls::testing::referenceReplace(files, path, "Date", "D\xE1tum");
    });
}

void BM_Tdorvreplacer(benchmark::State& state) {
    measure(state, [](auto& files, const std::string& path) {
        calvora::controls::Tdorvreplacer replacer(files);
        replacer.FilePath = path;
        replacer.OldString = "Date";
        replacer.NewString = "D\xE1tum";
        return replacer.Replace();
    });
}

BENCHMARK(BM_ReferenceScan)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tdorvreplacer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
