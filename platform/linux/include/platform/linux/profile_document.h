#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvora::platform::linux_os {

// The text of an INI file read and edited as the Windows profile functions do. Pure functions
// on the whole file content, so the reader can be tested and fuzzed without a file.

// The value of key in the first section named section (letter case ignored), trimmed of blanks
// and of one pair of enclosing quotes; empty when the section or the key is missing. Lines
// beginning with ';' are comments.
std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// The text with key set to value in the first section named section: an existing key line is
// replaced, a missing key is added after the section's last entry, a missing section is added
// at the end. Other lines stay byte for byte. Line breaks inside value become blanks, so a value
// can never add lines of its own to the file.
std::string setProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

}  // namespace calvora::platform::linux_os
