#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Unit_formatdisk.h"
#include "platform/fake/fake_format_library.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_volumes.h"

namespace calvora::engine::testing {

// One engine on the fake platform, with handlers that record every event.
class EngineFixture : public ::testing::Test {
protected:
    EngineFixture();

    // Handlers that record; cancel when the recorded count of lines or progress events
    // reaches the given number (0: never).
    void recordEvents();

    platform::fake::FakeFormatLibrary library;
    platform::fake::FakeSystemInfo system;
    platform::fake::FakeVolumes volumes;
    platform::fake::FakeClock clock;
    platform::fake::FakeCodePages codePages;
    FmifsBinding binding{library, system};
    Tdorvformatcheckdisk engine{EnginePlatform{binding, volumes, clock, codePages}};

    std::vector<std::string> lines;
    std::vector<std::int32_t> progress;
    std::size_t cancelAtLine = 0;
    std::size_t cancelAtProgress = 0;
};

}  // namespace calvora::engine::testing
