#include "platform/Codepage.h"

#include <QList>
#include <array>
#include <unordered_map>

namespace platform {
namespace {

// 0x80..0x9F of Windows-1252; the five unused bytes keep their C1 value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const std::unordered_map<char32_t, unsigned char>& ReverseHighTable() {
    static const auto table = [] {
        std::unordered_map<char32_t, unsigned char> t;
        for (unsigned i = 0; i < kHighControls.size(); ++i)
            t[kHighControls[i]] = static_cast<unsigned char>(0x80 + i);
        return t;
    }();
    return table;
}

// Returns the Windows-1252 byte of a code point, or 0 when there is none.
unsigned char CodePointToAnsi(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    auto it = ReverseHighTable().find(cp);
    return it == ReverseHighTable().end() ? 0 : it->second;
}

// Decodes one UTF-8 sequence at s[i]; advances i. A malformed sequence, an
// overlong form (which could smuggle in "/" or "."), a surrogate or a value
// past U+10FFFF gives U+FFFD.
char32_t DecodeUtf8(std::string_view s, std::size_t& i) {
    constexpr char32_t kBad = 0xFFFD;
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4)
        return kBad;
    char32_t cp = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return kBad;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kBad;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char32_t AnsiToCodePoint(unsigned char c) {
    return (c >= 0x80 && c < 0xA0) ? kHighControls[c - 0x80] : c;
}

std::string Utf8ToAnsi(std::string_view utf8, bool* lossless) {
    std::string out;
    out.reserve(utf8.size());
    bool all = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
        const unsigned char c = cp == 0 ? 0 : CodePointToAnsi(cp);
        if (c == 0 && cp != 0) {
            out += '?';
            all = false;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (lossless)
        *lossless = all;
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 4);
    for (char c : ansi)
        AppendUtf8(out, AnsiToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

QString ToQt(std::string_view ansi) {
    QString out;
    out.reserve(static_cast<qsizetype>(ansi.size()));
    for (char c : ansi)
        out += QChar(static_cast<char16_t>(AnsiToCodePoint(static_cast<unsigned char>(c))));
    return out;
}

std::string FromQt(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t cp : text.toUcs4()) {
        const unsigned char c = CodePointToAnsi(cp);
        out += (c == 0 && cp != 0) ? '?' : static_cast<char>(c);
    }
    return out;
}

char32_t FoldForCompare(unsigned char c) {
    const char32_t cp = AnsiToCodePoint(c);
    if (cp >= U'a' && cp <= U'z')
        return cp - 32;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)
        return cp - 32;
    switch (cp) {
    case 0x0161:
        return 0x0160; // š
    case 0x0153:
        return 0x0152; // œ
    case 0x017E:
        return 0x017D; // ž
    case 0x00FF:
        return 0x0178; // ÿ
    default:
        return cp;
    }
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldForCompare(static_cast<unsigned char>(a[i])) !=
            FoldForCompare(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t x = FoldForCompare(static_cast<unsigned char>(a[i]));
        const char32_t y = FoldForCompare(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace platform
