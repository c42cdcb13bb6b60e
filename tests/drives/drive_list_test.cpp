// Which drives the list shows and which one stays selected.
#include <gtest/gtest.h>

#include "drives/drive_list.h"
#include "platform/fake/fake_volumes.h"

namespace calvora::drives {
namespace {

using platform::DriveTypeCode;

class DriveListTest : public ::testing::Test {
protected:
    void addDrive(char letter, DriveTypeCode type) { volumes.drives[letter].type = type; }

    std::string listed() const { return std::string(list.entries().begin(), list.entries().end()); }

    platform::fake::FakeVolumes volumes;
    DriveList list{volumes};
};

TEST_F(DriveListTest, FormattableTypesOnlyInLetterOrder) {
    addDrive('C', DriveTypeCode::Fixed);      // system disk
    addDrive('D', DriveTypeCode::CdRom);      // optical drive
    addDrive('K', DriveTypeCode::Removable);  // USB stick
    addDrive('E', DriveTypeCode::Removable);  // another stick
    addDrive('Z', DriveTypeCode::Remote);     // mapped network share
    addDrive('R', DriveTypeCode::RamDisk);
    addDrive('G', DriveTypeCode::Fixed);  // USB hard disk reported as fixed
    addDrive('X', DriveTypeCode::Unknown);
    list.setViewDrivesType(kFormattableDrivesType);
    EXPECT_EQ(listed(), "EKRZ");
    EXPECT_EQ(list.itemIndex(), 0);
    EXPECT_EQ(list.drive(), 'E');

    list.setViewDrivesType(kDefaultViewDrivesType);
    EXPECT_EQ(listed(), "CDEGKRZ");
    list.setViewDrivesType({dtUnknown, dtNonExisting});
    EXPECT_EQ(listed(), "X");
}

TEST_F(DriveListTest, RefreshKeepsTheSelectionOrFallsBackToTheFirst) {
    addDrive('E', DriveTypeCode::Removable);
    addDrive('K', DriveTypeCode::Removable);
    list.setViewDrivesType(kFormattableDrivesType);
    ASSERT_TRUE(list.setDrive('K'));

    addDrive('F', DriveTypeCode::Removable);
    list.updateDrives();
    EXPECT_EQ(list.drive(), 'K');
    EXPECT_EQ(list.itemIndex(), 2);

    volumes.drives.erase('K');
    list.updateDrives();
    EXPECT_EQ(list.drive(), 'E');
    EXPECT_EQ(list.itemIndex(), 0);
}

TEST_F(DriveListTest, EmptyListSelectsNothingAndKeepsTheDrive) {
    addDrive('E', DriveTypeCode::Removable);
    list.setViewDrivesType(kFormattableDrivesType);
    ASSERT_EQ(list.drive(), 'E');
    volumes.drives.clear();
    list.updateDrives();
    EXPECT_EQ(list.itemIndex(), -1);
    EXPECT_TRUE(list.entries().empty());
    EXPECT_EQ(list.drive(), 'E');

    addDrive('E', DriveTypeCode::Removable);
    list.setViewDrivesType(TViewDrivesType{});
    EXPECT_EQ(list.itemIndex(), -1);
    EXPECT_TRUE(list.entries().empty());
}

TEST_F(DriveListTest, SettingTheDrive) {
    addDrive('E', DriveTypeCode::Removable);
    addDrive('Z', DriveTypeCode::Remote);
    list.setViewDrivesType(kFormattableDrivesType);
    // Case is ignored for the lookup and kept for the value.
    EXPECT_TRUE(list.setDrive('z'));
    EXPECT_EQ(list.drive(), 'z');
    EXPECT_EQ(list.itemIndex(), 1);
    // A letter that is not listed changes nothing.
    EXPECT_FALSE(list.setDrive('Q'));
    EXPECT_FALSE(list.setDrive('\0'));
    EXPECT_EQ(list.drive(), 'z');
    EXPECT_EQ(list.itemIndex(), 1);
    // A refresh keeps the entry of a lower-case drive too.
    list.updateDrives();
    EXPECT_EQ(list.itemIndex(), 1);
    EXPECT_EQ(list.drive(), 'Z');
}

TEST_F(DriveListTest, PickingAnEntry) {
    addDrive('E', DriveTypeCode::Removable);
    addDrive('F', DriveTypeCode::Removable);
    list.setViewDrivesType(kFormattableDrivesType);
    EXPECT_TRUE(list.pick(1));
    EXPECT_EQ(list.drive(), 'F');
    EXPECT_FALSE(list.pick(2));
    EXPECT_FALSE(list.pick(-1));
    EXPECT_EQ(list.drive(), 'F');
}

TEST(DriveTypeSetTest, OneByteBitPerType) {
    EXPECT_EQ(kFormattableDrivesType.toByte(), (1 << 2) | (1 << 4) | (1 << 6));
    EXPECT_EQ(kDefaultViewDrivesType.toByte(), 0b01111100);
    EXPECT_TRUE(TViewDrivesType::fromByte(0x80).contains(7));
    EXPECT_FALSE(TViewDrivesType::fromByte(0xFF).contains(8));
}

}  // namespace
}  // namespace calvora::drives
