#include "launcher/linux/xdg_open_shell.h"

#include <spawn.h>
#include <sys/types.h>

#include <string>

extern char** environ;

namespace calvora::launcher::linux_os {

void XdgOpenShell::open(std::string_view address) {
    std::string program{"xdg-open"};
    std::string argument{address};
    char* argv[] = {program.data(), argument.data(), nullptr};

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        return;
    }
    // Its own session: closing the terminal the launcher was started from must not take the
    // browser with it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t child = 0;
    // The address goes as one argument, never through a shell. A failure (no xdg-open) is
    // not reported, as a shell that cannot open a page reports nothing either.
    posix_spawnp(&child, program.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
}

}  // namespace calvora::launcher::linux_os
