#pragma once

#include <map>
#include <string>
#include <vector>

namespace calvora::platform::linux_os {

// Drive letters the Windows way: a volume gets the lowest free letter when it first appears
// (C upward; A and B go to floppies first) and keeps it while it is present.
class DriveLetters {
public:
    struct Request {
        std::string key;
        bool isFloppy = false;
    };

    // The volumes present now, in the order new ones should get letters. Returns the letter of
    // each key; a key missing from the result found no free letter.
    std::map<std::string, char> assign(const std::vector<Request>& present);

    // The lowest letter that assign() would give a new volume now; 0 when none is free.
    char nextFree(bool isFloppy) const;

private:
    std::map<std::string, char> m_letters;
};

}  // namespace calvora::platform::linux_os
