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
