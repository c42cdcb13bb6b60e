#pragma once

#include "platform/byte_files.h"
#include "platform/file_operations.h"

namespace calvora::platform::linux_os {

// The shell's file operations on a Linux file system, without any dialog: the flags that ask
// or show something (silent, simple progress, no error UI, confirm mouse, no confirm mkdir)
// change nothing, as there is nobody to ask. What stays:
// - nothing is ever replaced unless FOF_NOCONFIRMATION answers "Yes to all" for the user;
//   otherwise a collision fails with kFileOpAlreadyExists;
// - FOF_RENAMEONCOLLISION gives the new item a free name "name (2).ext", "name (3).ext", ...;
// - a copy is written under a temporary name and renamed into place, so the destination is
//   either the old file or the whole new one, never half of it;
// - FOF_ALLOWUNDO on a delete fails with kFileOpNotSupported rather than delete for good
//   what the caller wanted to get back;
// - names are taken literally: no wildcards.
class LinuxFileOperations final : public FileOperations {
public:
    int shFileOperation(FileOperationRequest& request) override;
    bool directoryExists(std::string_view path) override;
    bool forceDirectories(std::string_view path) override;
};

// Files through open/pread/pwrite.
class LinuxByteFiles final : public ByteFiles {
public:
    std::unique_ptr<ByteFile> openExisting(std::string_view path) override;
};

}  // namespace calvora::platform::linux_os
