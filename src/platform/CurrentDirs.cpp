#include "platform/CurrentDirs.h"

#include <cctype>
#include <map>

namespace platform {
namespace {

struct CurrentDirs {
    char drive = 'C';
    std::map<char, std::string> dirs; // drive -> "X:\path" (root "X:\")
};

CurrentDirs& State() {
    static CurrentDirs state;
    return state;
}

} // namespace

char CurrentDrive() {
    return State().drive;
}

std::string GetDriveCurrentDir(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    auto it = State().dirs.find(letter);
    return it == State().dirs.end() ? std::string(1, letter) + ":\\" : it->second;
}

std::string GetCurrentDir() {
    return GetDriveCurrentDir(State().drive);
}

void ResetCurrentDirs(char currentDrive, std::string_view currentDirOnIt) {
    State().drive = currentDrive;
    State().dirs.clear();
    if (!currentDirOnIt.empty())
        State().dirs[currentDrive] = std::string(currentDirOnIt);
}

void MakeCurrentDir(const std::string& fullDir) {
    State().drive = fullDir[0];
    State().dirs[fullDir[0]] = fullDir;
}

} // namespace platform
