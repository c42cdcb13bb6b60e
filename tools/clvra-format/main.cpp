// clvra-format: the format engine on the real drives of this machine, from the command line.
#include <fcntl.h>
#include <langinfo.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "clvra_format/format_options.h"
#include "clvra_format/progress_display.h"
#include "engine/Unit_formatdisk.h"
#include "platform/linux/drive_table.h"
#include "platform/linux/format_text.h"
#include "platform/linux/linux_format_library.h"
#include "platform/linux/linux_system.h"

namespace {

using namespace calvora;
using platform::DriveTypeCode;
using platform::linux_os::DriveTable;
using platform::linux_os::VolumeDevice;

constexpr int kExitFormatted = 0;
constexpr int kExitFailed = 1;
constexpr int kExitDriveCheck = 2;
constexpr int kExitUsage = 64;

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) {
    g_interrupted = 1;
}

std::string terminalCharset() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset != nullptr && *codeset != '\0' ? codeset : "UTF-8";
}

const char* typeName(DriveTypeCode type) {
    switch (type) {
        case DriveTypeCode::Removable:
            return "removable";
        case DriveTypeCode::Fixed:
            return "fixed";
        case DriveTypeCode::Remote:
            return "remote";
        case DriveTypeCode::CdRom:
            return "cdrom";
        case DriveTypeCode::RamDisk:
            return "ramdisk";
        default:
            return "unknown";
    }
}

std::string sizeText(std::int64_t bytes) {
    if (bytes < 0) {
        return "-";
    }
    static const char* const kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string root(char letter) {
    return std::string(1, letter) + ":\\";
}

int listDrives(DriveTable& table) {
    for (const VolumeDevice& drive : table.drives()) {
        std::u16string root16 = {static_cast<char16_t>(drive.letter), u':', u'\\'};
        auto information = table.volumeInformation(root16);
        std::string label =
            information ? platform::linux_os::utf16ToUtf8(information->volumeName) : "";
        std::string fileSystem =
            information ? platform::linux_os::utf16ToUtf8(information->fileSystemName) : "";
        std::printf("%c:  %-9s  %-11s  %-6s  %10s  %s\n", drive.letter, typeName(drive.type),
                    label.empty() ? "-" : label.c_str(),
                    fileSystem.empty() ? "-" : fileSystem.c_str(),
                    sizeText(table.totalBytes(drive.letter - 'A' + 1)).c_str(), drive.path.c_str());
    }
    return kExitFormatted;
}

// Asks on the terminal; false unless the answer is yes.
bool confirm(const std::string& what) {
    if (!isatty(STDIN_FILENO)) {
        std::fprintf(stderr,
                     "clvra-format: not asking without a terminal; pass --yes to format %s\n",
                     what.c_str());
        return false;
    }
    std::fprintf(stderr, "All Data on the device will be lost !\nFormat %s? [y/N] ", what.c_str());
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        return false;
    }
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "YES";
}

const char* kFileSystemNames[] = {"NTFS", "FAT", "FAT32", "exFAT"};

class FormatCommand {
public:
    explicit FormatCommand(const tools::FormatOptions& options) : m_options(options) {}
    int run();

private:
    // The target's drive letter, with the image made or attached as needed; 0 after an error.
    char resolveTarget(bool& confirmed, bool& createdFile);
    bool resizeImage(const std::string& path);

    const tools::FormatOptions& m_options;
    platform::linux_os::LinuxSystemInfo m_system;
    platform::linux_os::LinuxClock m_clock;
    platform::linux_os::LinuxCodePages m_codePages =
        platform::linux_os::LinuxCodePages::forUserLocale();
    DriveTable m_table;
};

bool FormatCommand::resizeImage(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(*m_options.createBytes)) != 0) {
        std::fprintf(stderr, "clvra-format: cannot make %s: %s\n", path.c_str(),
                     std::strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    ::close(fd);
    return true;
}

char FormatCommand::resolveTarget(bool& confirmed, bool& createdFile) {
    const std::string& target = m_options.target;
    if (char letter = tools::driveLetterOf(target)) {
        if ((m_table.logicalDrives() & (1u << (letter - 'A'))) == 0) {
            std::fprintf(stderr, "clvra-format: there is no drive %c: (see clvra-format --list)\n",
                         letter);
            return 0;
        }
        return letter;
    }
    struct stat status {};
    const bool exists = stat(target.c_str(), &status) == 0;
    if (m_options.createBytes) {
        if (exists && !S_ISREG(status.st_mode)) {
            std::fprintf(stderr, "clvra-format: --create makes image files; %s is not one\n",
                         target.c_str());
            return 0;
        }
        if (!exists) {
            if (!resizeImage(target)) {
                return 0;
            }
            createdFile = true;
        } else if (static_cast<std::uint64_t>(status.st_size) != *m_options.createBytes) {
            // Resizing loses data: ask first.
            if (!m_options.yes &&
                !confirm(target + " (image file, resized to " +
                         sizeText(static_cast<std::int64_t>(*m_options.createBytes)) + ")")) {
                return 0;
            }
            confirmed = true;
            if (!resizeImage(target)) {
                return 0;
            }
        }
    } else if (!exists) {
        std::fprintf(stderr, "clvra-format: %s: %s\n", target.c_str(), std::strerror(errno));
        return 0;
    }
    platform::linux_os::AttachResult attached = m_table.attach(target);
    if (!attached.ok()) {
        std::fprintf(stderr, "clvra-format: %s: %s\n", target.c_str(), attached.error.c_str());
        return 0;
    }
    return attached.letter;
}

int FormatCommand::run() {
    // Labels come in the terminal's character set; the engine takes the ANSI code page.
    std::optional<std::string> label = platform::linux_os::convertExactly(
        m_options.label, terminalCharset(), m_codePages.ansiCodePage());
    if (!label) {
        std::fprintf(stderr,
                     "clvra-format: the label \"%s\" has characters code page %s cannot hold\n",
                     m_options.label.c_str(), m_codePages.ansiCodePage().c_str());
        return kExitUsage;
    }

    bool confirmed = false;
    bool createdFile = false;
    const char letter = resolveTarget(confirmed, createdFile);
    if (letter == 0) {
        return kExitFailed;
    }
    auto refuse = [&](const std::string& why) {
        std::fprintf(stderr, "clvra-format: %s\n", why.c_str());
        if (createdFile) {
            ::unlink(m_options.target.c_str());
        }
        return kExitFailed;
    };
    std::optional<VolumeDevice> device = m_table.deviceFor(letter);
    if (!device) {
        return refuse(root(letter) + " has no device behind it");
    }
    if (device->isSystem) {
        return refuse(root(letter) + " (" + device->path +
                      ") holds the running system and is never formatted");
    }
    if (device->type == DriveTypeCode::Fixed && !m_options.allowFixed) {
        return refuse(root(letter) + " (" + device->path +
                      ") is a fixed drive; pass --allow-fixed to format it");
    }
    const std::string description = root(letter) + " (" + device->path + ", " +
                                    typeName(device->type) + ", " +
                                    sizeText(m_table.totalBytes(letter - 'A' + 1)) + ") as " +
                                    kFileSystemNames[m_options.fileSystemIndex];
    if (!m_options.yes && !confirmed && !confirm(description)) {
        return refuse("not formatted");
    }

    platform::linux_os::LinuxFormatLibrary library(
        m_table, platform::linux_os::LinuxFormatOptions::defaults(m_codePages.oemCodePage()));
    engine::FmifsBinding binding(library, m_system);
    engine::Tdorvformatcheckdisk formatter({binding, m_table, m_clock, m_codePages});

    const bool terminal = isatty(STDERR_FILENO) != 0;
    const bool sharedTerminal = terminal && isatty(STDOUT_FILENO) != 0;
    tools::ProgressDisplay progress(stderr, terminal);
    const std::string charset = terminalCharset();
    bool told = false;
    auto interrupted = [&] {
        if (g_interrupted && !told) {
            progress.beforeLine();
            std::fputs("clvra-format: stopping...\n", stderr);
            progress.afterLine();
            told = true;
        }
        return g_interrupted != 0;
    };
    formatter.onInfoEvent = [&](const std::string& line, bool& cancel) {
        if (sharedTerminal) {
            progress.beforeLine();
        }
        std::string text =
            platform::linux_os::convertLoosely(line, m_codePages.ansiCodePage(), charset);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        if (sharedTerminal) {
            progress.afterLine();
        }
        cancel = interrupted();
    };
    formatter.onProgressEvent = [&](std::int32_t percent, bool& cancel) {
        progress.show(percent);
        cancel = interrupted();
    };

    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    bool formatted = false;
    try {
        formatted = formatter.FormatDisk(root(letter), 0, m_options.fileSystemIndex, *label,
                                         m_options.quick, m_options.clusterSize);
    } catch (const engine::FmtChkException& error) {
        progress.finish();
        std::fprintf(stderr, "clvra-format: %s\n", error.what());
        return kExitDriveCheck;
    }
    progress.finish();
    if (g_interrupted) {
        std::fputs("clvra-format: cancelled\n", stderr);
    }
    return formatted ? kExitFormatted : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    tools::ParseResult parsed =
        tools::parseFormatOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::fprintf(stderr, "clvra-format: %s\n%s", parsed.error.c_str(), tools::kUsage);
        return kExitUsage;
    }
    const tools::FormatOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(tools::kUsage, stdout);
        return kExitFormatted;
    }
    if (options.list) {
        DriveTable table;
        return listDrives(table);
    }
    return FormatCommand(options).run();
}
