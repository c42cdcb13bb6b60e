// Restarts itself like the Settings page's "Ok": the first copy starts a new one and ends a
// little later; the new copy waits for it and records what it saw when it went on. Files go
// into $CALVORA_RESTART_TEST_DIR.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/linux/restart_spawn.h"

int main() {
    using calvora::platform::linux_os::kRestartVariable;
    using calvora::platform::linux_os::SpawnInstanceRestart;
    const char* dir = std::getenv("CALVORA_RESTART_TEST_DIR");
    if (dir == nullptr) {
        return 2;
    }
    const std::string folder = dir;
    SpawnInstanceRestart restart;
    if (std::getenv(kRestartVariable) != nullptr) {
        bool gone = restart.waitForPredecessor(std::chrono::seconds(10));
        bool oldEnded = std::filesystem::exists(folder + "/old-ended");
        bool markCleared = std::getenv(kRestartVariable) == nullptr;
        std::ofstream(folder + "/new.txt")
            << "gone=" << gone << " oldEnded=" << oldEnded << " markCleared=" << markCleared;
        return 0;
    }
    if (!restart.startNewInstance()) {
        return 3;
    }
    // The old copy is still closing its window: the new one must not go on meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::ofstream(folder + "/old-ended") << "1";
    return 0;
}
