#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvora::platform::linux_os {

// UTF-16 as the format library receives it, turned into the UTF-8 the mkfs tools take. An
// unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// The text in another character set (iconv names), or nothing when one of its characters has
// no place there. Used to test whether a label fits a file system's code page.
std::optional<std::string> convertExactly(std::string_view text, const std::string& from,
                                          const std::string& to);

// The tools' UTF-8 output in the OEM code page the format library's callback speaks; a
// character the code page cannot hold becomes '?'.
std::string utf8ToOem(std::string_view utf8, const std::string& oemCodePage);

// The text in another character set; what it cannot hold becomes '?'.
std::string convertLoosely(std::string_view text, const std::string& from, const std::string& to);

// "CP437" gives 437, the number mkfs.fat's --codepage takes; 0 when the name has no number.
int codePageNumber(const std::string& iconvName);

}  // namespace calvora::platform::linux_os
