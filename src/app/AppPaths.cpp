#include "app/AppPaths.h"

#include "fileutils/FileUtils.h"
#include "fileutils/PathParts.h"
#include "platform/FileOps.h"
#include "platform/Find.h"
#include "platform/Paths.h"
#include "platform/UserDirs.h"

namespace {

constexpr const char* kHelpFile = "SporvikU.HLP";
constexpr const char* kSettingsFile = "Sporvik.ini";

std::time_t LastWritten(const std::string& file) {
    platform::TSearchRec rec;
    const bool found = platform::FindFirst(file, platform::faAnyFile, rec) == 0;
    platform::FindClose(rec);
    return found ? rec.Time() : 0;
}

} // namespace

std::string ProgramFolder() {
    return DirectoryPart(platform::ProgramPath());
}

std::string DataFolder() {
    const std::string own = ProgramFolder();
    if (FileExists(own + kHelpFile))
        return own;
    const std::string shared = AddBackslash(platform::ExpandFileName(own + "..\\share\\sporvik"));
    if (shared != "\\" && FileExists(shared + kHelpFile))
        return shared;
    return own;
}

std::string UserSettingsFile() {
    const std::string config = platform::UserConfigDirectory();
    return config.empty() ? std::string() : config + "Sporvik\\" + kSettingsFile;
}

// An installed program keeps its files in the share folder; its own folder
// (a bin folder) is no place for settings, even when root could write there.
bool IsInstalled() {
    return DataFolder() != ProgramFolder();
}

std::string SettingsFileForWriting() {
    const std::string beside = ProgramFolder() + kSettingsFile;
    if (UserSettingsFile().empty() ||
        (!IsInstalled() && platform::CanCreateFilesIn(ProgramFolder())))
        return beside;
    return UserSettingsFile();
}

std::string SettingsFileForReading() {
    const std::string written = SettingsFileForWriting();
    const std::string other =
        written == UserSettingsFile() ? ProgramFolder() + kSettingsFile : UserSettingsFile();
    if (other.empty() || other == written || !FileExists(other))
        return written;
    // Both exist once the program's folder changed its mind: the newer holds
    // what the user did last.
    return FileExists(written) && LastWritten(written) >= LastWritten(other) ? written : other;
}

void PrepareSettingsFolder(const std::string& settingsFile) {
    const std::string folder = DirectoryPart(settingsFile);
    if (!folder.empty() && !DirectoryExists(folder))
        platform::ForceDirectories(RemoveBackslash(folder));
}
