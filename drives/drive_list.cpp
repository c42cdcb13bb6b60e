#include "drives/drive_list.h"

#include <algorithm>

#include "platform/ascii_case.h"

namespace calvora::drives {

DriveList::DriveList(platform::Volumes& volumes) : m_volumes(volumes) {}

void DriveList::setViewDrivesType(TViewDrivesType types) {
    m_types = types;
    updateDrives();
}

void DriveList::fill() {
    m_entries.clear();
    m_itemIndex = -1;
    const std::uint32_t mask = m_volumes.logicalDrives();
    for (int n = 0; n < 26; ++n) {
        if ((mask >> n) & 1u) {
            const char letter = static_cast<char>('A' + n);
            const std::string root{letter, ':', '\\'};
            if (m_types.contains(static_cast<std::uint32_t>(m_volumes.driveType(root)))) {
                m_entries.push_back(letter);
            }
        }
    }
}

void DriveList::updateDrives() {
    const char remembered = m_itemIndex >= 0 ? m_entries[m_itemIndex] : '\0';
    fill();
    if (m_entries.empty()) {
        return;
    }
    auto it = std::find(m_entries.begin(), m_entries.end(), remembered);
    m_itemIndex = it == m_entries.end() ? 0 : static_cast<int>(it - m_entries.begin());
    m_drive = m_entries[m_itemIndex];
}

bool DriveList::setDrive(char c) {
    auto it = std::find(m_entries.begin(), m_entries.end(), platform::asciiUpper(c));
    if (it == m_entries.end()) {
        return false;
    }
    m_itemIndex = static_cast<int>(it - m_entries.begin());
    m_drive = c;
    return true;
}

bool DriveList::pick(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        return false;
    }
    m_itemIndex = index;
    m_drive = m_entries[index];
    return true;
}

}  // namespace calvora::drives
