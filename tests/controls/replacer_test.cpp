// Tdorvreplacer: the scan's results on the documented cases, on failures, and byte for byte
// against the position-by-position reference on random files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "controls/dorvreplacer.h"
#include "platform/fake/fake_file_operations.h"
#include "platform/linux/linux_file_operations.h"
#include "reference_replace.h"

namespace calvora::controls {
namespace {

using platform::fake::FakeByteFiles;

struct ScanCase {
    const char* name;
    std::string before;
    std::string oldString;
    std::string newString;
    std::string after;
};

// Hungarian texts are Windows-1250 bytes: "\xE1" is a-acute.
const ScanCase kScanCases[] = {
    {"LongerNewOverwritesWhatFollows", "Date: x", "Date", "D\xE1tum", "D\xE1tum x"},
    {"ShorterNewLeavesTheRestOfTheOld", "Time x", "Time", "Id", "Idme x"},
    {"WrittenBytesAreExaminedAgain", "aaaa", "a", "ba", "bbba"},
    {"OccurrenceEndingAtTheEndIsNotExamined", "x Date", "Date", "Dxxx", "x Date"},
    {"FileThatIsThePatternStaysAsItIs", "Date", "Date", "D\xE1tum", "Date"},
    {"FileShorterThanThePatternStaysAsItIs", "Da", "Date", "X", "Da"},
    {"CaseMatters", "date: x", "Date", "Dxxx", "date: x"},
    {"ReplacementRunsPastTheEnd", "Xab", "X", "12345", "12345"},
    {"EveryOccurrence", "Time 1\r\nTime 2\r\nTime 3\r\n", "Time", "Id\xF5 ",
     "Id\xF5  1\r\nId\xF5  2\r\nId\xF5  3\r\n"},
    {"EmptyFile", "", "a", "b", ""},
};

class ScanCases : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanCases, ReplacerAndReferenceGiveTheDocumentedBytes) {
    const ScanCase& c = GetParam();
    for (std::size_t window : {std::size_t{1}, Tdorvreplacer::kDefaultWindowBytes}) {
        FakeByteFiles files;
        files.add("report.log", c.before);
        Tdorvreplacer replacer(files, window);
        replacer.FilePath = "report.log";
        replacer.OldString = c.oldString;
        replacer.NewString = c.newString;
        EXPECT_TRUE(replacer.Replace());
        EXPECT_EQ(files.files["report.log"].bytes, c.after) << "window " << window;
        EXPECT_FALSE(files.files["report.log"].open);
        EXPECT_EQ(replacer.OldString, c.oldString);
        EXPECT_EQ(replacer.NewString, c.newString);
    }
    FakeByteFiles files;
    files.add("report.log", c.before);
    EXPECT_TRUE(testing::referenceReplace(files, "report.log", c.oldString, c.newString));
    EXPECT_EQ(files.files["report.log"].bytes, c.after) << "reference";
}

INSTANTIATE_TEST_SUITE_P(Replacer, ScanCases, ::testing::ValuesIn(kScanCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Replacer, AnEmptyPropertyMeansTrueWithoutOpeningTheFile) {
    struct Case {
        std::string path, oldString, newString;
    };
    for (const Case& c :
         {Case{"", "a", "b"}, Case{"f", "", "b"}, Case{"f", "a", ""}, Case{"missing", "", "b"}}) {
        FakeByteFiles files;
        files.add("f", "aaa");
        Tdorvreplacer replacer(files);
        replacer.FilePath = c.path;
        replacer.OldString = c.oldString;
        replacer.NewString = c.newString;
        EXPECT_TRUE(replacer.Replace());
        EXPECT_EQ(files.openCalls, 0u);
        EXPECT_EQ(files.files["f"].bytes, "aaa");
    }
}

TEST(Replacer, AFileThatCannotBeOpenedForWritingGivesFalse) {
    FakeByteFiles files;
    files.add("readonly.log", "Date: x").writable = false;
    Tdorvreplacer replacer(files);
    replacer.OldString = "Date";
    replacer.NewString = "Nap";
    for (const char* path : {"missing.log", "readonly.log"}) {
        replacer.FilePath = path;
        EXPECT_FALSE(replacer.Replace()) << path;
    }
    EXPECT_EQ(files.files.count("missing.log"), 0u);
    EXPECT_EQ(files.files["readonly.log"].bytes, "Date: x");
}

// Windows of 10 bytes: "Date" and "Nap!" need twice 4 at least, so each window examines 7
// positions and writes its replacements before the next is read.
struct FailureCase {
    const char* name;
    std::size_t failRead;
    std::size_t failWrite;
    std::string after;
};

class Failures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failures, StopAtOnceAndKeepWhatWasWritten) {
    const FailureCase& c = GetParam();
    FakeByteFiles files;
    auto& file = files.add("f", "Date Date Date Date");
    file.failRead = c.failRead;
    file.failWrite = c.failWrite;
    Tdorvreplacer replacer(files, 10);
    replacer.FilePath = "f";
    replacer.OldString = "Date";
    replacer.NewString = "Nap!";
    EXPECT_FALSE(replacer.Replace());
    EXPECT_EQ(file.bytes, c.after);
    EXPECT_FALSE(file.open);
}

INSTANTIATE_TEST_SUITE_P(Replacer, Failures,
                         ::testing::Values(FailureCase{"FirstRead", 1, 0, "Date Date Date Date"},
                                           FailureCase{"SecondRead", 2, 0, "Nap! Nap! Date Date"},
                                           FailureCase{"SecondWrite", 0, 2, "Nap! Nap! Date Date"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Replacer, OnlyChangedStretchesAreWrittenBack) {
    FakeByteFiles files;
    std::string text(300000, 'x');
    text.replace(10, 4, "Date");
    text.replace(200000, 4, "Date");
    auto& file = files.add("f", text);
    Tdorvreplacer replacer(files);
    replacer.FilePath = "f";
    replacer.OldString = "Date";
    replacer.NewString = "Nap";
    EXPECT_TRUE(replacer.Replace());
    EXPECT_EQ(file.bytesWritten, 6u);
    EXPECT_EQ(file.bytes.substr(200000, 4), "Nape");
}

TEST(Replacer, NothingIsWrittenWhenNothingMatches) {
    FakeByteFiles files;
    auto& file = files.add("f", std::string(200000, 'x'));
    Tdorvreplacer replacer(files);
    replacer.FilePath = "f";
    replacer.OldString = "Date";
    replacer.NewString = "Nap";
    EXPECT_TRUE(replacer.Replace());
    EXPECT_EQ(file.writes, 0u);
}

TEST(Replacer, HoldsOneWindowAndReportsProgressPerWindow) {
    FakeByteFiles files;
    std::string text;
    while (text.size() < 1024 * 1024) {
        text += "14:03:22: Starting to Format Drive ...    \r\nDate: 2026.12.11.\r\n";
    }
    auto& file = files.add("big.log", text);
    Tdorvreplacer replacer(files);
    replacer.FilePath = "big.log";
    replacer.OldString = "Date";
    replacer.NewString = "D\xE1tum";
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    replacer.OnProgress = [&](std::uint64_t examined, std::uint64_t total) {
        progress.emplace_back(examined, total);
    };
    EXPECT_TRUE(replacer.Replace());
    EXPECT_LE(file.largestRead, Tdorvreplacer::kDefaultWindowBytes);
    // Nearby changes go back in one write per window.
    EXPECT_LE(file.writes, text.size() / Tdorvreplacer::kDefaultWindowBytes + 1);
    ASSERT_GE(progress.size(), 16u);
    for (std::size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i].second, text.size() - 4);
        if (i > 0) {
            EXPECT_GT(progress[i].first, progress[i - 1].first);
        }
    }
    EXPECT_EQ(progress.back().first, text.size() - 4);
}

// Random files over a tiny alphabet make overlapping matches, matches made by earlier writes,
// matches across window edges and writes past the end common.
TEST(Replacer, MatchesTheReferenceScanOnRandomFiles) {
    std::mt19937 random(20261211);
    auto text = [&](std::size_t minimum, std::size_t maximum) {
        std::uniform_int_distribution<std::size_t> length(minimum, maximum);
        std::uniform_int_distribution<int> letter(0, 2);
        std::string s(length(random), 'a');
        for (char& c : s) {
            c = static_cast<char>("abc"[letter(random)]);
        }
        return s;
    };
    const std::size_t windows[] = {1, 5, 9, 16, 33, Tdorvreplacer::kDefaultWindowBytes};
    int changed = 0;
    int extended = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string before = text(0, 120);
        const std::string oldString = text(1, 4);
        const std::string newString = text(1, 7);
        const std::size_t window = windows[static_cast<std::size_t>(round) % std::size(windows)];

        FakeByteFiles files;
        files.add("f", before);
        ASSERT_TRUE(testing::referenceReplace(files, "f", oldString, newString));
        const std::string expected = files.files["f"].bytes;

        files.add("f", before);
        Tdorvreplacer replacer(files, window);
        replacer.FilePath = "f";
        replacer.OldString = oldString;
        replacer.NewString = newString;
        ASSERT_TRUE(replacer.Replace());
        ASSERT_EQ(files.files["f"].bytes, expected)
            << "file \"" << before << "\", \"" << oldString << "\" -> \"" << newString
            << "\", window " << window;
        EXPECT_LE(files.files["f"].largestRead,
                  std::max(window, 2 * std::max(oldString.size(), newString.size())));
        changed += expected != before;
        extended += expected.size() > before.size();
    }
    // The random cases did exercise the interesting paths.
    EXPECT_GT(changed, 1000);
    EXPECT_GT(extended, 50);
}

class LinuxReplacer : public ::testing::Test {
protected:
    LinuxReplacer() {
        m_folder = std::filesystem::temp_directory_path() /
                   ("calvora-replacer-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    ~LinuxReplacer() override { std::filesystem::remove_all(m_folder); }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    platform::linux_os::LinuxByteFiles files;
    std::filesystem::path m_folder;
};

TEST_F(LinuxReplacer, RewritesARealFileInPlace) {
    const std::string path = write("day.log", "Date: 2026.12.11.\r\nTime: 14:03:22\r\nDate");
    Tdorvreplacer replacer(files);
    replacer.FilePath = path;
    replacer.OldString = "Date";
    replacer.NewString = "D\xE1tum";
    EXPECT_TRUE(replacer.Replace());
    EXPECT_EQ(read(path), "D\xE1tum 2026.12.11.\r\nTime: 14:03:22\r\nDate");
}

TEST_F(LinuxReplacer, WhatIsNotAnExistingPlainFileIsRefusedAndNotCreated) {
    Tdorvreplacer replacer(files);
    replacer.OldString = "a";
    replacer.NewString = "b";
    for (const std::string& path :
         {(m_folder / "missing.log").string(), m_folder.string(), std::string("/dev/null")}) {
        replacer.FilePath = path;
        EXPECT_FALSE(replacer.Replace()) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(m_folder / "missing.log"));
}

TEST_F(LinuxReplacer, AReadOnlyFileIsLeftAlone) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write to any file";
    }
    const std::string path = write("ro.log", "aaaa");
    ::chmod(path.c_str(), 0444);
    Tdorvreplacer replacer(files);
    replacer.FilePath = path;
    replacer.OldString = "a";
    replacer.NewString = "b";
    EXPECT_FALSE(replacer.Replace());
    EXPECT_EQ(read(path), "aaaa");
}

}  // namespace
}  // namespace calvora::controls
