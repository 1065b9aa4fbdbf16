#include "platform/ProfileText.h"

#include <charconv>

#include "platform/Codepage.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// What one line of the file is, as far as look-ups care.
struct LineKind {
    enum { Other, Section, Key } kind = Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed, quotes kept
};

LineKind Classify(std::string_view line) {
    const std::string_view text = Trim(line);
    LineKind result;
    if (text.empty() || text.front() == ';')
        return result;
    if (text.front() == '[') {
        const auto close = text.find(']');
        result.kind = LineKind::Section;
        result.name = Trim(text.substr(1, close == std::string_view::npos ? text.npos : close - 1));
        return result;
    }
    const auto eq = text.find('=');
    if (eq == std::string_view::npos)
        return result;
    result.kind = LineKind::Key;
    result.name = Trim(text.substr(0, eq));
    result.value = Trim(text.substr(eq + 1));
    return result;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
    std::uint32_t value = 0;
    const auto [end, err] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || err != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    // from_chars takes a minus but no plus sign; never both.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, err] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (err != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool HasNoLineBreak(std::string_view name) {
    return name.find_first_of("\r\n") == name.npos;
}

} // namespace

bool IsStorableSection(std::string_view name) {
    return HasNoLineBreak(name) && name.find(']') == name.npos && Trim(name) == name;
}

bool IsStorableKey(std::string_view name) {
    if (!name.empty() && (name.front() == '[' || name.front() == ';'))
        return false;
    return HasNoLineBreak(name) && name.find('=') == name.npos && Trim(name) == name;
}

ProfileText ProfileText::Parse(std::string_view bytes) {
    ProfileText result;
    while (!bytes.empty()) {
        const auto lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        result.lines_.emplace_back(line);
        if (lf == std::string_view::npos)
            break;
        bytes.remove_prefix(lf + 1);
    }
    return result;
}

std::optional<std::size_t> ProfileText::FindKeyLine(std::string_view section,
                                                    std::string_view key) const {
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const LineKind line = Classify(lines_[i]);
        if (line.kind == LineKind::Section)
            inSection = EqualIgnoringCase(line.name, section);
        else if (inSection && line.kind == LineKind::Key && EqualIgnoringCase(line.name, key))
            return i;
    }
    return std::nullopt;
}

// The index just behind the last non-blank line of the first section of that
// name, where a new key belongs.
std::optional<std::size_t> ProfileText::FindSectionEnd(std::string_view section) const {
    std::optional<std::size_t> end;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const LineKind line = Classify(lines_[i]);
        if (line.kind == LineKind::Section) {
            if (end)
                break;
            if (EqualIgnoringCase(line.name, section))
                end = i + 1;
        } else if (end && !Trim(lines_[i]).empty()) {
            end = i + 1;
        }
    }
    return end;
}

std::optional<std::string> ProfileText::Find(std::string_view section, std::string_view key) const {
    const auto index = FindKeyLine(section, key);
    if (!index)
        return std::nullopt;
    return std::string(StripQuotes(Classify(lines_[*index]).value));
}

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (const auto index = FindKeyLine(section, key)) {
        // The key keeps the spelling it has in the file.
        std::string& line = lines_[*index];
        line = std::string(Classify(line).name) + "=" + std::string(value);
        return;
    }
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    if (const auto end = FindSectionEnd(section)) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*end), keyLine);
        return;
    }
    if (!lines_.empty() && !Trim(lines_.back()).empty())
        lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(keyLine);
}

std::string ProfileText::Serialize() const {
    std::string bytes;
    for (const std::string& line : lines_)
        bytes += line + "\r\n";
    return bytes;
}

std::optional<std::int32_t> ParseProfileInteger(std::string_view text) {
    std::optional<std::uint32_t> hex;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        hex = ParseHex(text.substr(2));
    else if (!text.empty() && text[0] == '$')
        hex = ParseHex(text.substr(1));
    else
        return ParseDecimal(text);
    if (!hex)
        return std::nullopt;
    return static_cast<std::int32_t>(*hex);
}

} // namespace platform
