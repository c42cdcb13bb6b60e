#pragma once

#include <string>
#include <vector>

#include "drives/drive_types.h"
#include "platform/volumes.h"

namespace calvora::drives {

// The list logic of the drive box: which letters are listed and which one is selected.
// Enumeration asks only for the logical-drive mask and the drive types; no medium is touched.
class DriveList final {
public:
    explicit DriveList(platform::Volumes& volumes);

    // Stores the set and re-enumerates at once.
    void setViewDrivesType(TViewDrivesType types);
    TViewDrivesType viewDrivesType() const { return m_types; }

    // Re-enumerates; keeps the selected letter when it is still listed, else selects the first
    // entry. With no entry nothing is selected and the drive keeps its value. Raises no event.
    void updateDrives();

    // Selects the entry of letter c (case ignored) and stores c as given. True when the letter
    // is listed, which is when the owner raises its change event; false changes nothing.
    bool setDrive(char c);
    // The user picked entry index: the drive becomes its letter. False for an index out of range.
    bool pick(int index);

    char drive() const { return m_drive; }
    // -1 when nothing is selected.
    int itemIndex() const { return m_itemIndex; }
    // Upper-case letters in ascending order.
    const std::vector<char>& entries() const { return m_entries; }

private:
    void fill();

    platform::Volumes& m_volumes;
    TViewDrivesType m_types = kDefaultViewDrivesType;
    std::vector<char> m_entries;
    int m_itemIndex = -1;
    char m_drive = '\0';
};

}  // namespace calvora::drives
