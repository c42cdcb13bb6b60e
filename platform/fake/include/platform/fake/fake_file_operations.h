#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/byte_files.h"
#include "platform/file_operations.h"

namespace calvora::platform::fake {

// A shell that records every request and answers with a scripted result, and a set of
// folders that exist.
class FakeFileOperations final : public FileOperations {
public:
    // What the fake is.
    int result = 0;
    std::set<std::string, std::less<>> folders;
    bool canCreateFolders = true;
    // What the shell writes back into fAnyOperationsAborted.
    bool abortedAnswer = false;

    // What it was asked: the requests as the shell saw them (before it filled anything in).
    std::vector<FileOperationRequest> requests;
    std::vector<std::string> createdFolders;
    // Every call in order: "exists <path>", "create <path>", "shell <code>".
    std::vector<std::string> calls;

    int shFileOperation(FileOperationRequest& request) override;
    bool directoryExists(std::string_view path) override;
    bool forceDirectories(std::string_view path) override;
};

// One file of FakeByteFiles.
struct FakeByteFile {
    std::string bytes;
    bool writable = true;
    // The n-th read or write (counting from 1 over the life of the file) fails; 0 never.
    std::size_t failRead = 0;
    std::size_t failWrite = 0;

    // What was done to it.
    std::size_t opens = 0;
    std::size_t reads = 0;
    std::size_t writes = 0;
    std::size_t bytesWritten = 0;
    std::size_t largestRead = 0;
    bool open = false;
};

// Files held in memory, by path.
class FakeByteFiles final : public ByteFiles {
public:
    std::map<std::string, FakeByteFile, std::less<>> files;
    std::size_t openCalls = 0;

    FakeByteFile& add(const std::string& path, std::string bytes);
    std::unique_ptr<ByteFile> openExisting(std::string_view path) override;
};

}  // namespace calvora::platform::fake
