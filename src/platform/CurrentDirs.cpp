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

// Drives are told apart ignoring case, as Windows tells them.
char DriveKey(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

} // namespace

char CurrentDrive() {
    return State().drive;
}

std::string KeptCurrentDir(char letter) {
    const auto it = State().dirs.find(DriveKey(letter));
    return it == State().dirs.end() ? std::string() : it->second;
}

std::string GetDriveCurrentDir(char letter) {
    const std::string kept = KeptCurrentDir(letter);
    return kept.empty() ? std::string(1, DriveKey(letter)) + ":\\" : kept;
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
    State().drive = DriveKey(fullDir[0]);
    State().dirs[State().drive] = fullDir;
}

} // namespace platform
