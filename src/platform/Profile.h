#pragma once
// INI profile files named by Windows paths.
//
// Every read looks at the file as it is now, and every write changes the file
// at once, so two objects on one file never disagree. A missing file (or a
// missing directory on its way) reads as empty; a file that is there but
// cannot be read, or cannot be written, raises EFailure naming the file.
// A write goes to a new file beside the old one, which then replaces it, so a
// failed write leaves the old file exactly as it was.
#include <string>
#include <string_view>

#include "platform/Failure.h"

namespace platform {

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // Text values come back through a buffer of 1024 characters: at most 1023
    // of them, the default included. A key present with an empty value gives
    // the empty text, not the default.
    static constexpr std::size_t MaxValueLength = 1023;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The text value read by ParseProfileInteger, or the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

    // Names and values that would break the file's lines (a line break, an "="
    // in a key, a "]" in a section name) are refused with EFailure.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);

private:
    std::string fileName_;
};

} // namespace platform
