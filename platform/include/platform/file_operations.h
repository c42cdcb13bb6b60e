#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace calvora::platform {

// Operation codes of SHFILEOPSTRUCT.wFunc.
constexpr std::uint32_t kFoMove = 1;
constexpr std::uint32_t kFoCopy = 2;
constexpr std::uint32_t kFoDelete = 3;
constexpr std::uint32_t kFoRename = 4;

// Flags of SHFILEOPSTRUCT.fFlags.
constexpr std::uint16_t kFofMultiDestFiles = 0x0001;
constexpr std::uint16_t kFofConfirmMouse = 0x0002;
constexpr std::uint16_t kFofSilent = 0x0004;
constexpr std::uint16_t kFofRenameOnCollision = 0x0008;
constexpr std::uint16_t kFofNoConfirmation = 0x0010;
constexpr std::uint16_t kFofWantMappingHandle = 0x0020;
constexpr std::uint16_t kFofAllowUndo = 0x0040;
constexpr std::uint16_t kFofFilesOnly = 0x0080;
constexpr std::uint16_t kFofSimpleProgress = 0x0100;
constexpr std::uint16_t kFofNoConfirmMkdir = 0x0200;
constexpr std::uint16_t kFofNoErrorUi = 0x0400;

// Results of SHFileOperationA other than 0 (success). The caller only tells 0 from the rest;
// the codes say why for logs and tests.
constexpr int kFileOpFileNotFound = 2;       // ERROR_FILE_NOT_FOUND: the source is missing
constexpr int kFileOpAccessDenied = 5;       // ERROR_ACCESS_DENIED
constexpr int kFileOpNotSupported = 50;      // ERROR_NOT_SUPPORTED
constexpr int kFileOpInvalidParameter = 87;  // ERROR_INVALID_PARAMETER: bad code or empty name
constexpr int kFileOpDiskFull = 112;         // ERROR_DISK_FULL
constexpr int kFileOpAlreadyExists = 183;    // ERROR_ALREADY_EXISTS: nothing may be replaced
constexpr int kFileOpSameFile = 0x71;        // DE_SAMEFILE: source and destination are one file
constexpr int kFileOpDestSubtree = 0x76;     // DE_DESTSUBTREE: a folder into its own subtree
constexpr int kFileOpFailed = 0x402;         // an unknown error, as the shell reports it

// The fields of SHFILEOPSTRUCTA for one item. The Win32 layer turns each name into a list of
// one name closed by two terminating zeros.
struct FileOperationRequest {
    std::uintptr_t ownerWindow = 0;  // hwnd: parent of any dialog the shell shows
    std::uint32_t function = kFoMove;
    std::string from;
    std::string to;
    std::uint16_t flags = 0;
    // fAnyOperationsAborted: given to the shell and filled in by it.
    bool anyOperationsAborted = false;
    std::string progressTitle;  // lpszProgressTitle, shown with FOF_SIMPLEPROGRESS
};

// The shell's file-operation service and the folder helpers that go with it.
class FileOperations {
public:
    virtual ~FileOperations() = default;

    // SHFileOperationA on one item: move, copy, delete or rename `from`. Copy and move into an
    // existing folder keep the item's name; missing destination folders are created. Returns 0
    // when the whole operation succeeded, one of the codes above otherwise. Blocks until done.
    virtual int shFileOperation(FileOperationRequest& request) = 0;
    // DirectoryExists.
    virtual bool directoryExists(std::string_view path) = 0;
    // ForceDirectories: creates the folder and every missing parent; true when it exists after.
    virtual bool forceDirectories(std::string_view path) = 0;
};

}  // namespace calvora::platform
