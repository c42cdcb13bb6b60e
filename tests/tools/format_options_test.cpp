// The command line of clvra-format: what it accepts, and the bad usage it refuses.
#include <gtest/gtest.h>

#include "clvra_format/format_options.h"

namespace calvora::tools {
namespace {

ParseResult parse(std::vector<std::string> arguments) {
    return parseFormatOptions(arguments);
}

TEST(FormatOptions, DefaultsToFat32OnTheTarget) {
    ParseResult result = parse({"E:"});
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->fileSystemIndex, 2);
    EXPECT_EQ(result.options->target, "E:");
    EXPECT_FALSE(result.options->quick);
    EXPECT_FALSE(result.options->yes);
    EXPECT_EQ(result.options->clusterSize, 0);
}

TEST(FormatOptions, TakesEveryOption) {
    ParseResult result = parse({"--fs", "exfat", "--label=My Stick", "--quick", "--cluster", "32K",
                                "--create", "64M", "--yes", "--allow-fixed", "demo.img"});
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->fileSystemIndex, 3);
    EXPECT_EQ(result.options->label, "My Stick");
    EXPECT_TRUE(result.options->quick);
    EXPECT_EQ(result.options->clusterSize, 32768);
    EXPECT_EQ(result.options->createBytes, 64u << 20);
    EXPECT_TRUE(result.options->yes);
    EXPECT_TRUE(result.options->allowFixed);
}

TEST(FormatOptions, RefusesBadUsage) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--fs", "HPFS", "E"},
        {"--fs"},
        {"--cluster", "3000", "E"},
        {"--cluster", "128K", "E"},
        {"--create", "0", "x.img"},
        {"--create", "1.5G", "x.img"},
        {"--create", "64Q", "x.img"},
        {"--create", "64M", "E:"},
        {"--list", "E"},
        {"--list", "--quick"},
        {"--frobnicate", "E"},
        {"E", "F"},
        {"--yes=1", "E"},
    };
    for (const auto& arguments : bad) {
        ParseResult result = parse(arguments);
        EXPECT_FALSE(result.options) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(FormatOptions, ReadsSizesWithBinarySuffixes) {
    EXPECT_EQ(parseSize("4096"), 4096u);
    EXPECT_EQ(parseSize("64M"), 64u << 20);
    EXPECT_EQ(parseSize("64MiB"), 64u << 20);
    EXPECT_EQ(parseSize("1g"), 1ull << 30);
    EXPECT_EQ(parseSize("2T"), 2ull << 40);
    EXPECT_FALSE(parseSize("17T"));  // past the largest image
    EXPECT_FALSE(parseSize("-1M"));
    EXPECT_FALSE(parseSize("M"));
}

TEST(FormatOptions, KnowsDriveLettersAsListed) {
    EXPECT_EQ(driveLetterOf("E"), 'E');
    EXPECT_EQ(driveLetterOf("e:"), 'E');
    EXPECT_EQ(driveLetterOf("E:\\"), 'E');
    EXPECT_EQ(driveLetterOf("E:/"), 0);
    EXPECT_EQ(driveLetterOf("demo.img"), 0);
    EXPECT_EQ(driveLetterOf("/dev/sdb1"), 0);
    EXPECT_EQ(driveLetterOf("1"), 0);
}

}  // namespace
}  // namespace calvora::tools
