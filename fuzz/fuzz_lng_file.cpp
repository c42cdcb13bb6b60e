// Language files come from outside: parsing any bytes must neither crash nor hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/lng_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    calvora::settings::parseLanguageFile(bytes);
    calvora::settings::languageFileLangId(bytes);
    return 0;
}
