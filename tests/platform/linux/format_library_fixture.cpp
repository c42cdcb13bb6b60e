#include "format_library_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/format_tool_run.h"

namespace calvora::platform::linux_os::testing {
namespace {

// The callback carries no context, as on Windows: the running test's fixture is here.
FormatLibraryTest* g_running = nullptr;
std::vector<CallbackEvent>* g_events = nullptr;
std::function<bool(const CallbackEvent&)>* g_answer = nullptr;

std::uint8_t recordCallback(std::uint32_t command, std::uint32_t, void* data) {
    CallbackEvent event;
    event.code = command;
    if (command == 0 && data != nullptr) {
        event.percent = *static_cast<const std::int32_t*>(data);
    } else if (command == 11 && data != nullptr) {
        event.flag = *static_cast<const std::uint8_t*>(data);
    } else if (command == 14 && data != nullptr) {
        event.text = static_cast<const TextOutput*>(data)->output;
    }
    g_events->push_back(event);
    return (*g_answer && !(*g_answer)(event)) ? 0 : 1;
}

}  // namespace

std::optional<VolumeDevice> TestVolumeDevices::deviceFor(char letter) {
    auto it = devices.find(letter);
    if (it == devices.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool TestVolumeDevices::releaseForExclusiveUse(char) {
    ++releaseCalls;
    return releaseSucceeds;
}

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.output.append(buffer.data(), n);
    }
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool haveTool(const std::string& name) {
    return !findTool(name, defaultToolDirectories()).empty();
}

std::map<std::string, std::string> probe(const std::string& path) {
    std::map<std::string, std::string> tags;
    std::istringstream lines(runCommand("blkid -p -o export " + path).output);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            tags[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return tags;
}

std::uint64_t contentHash(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return 0;
    }
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over (offset, byte) of the data
    auto mix = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211ull; };
    std::vector<char> buffer(1 << 20);
    const off_t end = lseek(fd, 0, SEEK_END);
    off_t offset = 0;
    while (offset < end) {
        // Holes of a sparse image read as zeros: only the data between them is read. A block
        // device has no holes and is read whole.
        off_t data = lseek(fd, offset, SEEK_DATA);
        if (data < 0) {
            break;
        }
        off_t hole = lseek(fd, data, SEEK_HOLE);
        if (hole < 0) {
            hole = end;
        }
        for (int shift = 0; shift < 64; shift += 8) {
            mix(static_cast<unsigned char>(static_cast<std::uint64_t>(data) >> shift));
        }
        for (off_t at = data; at < hole;) {
            std::size_t want = static_cast<std::size_t>(
                std::min<off_t>(hole - at, static_cast<off_t>(buffer.size())));
            ssize_t n = pread(fd, buffer.data(), want, at);
            if (n <= 0) {
                break;
            }
            for (ssize_t i = 0; i < n; ++i) {
                mix(static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]));
            }
            at += n;
        }
        offset = hole;
    }
    ::close(fd);
    return hash;
}

void writeMarker(const std::string& path, std::uint64_t offset, const std::string& marker) {
    int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(pwrite(fd, marker.data(), marker.size(), static_cast<off_t>(offset)),
              static_cast<ssize_t>(marker.size()));
    fsync(fd);
    ::close(fd);
}

std::string readAt(const std::string& path, std::uint64_t offset, std::size_t length) {
    std::string data(length, '\0');
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return {};
    }
    ssize_t n = pread(fd, data.data(), length, static_cast<off_t>(offset));
    ::close(fd);
    data.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return data;
}

FormatLibraryTest::FormatLibraryTest() : options(LinuxFormatOptions::defaults("CP437")) {
    std::string base = (std::filesystem::temp_directory_path() / "calvora-format-XXXXXX").string();
    std::vector<char> name(base.begin(), base.end());
    name.push_back('\0');
    folder = mkdtemp(name.data());
}

FormatLibraryTest::~FormatLibraryTest() {
    for (const std::string& loop : m_loops) {
        runCommand("losetup -d " + loop);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

bool FormatLibraryTest::isRoot() {
    return geteuid() == 0;
}

std::string FormatLibraryTest::addImage(char letter, std::uint64_t bytes, const std::string& name) {
    std::string path = folder + "/" + (name.empty() ? std::string(1, letter) + ".img" : name);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(ftruncate(fd, static_cast<off_t>(bytes)), 0);
    ::close(fd);
    VolumeDevice device;
    device.letter = letter;
    device.path = path;
    device.isImageFile = true;
    device.type = DriveTypeCode::Removable;
    devices.devices[letter] = device;
    return path;
}

std::string FormatLibraryTest::addLoopDevice(char letter, std::uint64_t bytes,
                                             std::uint32_t sectorSize) {
    std::string image = addImage(letter, bytes, std::string(1, letter) + "-backing.img");
    CommandResult attached = runCommand("losetup --find --show --sector-size " +
                                        std::to_string(sectorSize) + " " + image);
    std::string loop = attached.output.substr(0, attached.output.find('\n'));
    // The safety net: never hand the library anything but a loop device of our own.
    if (attached.status != 0 || !loop.starts_with("/dev/loop")) {
        ADD_FAILURE() << "losetup: " << attached.output;
        devices.devices.erase(letter);
        return {};
    }
    m_loops.push_back(loop);
    VolumeDevice& device = devices.devices[letter];
    device.path = loop;
    device.isImageFile = false;
    return loop;
}

const std::vector<CallbackEvent>& FormatLibraryTest::format(char letter, std::u16string fileSystem,
                                                            std::u16string label, bool quick,
                                                            std::uint32_t clusterSize) {
    events.clear();
    LinuxFormatLibrary library(devices, options);
    EXPECT_TRUE(library.load("fmifs.dll"));
    FormatExArguments arguments;
    arguments.root = std::u16string(1, static_cast<char16_t>(letter)) + u":\\";
    arguments.mediaFlag = kMediaHardDisk;
    arguments.fileSystemName = std::move(fileSystem);
    arguments.label = std::move(label);
    arguments.quickFormat = quick ? 0xFFFFFFFFu : 0u;
    arguments.clusterSize = clusterSize;
    g_running = this;
    g_events = &events;
    g_answer = &answer;
    library.formatEx(arguments, &recordCallback);
    g_running = nullptr;
    return events;
}

std::string FormatLibraryTest::texts() const {
    std::string joined;
    for (const CallbackEvent& event : events) {
        if (event.code == 14) {
            joined += event.text + "\n";
        }
    }
    return joined;
}

bool FormatLibraryTest::sawCode(std::uint32_t code) const {
    for (const CallbackEvent& event : events) {
        if (event.code == code) {
            return true;
        }
    }
    return false;
}

std::optional<bool> FormatLibraryTest::finishedFlag() const {
    if (events.empty() || events.back().code != 11) {
        return std::nullopt;
    }
    return events.back().flag != 0;
}

bool FormatLibraryTest::succeeded() const {
    return finishedFlag() == true && events.size() >= 2 && events[events.size() - 2].code == 1;
}

}  // namespace calvora::platform::linux_os::testing
