// A settings file of any bytes, then one key written: the key reads back with
// its value, and every other key reads as it did before, so that no written
// line changes what the rest of the file means. Names the writer refuses are
// left out.
#include <vector>

#include "FuzzSupport.h"
#include "platform/Codepage.h"
#include "platform/ProfileText.h"

using platform::ProfileText;

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

struct Name {
    std::string section, key;
};

// Section and key names as they stand in the file, found the simple way.
std::vector<Name> NamesIn(std::string_view bytes) {
    std::vector<Name> names;
    std::string section;
    bool any = false;
    while (!bytes.empty() && names.size() < 40) {
        const auto lf = bytes.find('\n');
        std::string_view line = Trimmed(bytes.substr(0, lf));
        if (!line.empty() && line.back() == '\r')
            line = Trimmed(line.substr(0, line.size() - 1));
        bytes.remove_prefix(lf == bytes.npos ? bytes.size() : lf + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            section = std::string(Trimmed(line.substr(1, line.find(']') - 1)));
            any = true;
        } else if (any && line.find('=') != line.npos) {
            names.push_back({section, std::string(Trimmed(line.substr(0, line.find('='))))});
        }
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::string section = input.Field();
    const std::string key = input.Field();
    const std::string value = input.Field();
    const std::string file = input.Rest();
    if (!platform::IsStorableSection(section) || !platform::IsStorableKey(key) ||
        value.find_first_of("\r\n") != value.npos)
        return 0;

    const ProfileText before = ProfileText::Parse(file);
    ProfileText after = ProfileText::Parse(file);
    after.Set(section, key, value);
    const ProfileText reread = ProfileText::Parse(after.Serialize());

    const std::string shown = "[" + section + "] " + key + "=" + value;
    const auto got = reread.Find(section, key);
    FUZZ_CHECK(got.has_value(), shown);
    // Reading trims blanks and one pair of quotes; a plain value comes back whole.
    const bool plain = Trimmed(value) == value && value.find_first_of("\"'") == value.npos;
    if (plain)
        FUZZ_CHECK(*got == value, shown + " read as " + *got);
    for (const Name& other : NamesIn(file)) {
        if (platform::EqualIgnoringCase(other.section, section) &&
            platform::EqualIgnoringCase(other.key, key))
            continue;
        FUZZ_CHECK(reread.Find(other.section, other.key) == before.Find(other.section, other.key),
                   shown + " changed [" + other.section + "] " + other.key);
    }
    return 0;
}
