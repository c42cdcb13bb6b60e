#include "platform/linux/drive_letters.h"

#include <set>

namespace calvora::platform::linux_os {
namespace {

char lowestFree(const std::set<char>& taken, bool isFloppy) {
    // Floppies take A and B first; every other drive starts at C.
    for (char letter = isFloppy ? 'A' : 'C'; letter <= 'Z'; ++letter) {
        if (taken.count(letter) == 0) {
            return letter;
        }
    }
    return 0;
}

}  // namespace

std::map<std::string, char> DriveLetters::assign(const std::vector<Request>& present) {
    std::map<std::string, char> kept;
    for (const Request& request : present) {
        auto it = m_letters.find(request.key);
        if (it != m_letters.end()) {
            kept.insert(*it);
        }
    }
    m_letters = std::move(kept);
    std::set<char> taken;
    for (const auto& [key, letter] : m_letters) {
        taken.insert(letter);
    }
    for (const Request& request : present) {
        if (m_letters.count(request.key) != 0) {
            continue;
        }
        char letter = lowestFree(taken, request.isFloppy);
        if (letter != 0) {
            m_letters[request.key] = letter;
            taken.insert(letter);
        }
    }
    return m_letters;
}

char DriveLetters::nextFree(bool isFloppy) const {
    std::set<char> taken;
    for (const auto& [key, letter] : m_letters) {
        taken.insert(letter);
    }
    return lowestFree(taken, isFloppy);
}

}  // namespace calvora::platform::linux_os
