#pragma once

#include <string>

#include "platform/byte_files.h"

namespace calvora::controls::testing {

// The replacement as a plain position-by-position scan: for p from 0 to S - L - 1, seek and
// read L bytes, and when they are the pattern seek back and write the new text. One read per
// byte of the file; the yardstick the fast replacer is held against.
bool referenceReplace(platform::ByteFiles& files, const std::string& path,
                      const std::string& oldString, const std::string& newString);

}  // namespace calvora::controls::testing
