#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/linux/restart_spawn.h"
#include "temp_folder.h"

extern char** environ;

using namespace calvora::platform::linux_os;

TEST(SpawnInstanceRestart, NewCopyGoesOnOnlyAfterTheOldOneHasEnded) {
    TempFolder folder;
    ::setenv("CALVORA_RESTART_TEST_DIR", folder.path().c_str(), 1);
    char program[] = RESTART_HELPER;
    char* argv[] = {program, nullptr};
    pid_t old = 0;
    ASSERT_EQ(::posix_spawn(&old, program, nullptr, nullptr, argv, environ), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(old, &status, 0), old);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const std::string result = folder.file("new.txt");
    for (int i = 0; i < 500 && !std::filesystem::exists(result); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(result);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "gone=1 oldEnded=1 markCleared=1");
    ::unsetenv("CALVORA_RESTART_TEST_DIR");
}

TEST(SpawnInstanceRestart, CopyStartedOtherwiseDoesNotWait) {
    ::unsetenv(kRestartVariable);
    SpawnInstanceRestart restart("/bin/true");
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(restart.waitForPredecessor(std::chrono::seconds(5)));
    // A mark naming a process that is not our parent means it has already gone.
    ::setenv(kRestartVariable, "999999", 1);
    EXPECT_TRUE(restart.waitForPredecessor(std::chrono::seconds(5)));
    EXPECT_EQ(std::getenv(kRestartVariable), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(SpawnInstanceRestart, WaitingForALiveParentEndsAtTheTimeout) {
    ::setenv(kRestartVariable, std::to_string(::getppid()).c_str(), 1);
    SpawnInstanceRestart restart("/bin/true");
    EXPECT_FALSE(restart.waitForPredecessor(std::chrono::milliseconds(50)));
}
