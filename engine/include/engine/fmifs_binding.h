#pragma once

#include "platform/format_library.h"
#include "platform/system_info.h"

namespace calvora::engine {

// The binding of the format library: one per process, created by main and shared by every
// engine instance. The library is loaded on first use, never at start, and a load that fails
// is not tried again.
class FmifsBinding final {
public:
    static constexpr const char* kLibraryName = "fmifs.dll";
    static constexpr const char* kEntryChkdsk = "Chkdsk";
    static constexpr const char* kEntryFormatEx = "FormatEx";
    // The library spells it without the "r" of "Compression".
    static constexpr const char* kEntryCompression = "EnableVolumeCompession";

    FmifsBinding(platform::FormatLibrary& library, const platform::SystemInfo& system);
    // Releases the library if it was loaded.
    ~FmifsBinding();
    FmifsBinding(const FmifsBinding&) = delete;
    FmifsBinding& operator=(const FmifsBinding&) = delete;

    // True when the library is bound and usable: it could be loaded and exports "Chkdsk".
    bool load();

    bool hasFormatEx() const { return m_formatEx; }
    bool hasCompression() const { return m_compression; }
    platform::FormatLibrary& library() { return m_library; }

private:
    platform::FormatLibrary& m_library;
    const platform::SystemInfo& m_system;
    bool m_loadAttempted = false;
    bool m_loaded = false;
    bool m_chkdsk = false;
    bool m_formatEx = false;
    bool m_compression = false;
};

}  // namespace calvora::engine
