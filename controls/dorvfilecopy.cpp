#include "controls/dorvfilecopy.h"

namespace calvora::controls {

Tdorvfilecopy::Tdorvfilecopy(platform::FileOperations& fileOperations, std::uintptr_t ownerWindow)
    : m_fileOperations(fileOperations), m_ownerWindow(ownerWindow) {}

std::string folderPartOf(const std::string& path) {
    std::size_t end = path.find_last_of("/\\");
    end = end == std::string::npos ? 0 : end + 1;
    // "X:name" is "name" in the current folder of drive X.
    if (end == 0 && path.size() >= 2 && path[1] == ':') {
        end = 2;
    }
    return path.substr(0, end);
}

bool Tdorvfilecopy::Execute() {
    // A name cut to the buffer, or at a zero inside it, would name another file.
    for (const std::string* name : {&FromFile, &ToFile}) {
        if (name->size() > kMaxPathLength || name->find('\0') != std::string::npos) {
            return false;
        }
    }
    const std::string folder = folderPartOf(ToFile);
    if (!folder.empty() && !m_fileOperations.directoryExists(folder)) {
        // A failure shows as the shell's.
        (void)m_fileOperations.forceDirectories(folder);
    }
    platform::FileOperationRequest request;
    request.ownerWindow = m_ownerWindow;
    request.function = static_cast<std::uint32_t>(FileFunction) + 1;
    request.from = FromFile;
    request.to = ToFile;
    request.flags = Flag.shellFlags();
    request.anyOperationsAborted = OperationsAborted;
    request.progressTitle =
        ProgressTitle.substr(0, ProgressTitle.find('\0')).substr(0, kMaxTitleLength);
    // What the shell writes back into the aborted field is not used.
    return m_fileOperations.shFileOperation(request) == 0;
}

}  // namespace calvora::controls
