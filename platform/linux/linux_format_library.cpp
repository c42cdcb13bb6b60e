#include "platform/linux/linux_format_library.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

#include "platform/linux/format_plan.h"
#include "platform/linux/format_text.h"
#include "platform/linux/format_tool_run.h"

namespace calvora::platform::linux_os {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string sizeText(std::uint64_t bytes) {
    char text[64];
    if (bytes >= 10ull * 1024 * kMiB) {
        std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1024.0 * kMiB));
    } else {
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / kMiB);
    }
    return text;
}

// Owns a file descriptor.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

// The loop device an image file is attached to, if any: such an image is in use.
std::string loopDeviceOf(const struct stat& image) {
    std::string found;
    DIR* block = opendir("/sys/block");
    if (block == nullptr) {
        return found;
    }
    while (dirent* entry = readdir(block)) {
        std::string name = entry->d_name;
        if (!name.starts_with("loop")) {
            continue;
        }
        std::ifstream file("/sys/block/" + name + "/loop/backing_file");
        std::string backing;
        if (!std::getline(file, backing)) {
            continue;
        }
        struct stat status {};
        if (stat(backing.c_str(), &status) == 0 && status.st_dev == image.st_dev &&
            status.st_ino == image.st_ino) {
            found = "/dev/" + name;
            break;
        }
    }
    closedir(block);
    return found;
}

// Speaks to the engine through its callback, in the library's codes.
class Reporter {
public:
    Reporter(FormatCallback callback, std::string oemCodePage)
        : m_callback(callback), m_oem(std::move(oemCodePage)) {}

    // False when the engine asked to stop.
    bool progress(std::int32_t percent) {
        std::int32_t value = percent;
        return send(fmifs_code::kProgress, &value);
    }
    void code(std::uint32_t code) { send(code, nullptr); }
    void text(std::string_view utf8) {
        const std::string oem = utf8ToOem(utf8, m_oem);
        TextOutput output{1, oem.c_str()};
        send(fmifs_code::kOutput, &output);
    }
    void finished(bool success) {
        std::uint8_t flag = success ? 1 : 0;
        send(fmifs_code::kDone, &flag);
    }
    // Reports a refusal or failure: its code (if any), the reason, and the unsuccessful end.
    void fail(std::uint32_t code, std::string_view reason) {
        if (code != 0) {
            this->code(code);
        }
        text(reason);
        finished(false);
    }
    bool stopAsked() const { return m_stopAsked; }
    // Once the stop is being handled, further answers change nothing.
    void stopListening() { m_listening = false; }

private:
    bool send(std::uint32_t code, void* data) {
        const bool goOn = m_callback(code, 0, data) != 0;
        if (!goOn && m_listening) {
            m_stopAsked = true;
        }
        return goOn;
    }

    FormatCallback m_callback;
    std::string m_oem;
    bool m_stopAsked = false;
    bool m_listening = true;
};

// One "FormatEx" call from start to end.
class FormatRun {
public:
    FormatRun(VolumeDevices& devices, const LinuxFormatOptions& options,
              const FormatExArguments& arguments, FormatCallback callback)
        : m_devices(devices),
          m_options(options),
          m_arguments(arguments),
          m_report(callback, options.oemCodePage),
          m_root(utf16ToUtf8(arguments.root)) {}

    void execute();

private:
    // Each step either goes on (true) or has reported the end of the run (false).
    bool findDevice();
    bool checkRequest();
    bool takeExclusive();
    bool openVolume();
    bool plan();
    void zeroThenCreate();
    // The percentage the zeros reached stays on show while the rescue runs.
    void rescueAfter(const std::string& why, std::int32_t reached);
    // Runs the mkfs tool; ticks report the given percentage. Empty on success, else why not.
    std::string createFileSystem(std::int32_t tickPercent);

    VolumeDevices& m_devices;
    const LinuxFormatOptions& m_options;
    const FormatExArguments& m_arguments;
    Reporter m_report;
    std::string m_root;
    char m_letter = 0;
    FileSystemFamily m_family = FileSystemFamily::Fat32;
    VolumeDevice m_device;
    std::string m_tool;
    Descriptor m_fd;
    bool m_isBlockDevice = false;
    VolumeGeometry m_geometry;
    FormatPlan m_plan;
};

void FormatRun::execute() {
    if (!findDevice() || !checkRequest() || !takeExclusive() || !openVolume() || !plan()) {
        return;
    }
    if (m_report.stopAsked()) {
        m_report.fail(0, "Stopped before anything was written.");
        return;
    }
    zeroThenCreate();
}

bool FormatRun::findDevice() {
    const std::u16string& root = m_arguments.root;
    if (root.size() < 2 || root[1] != u':' || root[0] < u'A' || root[0] > u'Z') {
        m_report.fail(0, "\"" + m_root + "\" is not a drive: nothing was written.");
        return false;
    }
    m_letter = static_cast<char>(root[0]);
    std::optional<VolumeDevice> device = m_devices.deviceFor(m_letter);
    if (!device || device->path.empty()) {
        m_report.fail(0, "No device stands behind " + m_root + ": nothing was written.");
        return false;
    }
    m_device = *device;
    if (m_device.isSystem) {
        m_report.fail(0, m_root + " (" + m_device.path +
                             ") holds the running system and is never formatted.");
        return false;
    }
    return true;
}

bool FormatRun::checkRequest() {
    std::optional<FileSystemFamily> family = familyOf(m_arguments.fileSystemName);
    if (!family) {
        m_report.fail(fmifs_code::kFsNotSupported,
                      "The file system \"" + utf16ToUtf8(m_arguments.fileSystemName) +
                          "\" cannot be written: choose FAT, FAT32, EXFAT or NTFS.");
        return false;
    }
    m_family = *family;
    m_tool = findTool(toolOf(m_family), m_options.toolDirectories);
    if (m_tool.empty()) {
        m_report.fail(fmifs_code::kFsNotSupported,
                      toolOf(m_family) + " was not found: install the package " +
                          packageOf(m_family) + " to write " + displayName(m_family) + ".");
        return false;
    }
    if (auto refusal = checkLabel(m_family, m_arguments.label, m_options.oemCodePage)) {
        m_report.fail(refusal->code, refusal->reason);
        return false;
    }
    return true;
}

bool FormatRun::takeExclusive() {
    const std::string inUse = m_root + " (" + m_device.path +
                              ") is in use: close the programs that use it, or unmount it, and "
                              "try again.";
    if (!m_devices.releaseForExclusiveUse(m_letter)) {
        m_report.fail(fmifs_code::kVolumeInUse, inUse);
        return false;
    }
    std::optional<VolumeDevice> device = m_devices.deviceFor(m_letter);
    if (!device || device->path != m_device.path) {
        m_report.fail(0, "The device behind " + m_root + " has gone: nothing was written.");
        return false;
    }
    if (!device->mountPoints.empty()) {
        m_report.fail(fmifs_code::kVolumeInUse, inUse);
        return false;
    }
    return true;
}

bool FormatRun::openVolume() {
    const std::string& path = m_device.path;
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        m_report.fail(
            0, "Cannot find " + path + " (" + std::strerror(errno) + "): nothing was written.");
        return false;
    }
    m_isBlockDevice = S_ISBLK(status.st_mode);
    if (m_device.isImageFile ? !S_ISREG(status.st_mode) : !m_isBlockDevice) {
        m_report.fail(0, path + " is not the " +
                             (m_device.isImageFile ? "image file" : "block device") +
                             " the drive table lists: nothing was written.");
        return false;
    }
    // O_EXCL on a block device fails while it is mounted or another program holds it so.
    int flags = O_RDWR | O_CLOEXEC | (m_isBlockDevice ? O_EXCL | O_DIRECT : 0);
    m_fd.reset(::open(path.c_str(), flags));
    if (m_fd.get() < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM || error == EROFS) {
            m_report.fail(fmifs_code::kAccessDenied,
                          "No permission to write " + path + " (" + std::strerror(error) +
                              "): run as root, or get write access to it.");
        } else if (error == EBUSY) {
            m_report.fail(fmifs_code::kVolumeInUse,
                          m_root + " (" + path +
                              ") is in use: another program holds it open, or it is mounted.");
        } else {
            m_report.fail(
                0, "Cannot open " + path + " (" + std::strerror(error) + "): nothing was written.");
        }
        return false;
    }
    if (!m_isBlockDevice) {
        std::string loop = loopDeviceOf(status);
        if (!loop.empty() || flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0) {
            m_report.fail(fmifs_code::kVolumeInUse,
                          m_root + " (" + path + ") is in use" +
                              (loop.empty() ? std::string(" by another program")
                                            : ": it is attached to " + loop) +
                              ".");
            return false;
        }
        m_geometry.bytes = static_cast<std::uint64_t>(status.st_size);
        m_geometry.sectorSize = 512;
        return true;
    }
    std::uint64_t bytes = 0;
    int sectorSize = 0;
    if (ioctl(m_fd.get(), BLKGETSIZE64, &bytes) != 0 ||
        ioctl(m_fd.get(), BLKSSZGET, &sectorSize) != 0 || sectorSize <= 0) {
        m_report.fail(0, "Cannot read the size of " + path + " (" + std::strerror(errno) +
                             "): nothing was written.");
        return false;
    }
    m_geometry.bytes = bytes;
    m_geometry.sectorSize = static_cast<std::uint32_t>(sectorSize);
    return true;
}

bool FormatRun::plan() {
    FormatRequest request;
    request.family = m_family;
    request.label = m_arguments.label;
    request.clusterSize = m_arguments.clusterSize;
    PlanResult result = planFormat(request, m_geometry, m_options.oemCodePage);
    if (!result.plan) {
        m_report.fail(result.refusal.code, result.refusal.reason);
        return false;
    }
    m_plan = *result.plan;
    return true;
}

void FormatRun::zeroThenCreate() {
    const bool quick = m_arguments.quickFormat != 0;
    if (!quick) {
        m_report.text("Writing zeros over all " + sizeText(m_geometry.bytes) + " of " + m_root +
                      " (" + m_device.path + ")");
        const auto start = std::chrono::steady_clock::now();
        std::int32_t reached = 0;
        ZeroResult zeroed =
            zeroVolume(m_fd.get(), m_isBlockDevice, m_geometry.bytes, m_options.zeroMethod,
                       [&](std::int32_t percent) {
                           reached = percent;
                           return m_report.progress(percent) && !m_report.stopAsked();
                       });
        if (zeroed.outcome == ZeroOutcome::Stopped) {
            rescueAfter(
                "Stopped at your request after " + std::to_string(reached) + "% of the zeros.",
                reached);
            return;
        }
        if (zeroed.outcome == ZeroOutcome::Failed) {
            rescueAfter(zeroed.error + ".", reached);
            return;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        char line[160];
        if (seconds >= 0.1) {
            std::snprintf(line, sizeof line, "Zeros written in %.1f s (%.0f MB/s, %s)", seconds,
                          static_cast<double>(m_geometry.bytes) / seconds / 1e6,
                          zeroed.method.c_str());
        } else {
            // Holes and device zero-outs take no measurable time; a rate would mean nothing.
            std::snprintf(line, sizeof line, "Zeros written in %.2f s (%s)", seconds,
                          zeroed.method.c_str());
        }
        m_report.text(line);
    } else {
        m_report.progress(0);
        // Old signatures at either end would make the new volume look like two kinds at once.
        if (!wipeSignatureAreas(m_fd.get(), m_geometry.bytes)) {
            m_report.fail(0,
                          "Cannot write to " + m_device.path + ": " + std::strerror(errno) + ".");
            return;
        }
    }
    std::string failure = createFileSystem(quick ? 0 : 100);
    if (!failure.empty()) {
        m_report.fail(0, failure);
        return;
    }
    if (m_report.stopAsked()) {
        m_report.fail(0,
                      "The stop came while the file system was being written; it was finished "
                      "so that the drive stays usable.");
        return;
    }
    m_report.progress(100);
    m_report.code(fmifs_code::kStructureDone);
    m_report.finished(true);
}

void FormatRun::rescueAfter(const std::string& why, std::int32_t reached) {
    m_report.stopListening();
    m_report.text(why);
    const std::string name = displayName(m_plan.kind);
    m_report.text("Writing a fresh empty " + name +
                  " file system (a quick format) so that the drive stays usable.");
    wipeSignatureAreas(m_fd.get(), m_geometry.bytes);
    std::string failure = createFileSystem(reached);
    if (failure.empty()) {
        m_report.text("The drive holds a fresh empty " + name +
                      " file system; not all of its old data was overwritten.");
    } else {
        m_report.text(failure + " Format the drive again.");
    }
    m_report.finished(false);
}

std::string FormatRun::createFileSystem(std::int32_t tickPercent) {
    // The tool opens the device exclusively itself.
    m_fd.reset();
    std::string clusters = m_plan.clusterSize != 0
                               ? ", clusters of " + std::to_string(m_plan.clusterSize) + " bytes"
                               : "";
    m_report.text("Creating " + displayName(m_plan.kind) + clusters + " with " + m_tool);
    bool toolSaysFailed = false;
    std::vector<std::string> arguments =
        mkfsArguments(m_plan, m_tool, m_device.path, !m_isBlockDevice, m_options.oemCodePage);
    ToolRunResult run = runTool(
        arguments,
        [&](std::string_view line) {
            // mkfs.exfat says "exFAT format fail!" and may still exit with 0.
            if (line.find("format fail") != std::string_view::npos) {
                toolSaysFailed = true;
            }
            m_report.text(line);
        },
        [&] { m_report.progress(tickPercent); });
    const std::string toolName = toolOf(m_family);
    if (!run.started) {
        return run.error + ".";
    }
    if (!run.error.empty()) {
        return run.error + ": the drive may hold no usable file system.";
    }
    if (run.exitStatus != 0 || toolSaysFailed) {
        return toolName + " failed (exit status " + std::to_string(run.exitStatus) +
               "): the drive may hold no usable file system.";
    }
    return {};
}

}  // namespace

LinuxFormatOptions LinuxFormatOptions::defaults(std::string oemCodePage) {
    LinuxFormatOptions options;
    options.toolDirectories = defaultToolDirectories();
    options.oemCodePage = std::move(oemCodePage);
    return options;
}

LinuxFormatLibrary::LinuxFormatLibrary(VolumeDevices& devices, LinuxFormatOptions options)
    : m_devices(devices), m_options(std::move(options)) {}

bool LinuxFormatLibrary::load(std::string_view libraryName) {
    m_loaded = equalsIgnoringCase(libraryName, "fmifs.dll");
    return m_loaded;
}

bool LinuxFormatLibrary::hasEntry(std::string_view entryName) const {
    return m_loaded && (entryName == "Chkdsk" || entryName == "FormatEx");
}

void LinuxFormatLibrary::formatEx(const FormatExArguments& arguments, FormatCallback callback) {
    FormatRun(m_devices, m_options, arguments, callback).execute();
}

std::uint8_t LinuxFormatLibrary::enableVolumeCompression(std::u16string_view, std::uint32_t) {
    return 0;
}

void LinuxFormatLibrary::release() {
    m_loaded = false;
}

}  // namespace calvora::platform::linux_os
