#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/file_operations.h"

namespace calvora::controls {

// Which operation Execute performs; the shell's code is the ordinal plus 1.
enum class TFileFunction : std::uint8_t { ffMove, ffCopy, ffDelete, ffRename };

// Element n stands for the shell flag 2 to the power n.
enum class TFileFlagElement : std::uint8_t {
    fofMultidestFiles,
    fofConfirmMouse,
    fofSilent,
    fofRenameOncollision,
    fofNoConfirmation,
    fofWantMappingHandle,
    fofAllowUndo,
    fofFilesOnly,
    fofSimpleProgress,
    fofNoConfirmMkdir,
    fofNoErrorUi,
};

// A set of TFileFlagElement held in 16 bits, bit n for element n: the bits are the shell flags.
class TFileFlag {
public:
    constexpr TFileFlag() = default;
    constexpr TFileFlag(std::initializer_list<TFileFlagElement> elements) {
        for (TFileFlagElement element : elements) {
            m_bits = static_cast<std::uint16_t>(m_bits | bitOf(element));
        }
    }
    static constexpr TFileFlag fromShellFlags(std::uint16_t flags) {
        TFileFlag set;
        set.m_bits = static_cast<std::uint16_t>(flags & kAllBits);
        return set;
    }

    constexpr bool contains(TFileFlagElement element) const {
        return (m_bits & bitOf(element)) != 0;
    }
    constexpr void include(TFileFlagElement element) {
        m_bits = static_cast<std::uint16_t>(m_bits | bitOf(element));
    }
    constexpr void exclude(TFileFlagElement element) {
        m_bits = static_cast<std::uint16_t>(m_bits & ~bitOf(element));
    }
    // The sum of the shell flag values of the elements.
    constexpr std::uint16_t shellFlags() const { return m_bits; }
    constexpr bool operator==(const TFileFlag&) const = default;

private:
    static constexpr std::uint16_t kAllBits = 0x07FF;  // elements 0 to 10
    static constexpr std::uint16_t bitOf(TFileFlagElement element) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(element));
    }
    std::uint16_t m_bits = 0;
};

// Hands one file operation (copy, move, delete or rename) to the shell's file-operation
// service. Set the properties, then call Execute; the properties keep their values.
class Tdorvfilecopy final {
public:
    // The shell's buffers for the names and the progress title, without the terminator.
    static constexpr std::size_t kMaxPathLength = 260;
    static constexpr std::size_t kMaxTitleLength = 255;

    // ownerWindow: the window of the owning form, parent of any dialog the shell shows.
    explicit Tdorvfilecopy(platform::FileOperations& fileOperations,
                           std::uintptr_t ownerWindow = 0);

    TFileFunction FileFunction = TFileFunction::ffMove;
    std::string FromFile;
    std::string ToFile;  // a folder or a file name
    TFileFlag Flag;
    bool OperationsAborted = false;
    std::string ProgressTitle;

    // Performs the operation once: creates ToFile's missing folders, then calls the shell.
    // True when the shell reports success. A name longer than the shell's buffer is refused
    // (false, nothing done): cut short it would name another file.
    bool Execute();

private:
    platform::FileOperations& m_fileOperations;
    std::uintptr_t m_ownerWindow;
};

// The folder part of a path: everything up to and including the last '/' or '\', or the
// colon of a drive "X:"; empty when there is none.
std::string folderPartOf(const std::string& path);

}  // namespace calvora::controls
