// Formats a simulated 64 MiB stick and prints the disk report the engine writes.
#include <cstdio>
#include <iostream>

#include "engine/Unit_formatdisk.h"
#include "platform/fake/fake_format_library.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_volumes.h"

int main() {
    using namespace calvora;
    using platform::fake::CallbackStep;
    platform::fake::FakeFormatLibrary library;
    platform::fake::FakeSystemInfo system;
    platform::fake::FakeVolumes volumes;
    platform::fake::FakeClock clock;
    platform::fake::FakeCodePages codePages;
    engine::FmifsBinding binding(library, system);

    constexpr std::int64_t kSize = 64 << 20;
    volumes.add('E', u"STICK", u"FAT", kSize, kSize / 2);
    library.script = {CallbackStep::progress(25),
                      CallbackStep::progress(50),
                      CallbackStep::progress(75),
                      CallbackStep::progress(100),
                      CallbackStep::output("mkfs.fat 4.2 (2021-01-31)"),
                      CallbackStep::code(1),
                      CallbackStep::finished(true)};
    library.onFormatted = [&](const platform::FormatExArguments& arguments) {
        volumes.add('E', arguments.label, arguments.fileSystemName, kSize, kSize - 4096);
    };

    engine::Tdorvformatcheckdisk formatter({binding, volumes, clock, codePages});
    formatter.onInfoEvent = [](const std::string& line, bool&) { std::cout << line << '\n'; };
    formatter.onProgressEvent = [](std::int32_t percent, bool&) {
        std::fprintf(stderr, "%d%%\n", percent);
    };
    const bool formatted = formatter.FormatDisk("e:\\", 0, 2, "demo", false, 0);
    return formatted ? 0 : 1;
}
