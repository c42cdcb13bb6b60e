#include "platform/fake/fake_file_operations.h"

#include <algorithm>

namespace calvora::platform::fake {

int FakeFileOperations::shFileOperation(FileOperationRequest& request) {
    requests.push_back(request);
    calls.push_back("shell " + std::to_string(request.function));
    request.anyOperationsAborted = abortedAnswer;
    return result;
}

bool FakeFileOperations::directoryExists(std::string_view path) {
    calls.push_back("exists " + std::string(path));
    return folders.find(path) != folders.end();
}

bool FakeFileOperations::forceDirectories(std::string_view path) {
    calls.push_back("create " + std::string(path));
    if (!canCreateFolders) {
        return false;
    }
    createdFolders.emplace_back(path);
    folders.emplace(path);
    return true;
}

namespace {

// A handle on one FakeByteFile; the file must outlive it.
class FakeOpenFile final : public ByteFile {
public:
    explicit FakeOpenFile(FakeByteFile& file) : m_file(file) { m_file.open = true; }
    ~FakeOpenFile() override { m_file.open = false; }

    std::optional<std::uint64_t> size() override { return m_file.bytes.size(); }

    bool read(std::uint64_t position, std::span<char> bytes) override {
        ++m_file.reads;
        m_file.largestRead = std::max(m_file.largestRead, bytes.size());
        if (m_file.reads == m_file.failRead || position > m_file.bytes.size() ||
            bytes.size() > m_file.bytes.size() - position) {
            return false;
        }
        m_file.bytes.copy(bytes.data(), bytes.size(), position);
        return true;
    }

    bool write(std::uint64_t position, std::span<const char> bytes) override {
        ++m_file.writes;
        if (m_file.writes == m_file.failWrite || position > m_file.bytes.size()) {
            return false;
        }
        if (position + bytes.size() > m_file.bytes.size()) {
            m_file.bytes.resize(position + bytes.size());
        }
        m_file.bytes.replace(position, bytes.size(), bytes.data(), bytes.size());
        m_file.bytesWritten += bytes.size();
        return true;
    }

    bool close() override {
        m_file.open = false;
        return true;
    }

private:
    FakeByteFile& m_file;
};

}  // namespace

FakeByteFile& FakeByteFiles::add(const std::string& path, std::string bytes) {
    FakeByteFile& file = files[path];
    file.bytes = std::move(bytes);
    return file;
}

std::unique_ptr<ByteFile> FakeByteFiles::openExisting(std::string_view path) {
    ++openCalls;
    auto it = files.find(path);
    if (it == files.end() || !it->second.writable) {
        return nullptr;
    }
    ++it->second.opens;
    return std::make_unique<FakeOpenFile>(it->second);
}

}  // namespace calvora::platform::fake
