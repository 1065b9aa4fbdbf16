#pragma once
// The lines of an INI profile file and the rules for finding and changing a
// key in them. Bytes are Windows-1252 and pass through unchanged; only line
// ends are rewritten, always as CR LF.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProfileText {
public:
    // Splits at LF; a CR before it belongs to the line end.
    static ProfileText Parse(std::string_view bytes);

    // The value of the first key of that name in a section of that name (both
    // ignoring case), blanks trimmed and one pair of enclosing quotes removed;
    // nothing when there is no such key.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Replaces the value of the key Find would read, or adds the key at the
    // end of its section, or adds the section at the end of the text. Every
    // other line stays as it was.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // Every line followed by CR LF.
    std::string Serialize() const;

private:
    std::optional<std::size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    std::optional<std::size_t> FindSectionEnd(std::string_view section) const;

    std::vector<std::string> lines_;
};

// Whether a section or key of that name, written into a file, is found
// again under that name: no line break in either, no "]" in a section name,
// no "=" in a key, no blank at either end of either (reading trims them),
// and no key beginning with "[" or ";" (read as a section or a comment).
bool IsStorableSection(std::string_view name);
bool IsStorableKey(std::string_view name);

// The program's rule for an integer in a text value: "0x"/"0X" followed by
// hex digits (the text longer than two characters) or "$" followed by hex
// digits, else decimal with an optional sign. Hex values take the 32-bit
// pattern ("$FFFFFFFF" is -1). Nothing when the text is no valid integer.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

} // namespace platform
