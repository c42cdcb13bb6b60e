// The text of a drive entry.
#include <gtest/gtest.h>

#include "drives/drive_text.h"
#include "platform/fake/fake_discovery.h"
#include "platform/fake/fake_volumes.h"

namespace calvora::drives {
namespace {

using platform::DriveTypeCode;

class DriveTextTest : public ::testing::Test {
protected:
    DriveTextTest() {
        volumes.add('C', u"System", u"NTFS", 1, 1).type = DriveTypeCode::Fixed;
        volumes.add('F', u"STICK", u"FAT32", 1, 1).type = DriveTypeCode::Removable;
        volumes.drives['D'].type = DriveTypeCode::CdRom;  // no medium
        shell.names["F:\\"] = u"STICK (F:)";
    }

    std::u16string text(char letter, DriveTextOptions options) {
        return composeDriveText(letter, options, volumes, shell);
    }

    platform::fake::FakeVolumes volumes;
    platform::fake::FakeDriveShell shell;
};

TEST_F(DriveTextTest, ComposedTexts) {
    const DriveTextOptions composed{false, true, true, tcLowerCase};
    const struct {
        char letter;
        DriveTextOptions options;
        std::u16string expected;
    } cases[] = {
        {'F', composed, u"f: "},
        {'C', composed, u"c: [system]"},
        {'C', {false, true, true, tcUpperCase}, u"C: [SYSTEM]"},
        {'C', {false, true, false, tcLowerCase}, u"c: system"},
        {'C', {false, false, true, tcUpperCase}, u"C: "},
        {'D', composed, u"d: []"},
        // The shell's name as it gives it: no case applied.
        {'F', {true, true, true, tcLowerCase}, u"STICK (F:)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(c.letter, c.options), c.expected) << c.letter;
    }
}

TEST_F(DriveTextTest, RemovableDrivesNeverHaveTheirLabelRead) {
    text('F', {false, true, true, tcLowerCase});
    EXPECT_TRUE(volumes.queriedRoots.empty());
    text('C', {false, true, true, tcLowerCase});
    EXPECT_EQ(volumes.queriedRoots, std::vector<std::u16string>{u"C:\\"});
}

TEST(TextCaseTest, LatinLettersChangeCaseOthersStay) {
    EXPECT_EQ(applyTextCase(u"\u00C9VA \u00D7 1", tcLowerCase), u"\u00E9va \u00D7 1");
    EXPECT_EQ(applyTextCase(u"\u00E9va \u00F7 \u0151", tcUpperCase), u"\u00C9VA \u00F7 \u0151");
}

}  // namespace
}  // namespace calvora::drives

namespace calvora::drives {
namespace {

TEST(EntryLayoutTest, TextIndentsAndCentredIcon) {
    const EntryRect entry{0, 0, 200, 18};
    EXPECT_EQ(layoutEntry(entry, false, isSmall).text.left, 4);
    EXPECT_FALSE(layoutEntry(entry, false, isSmall).hasIcon);
    EXPECT_EQ(layoutEntry(entry, true, isSmall).text.left, 22);
    EXPECT_EQ(layoutEntry({0, 0, 200, 34}, true, isLarge).text.left, 38);
    // (17 - 1 - 16) / 2 = 0; a 24-pixel entry: 1 + (23 - 1 - 16) / 2 = 4.
    EXPECT_EQ(layoutEntry(entry, true, isSmall).icon, (EntryRect{2, 1, 18, 17}));
    EXPECT_EQ(layoutEntry({10, 0, 200, 24}, true, isSmall).icon, (EntryRect{12, 4, 28, 20}));
    // An entry smaller than its icon: the division truncates toward zero.
    EXPECT_EQ(layoutEntry({0, 0, 200, 16}, true, isLarge).icon.top, 1 + (14 - 32) / 2);
}

TEST(EntryHeightTest, MinimumPerIconSize) {
    const struct {
        int current, line;
        TIconSize size;
        int expected;
    } cases[] = {
        {15, 15, isSmall, 18}, {20, 20, isSmall, 20}, {18, 17, isLarge, 34},
        {40, 40, isLarge, 40}, {16, 18, isSmall, 16}, {20, 34, isLarge, 20},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(entryHeightFor(c.current, c.line, c.size), c.expected) << c.line;
    }
}

}  // namespace
}  // namespace calvora::drives
