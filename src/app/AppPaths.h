#pragma once
// Where the program's own files live.
//
// A program run from its build folder (or copied anywhere as a portable
// program) keeps everything beside itself. An installed program finds its
// help file and sample glyphs in the share folder beside its bin folder,
// and keeps its settings in the user's configuration folder whenever its
// own folder cannot be written.
#include <string>

// The running program's folder, with a trailing backslash.
std::string ProgramFolder();

// The folder holding the help file and the sample glyphs: the program's own
// when the help file is there, else <prefix>\share\sporvik\ when it is
// there, else the program's own.
std::string DataFolder();

// The settings file to write: beside a portable program when its folder can
// be written, else (and always for an installed program) Sporvik\Sporvik.ini
// in the user's configuration folder (whose folders are made on the way).
std::string SettingsFileForWriting();
// The settings file to read: the one written to, or, while that does not
// exist yet, the one in the other place, so that no settings are lost when
// the program's folder becomes writable or stops being so.
std::string SettingsFileForReading();
// The settings file in the user's configuration folder ("" without one).
std::string UserSettingsFile();

// Creates the folders of a settings file that is about to be written.
void PrepareSettingsFolder(const std::string& settingsFile);
