#include "engine/fmifs_binding.h"

namespace calvora::engine {

FmifsBinding::FmifsBinding(platform::FormatLibrary& library, const platform::SystemInfo& system)
    : m_library(library), m_system(system) {}

FmifsBinding::~FmifsBinding() {
    if (m_loaded) {
        m_library.release();
    }
}

bool FmifsBinding::load() {
    if (m_loadAttempted) {
        return m_chkdsk;
    }
    // Outside the NT family nothing is marked, so every call tests again.
    if (m_system.platformId() != platform::kPlatformWin32Nt) {
        return false;
    }
    m_loadAttempted = true;
    if (!m_library.load(kLibraryName)) {
        return false;
    }
    m_loaded = true;
    m_chkdsk = m_library.hasEntry(kEntryChkdsk);
    m_formatEx = m_library.hasEntry(kEntryFormatEx);
    m_compression = m_library.hasEntry(kEntryCompression);
    return m_chkdsk;
}

}  // namespace calvora::engine
