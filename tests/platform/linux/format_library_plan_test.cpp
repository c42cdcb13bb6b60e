// What the library decides before it writes: FAT type and cluster size by volume size, label
// rules per file system, and the text conversions at its edges.
#include <gtest/gtest.h>

#include "platform/linux/format_plan.h"
#include "platform/linux/format_text.h"

namespace calvora::platform::linux_os {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kGiB = 1024 * kMiB;

struct PlanCase {
    const char* name;
    FileSystemFamily family;
    std::uint64_t bytes;
    std::uint32_t sectorSize;
    std::uint32_t clusterSize;  // requested
    // Expected: a plan of this kind and cluster size, or a refusal with this code.
    std::optional<FileSystemKind> kind;
    std::uint32_t plannedCluster;
    std::uint32_t refusalCode;
};

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, ChoosesOrRefuses) {
    const PlanCase& c = GetParam();
    FormatRequest request;
    request.family = c.family;
    request.clusterSize = c.clusterSize;
    PlanResult result = planFormat(request, VolumeGeometry{c.bytes, c.sectorSize}, "CP437");
    if (c.kind) {
        ASSERT_TRUE(result.plan) << result.refusal.reason;
        EXPECT_EQ(result.plan->kind, *c.kind);
        EXPECT_EQ(result.plan->clusterSize, c.plannedCluster);
    } else {
        ASSERT_FALSE(result.plan);
        EXPECT_EQ(result.refusal.code, c.refusalCode);
        EXPECT_FALSE(result.refusal.reason.empty());
    }
}

using K = FileSystemKind;
using F = FileSystemFamily;

INSTANTIATE_TEST_SUITE_P(
    Volumes, PlanTest,
    ::testing::Values(
        PlanCase{"Fat12Below16MiB", F::Fat, 8 * kMiB, 512, 0, K::Fat12, 2048, 0},
        PlanCase{"Fat16From16MiB", F::Fat, 16 * kMiB, 512, 0, K::Fat16, 512, 0},
        PlanCase{"Fat16At1GiB", F::Fat, kGiB, 512, 0, K::Fat16, 16384, 0},
        PlanCase{"FatAbove4GiBIsTooBig", F::Fat, 5 * kGiB, 512, 0, std::nullopt, 0, 19},
        PlanCase{"FatGivenClusterPicksFat12", F::Fat, 64 * kMiB, 512, 32768, K::Fat12, 32768, 0},
        PlanCase{"FatClusterTooSmall", F::Fat, 64 * kMiB, 512, 512, std::nullopt, 0, 16},
        PlanCase{"FatClusterBelowSector", F::Fat, 64 * kMiB, 4096, 2048, std::nullopt, 0, 16},
        PlanCase{"Fat32At64MiBSteps512", F::Fat32, 64 * kMiB, 512, 0, K::Fat32, 512, 0},
        PlanCase{"Fat32At300MiB", F::Fat32, 300 * kMiB, 512, 0, K::Fat32, 4096, 0},
        PlanCase{"Fat32Above32GiB", F::Fat32, 64 * kGiB, 512, 0, K::Fat32, 32768, 0},
        PlanCase{"Fat32On4KSectors", F::Fat32, 512 * kMiB, 4096, 0, K::Fat32, 4096, 0},
        PlanCase{"Fat32TooSmall", F::Fat32, 32 * kMiB, 512, 0, std::nullopt, 0, 18},
        PlanCase{"Fat32ClusterTooBig", F::Fat32, 64 * kMiB, 512, 32768, std::nullopt, 0, 17},
        PlanCase{"Fat32ClusterNotPowerOfTwo", F::Fat32, 64 * kMiB, 512, 3000, std::nullopt, 0, 16},
        PlanCase{"ExFatLeavesClusterToTool", F::ExFat, 64 * kMiB, 512, 0, K::ExFat, 0, 0},
        PlanCase{"ExFatTooSmall", F::ExFat, 2 * kMiB, 512, 0, std::nullopt, 0, 18},
        PlanCase{"ExFatClusterTooBig", F::ExFat, 4 * kMiB, 512, 1024 * 1024, std::nullopt, 0, 17},
        PlanCase{"NtfsGivenCluster", F::Ntfs, 16 * kMiB, 512, 4096, K::Ntfs, 4096, 0},
        PlanCase{"NtfsTooSmall", F::Ntfs, kMiB, 512, 0, std::nullopt, 0, 18}),
    [](const ::testing::TestParamInfo<PlanCase>& info) { return info.param.name; });

TEST(FatClusterCount, BoundsHoldTheTrueCountAndStayClose) {
    // What fsck.fat -v reports of mkfs.fat's volumes.
    ClusterCountRange fat32 =
        fatClusterCount(FileSystemKind::Fat32, VolumeGeometry{40 * kMiB, 512}, 512);
    EXPECT_LE(fat32.least, 80628u);
    EXPECT_GE(fat32.most, 80628u);
    EXPECT_LT(fat32.most - fat32.least, 100u);
    ClusterCountRange fat16 =
        fatClusterCount(FileSystemKind::Fat16, VolumeGeometry{16 * kMiB, 512}, 512);
    EXPECT_LE(fat16.least, 32481u);
    EXPECT_GE(fat16.most, 32481u);
    EXPECT_LT(fat16.most - fat16.least, 100u);
}

struct LabelCase {
    const char* name;
    FileSystemFamily family;
    std::u16string label;
    bool accepted;
};

class LabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelTest, FitsTheFileSystem) {
    const LabelCase& c = GetParam();
    std::optional<PlanRefusal> refusal = checkLabel(c.family, c.label, "CP437");
    EXPECT_EQ(!refusal.has_value(), c.accepted) << (refusal ? refusal->reason : "accepted");
    if (refusal) {
        EXPECT_EQ(refusal->code, 12u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelTest,
    ::testing::Values(LabelCase{"FatEleven", F::Fat, u"ABCDEFGHIJK", true},
                      LabelCase{"FatTwelve", F::Fat32, u"ABCDEFGHIJKL", false},
                      LabelCase{"FatStar", F::Fat32, u"A*B", false},
                      LabelCase{"FatDot", F::Fat, u"A.B", false},
                      LabelCase{"FatUmlautInCp437", F::Fat32, u"M\u00dcNCHEN", true},
                      LabelCase{"FatNotInCp437", F::Fat32, u"\u0141ODZ", false},
                      LabelCase{"FatControl", F::Fat32, u"A\tB", false},
                      LabelCase{"ExFatElevenUnicode", F::ExFat, u"\u0141\u00f3d\u017a 12345", true},
                      LabelCase{"ExFatTwelve", F::ExFat, u"ABCDEFGHIJKL", false},
                      LabelCase{"ExFatColon", F::ExFat, u"A:B", false},
                      LabelCase{"ExFatDotIsFine", F::ExFat, u"A.B", true},
                      LabelCase{"NtfsThirtyTwo", F::Ntfs, std::u16string(32, u'N'), true},
                      LabelCase{"NtfsThirtyThree", F::Ntfs, std::u16string(33, u'N'), false},
                      LabelCase{"EmptyIsFine", F::Fat32, u"", true}),
    [](const ::testing::TestParamInfo<LabelCase>& info) { return info.param.name; });

TEST(FormatText, ToolOutputReachesTheOemCodePage) {
    EXPECT_EQ(utf8ToOem("Gr\xC3\xB6\xC3\x9F"
                        "e",
                        "CP437"),
              "Gr\x94\xE1"
              "e");
    EXPECT_EQ(utf8ToOem("\xC5\x81"
                        "x",
                        "CP437"),
              "?x");  // no Ł in 437
    EXPECT_EQ(utf8ToOem("\xC5\x81"
                        "x",
                        "CP852"),
              "\x9Dx");
    EXPECT_EQ(utf8ToOem("bad \xFF byte", "CP437"), "bad ? byte");
}

TEST(FormatText, Utf16BecomesUtf8) {
    EXPECT_EQ(utf16ToUtf8(u"A\u00e9\u20ac\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(codePageNumber("CP852"), 852);
}

TEST(MkfsArguments, FatCarriesTypeClusterAndLabelCodePage) {
    FormatPlan plan;
    plan.kind = FileSystemKind::Fat16;
    plan.clusterSize = 2048;
    plan.labelUtf8 = "DATA";
    EXPECT_EQ(mkfsArguments(plan, "/usr/sbin/mkfs.fat", "/dev/sdz1", false, "CP852"),
              (std::vector<std::string>{"/usr/sbin/mkfs.fat", "-F", "16", "-s", "4", "-r", "512",
                                        "-n", "DATA", "--codepage=852", "/dev/sdz1"}));
}

}  // namespace
}  // namespace calvora::platform::linux_os
