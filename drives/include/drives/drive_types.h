#pragma once

#include <cstdint>
#include <initializer_list>

namespace calvora::drives {

// Drive types with the operating system's codes; the ordinals are stored in window
// descriptions and in the type filter.
enum TDriveType : std::uint8_t {
    dtUnknown = 0,
    dtNonExisting = 1,
    dtRemovable = 2,
    dtFixed = 3,
    dtRemote = 4,
    dtCDROM = 5,
    dtRamDisk = 6,
};

enum TIconSize : std::uint8_t { isSmall = 0, isLarge = 1 };
enum TTextCase : std::uint8_t { tcLowerCase = 0, tcUpperCase = 1 };

// A set of drive types in one byte, bit n standing for type n.
class TViewDrivesType {
public:
    constexpr TViewDrivesType() = default;
    constexpr TViewDrivesType(std::initializer_list<TDriveType> types) {
        for (TDriveType type : types) {
            m_bits = static_cast<std::uint8_t>(m_bits | (1u << type));
        }
    }
    static constexpr TViewDrivesType fromByte(std::uint8_t bits) {
        TViewDrivesType set;
        set.m_bits = bits;
        return set;
    }

    // Codes up to 7 fit the byte; anything larger is never in the set.
    constexpr bool contains(std::uint32_t code) const { return code <= 7 && (m_bits >> code) & 1u; }
    constexpr std::uint8_t toByte() const { return m_bits; }
    constexpr bool operator==(const TViewDrivesType&) const = default;

private:
    std::uint8_t m_bits = 0;
};

static_assert(sizeof(TViewDrivesType) == 1);

// The default filter of a new drive list, and the one the main window stores.
inline constexpr TViewDrivesType kDefaultViewDrivesType{dtRemovable, dtFixed, dtRemote, dtCDROM,
                                                        dtRamDisk};
inline constexpr TViewDrivesType kFormattableDrivesType{dtRemovable, dtRemote, dtRamDisk};

}  // namespace calvora::drives
