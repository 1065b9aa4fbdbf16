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

// The code point of every byte but the token mark, which stands for nothing
// by itself.
const std::unordered_map<char32_t, unsigned char>& ReverseHighTable() {
    static const auto table = [] {
        std::unordered_map<char32_t, unsigned char> t;
        for (unsigned i = 0; i < kHighControls.size(); ++i)
            if (static_cast<char>(0x80 + i) != TokenMark)
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

// Raw host bytes (0x80 to 0xFF, the only ones that can be unsound) ride on
// the low surrogates U+DC80 to U+DCFF.
constexpr char32_t kRawByteBase = 0xDC00;

bool IsRawByte(char32_t cp) {
    return cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF;
}

bool IsSurrogate(char32_t cp) {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendToken(std::string& out, char32_t cp) {
    out += TokenMark;
    for (int shift = 20; shift >= 0; shift -= 4)
        out += kHexDigits[(cp >> shift) & 0xF];
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower case is never written, so never read
}

// The code point of a sound token at s[at]: six digits, a character or a
// raw byte.
bool ReadToken(std::string_view s, std::size_t at, char32_t& cp) {
    if (s.size() - at < TokenLength)
        return false;
    cp = 0;
    for (std::size_t k = 1; k < TokenLength; ++k) {
        const int digit = HexValue(s[at + k]);
        if (digit < 0)
            return false;
        cp = (cp << 4) | static_cast<char32_t>(digit);
    }
    return cp <= 0x10FFFF && (!IsSurrogate(cp) || IsRawByte(cp));
}

// Decodes one UTF-8 sequence at s[i] and advances i past it. False for a
// malformed sequence, an overlong form (which could smuggle in "/" or "."),
// a surrogate or a value past U+10FFFF; i then stands one byte further on.
bool DecodeUtf8(std::string_view s, std::size_t& i, char32_t& cp) {
    const std::size_t start = i;
    const auto lead = static_cast<unsigned char>(s[i++]);
    cp = lead;
    if (lead < 0x80)
        return true;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    bool sound = extra > 0 && lead <= 0xF4;
    if (sound) {
        cp = lead & (0x3F >> extra);
        for (int k = 0; k < extra && sound; ++k) {
            sound = i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80;
            if (sound)
                cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
        }
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    sound = sound && cp >= kSmallest[extra] && cp <= 0x10FFFF && !IsSurrogate(cp);
    if (!sound)
        i = start + 1;
    return sound;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A character folded for comparing, and its length in the string.
char32_t FoldedAt(std::string_view s, std::size_t at, std::size_t& length) {
    if (s[at] != TokenMark) {
        length = 1;
        return FoldForCompare(static_cast<unsigned char>(s[at]));
    }
    const Character c = CharacterAt(s, at);
    length = c.length;
    return FoldCharacter(c.codePoint);
}

} // namespace

Character CharacterAt(std::string_view ansi, std::size_t at) {
    const auto byte = static_cast<unsigned char>(ansi[at]);
    if (ansi[at] != TokenMark)
        return {AnsiToCodePoint(byte), 1};
    char32_t cp = 0;
    if (ReadToken(ansi, at, cp))
        return {cp, TokenLength};
    return {NoCharacter, 1};
}

std::string Token(char32_t codePoint) {
    std::string token;
    AppendToken(token, codePoint);
    return token;
}

char32_t AnsiToCodePoint(unsigned char c) {
    return (c >= 0x80 && c < 0xA0) ? kHighControls[c - 0x80] : c;
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t at = i;
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, i, cp)) {
            AppendToken(out, kRawByteBase + static_cast<unsigned char>(utf8[at]));
            continue;
        }
        const unsigned char c = CodePointToAnsi(cp);
        if (c == 0 && cp != 0)
            AppendToken(out, cp);
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 4);
    for (std::size_t i = 0; i < ansi.size();) {
        const Character c = CharacterAt(ansi, i);
        i += c.length;
        if (c.length == TokenLength && IsRawByte(c.codePoint))
            out += static_cast<char>(c.codePoint - kRawByteBase);
        else
            AppendUtf8(out, c.codePoint);
    }
    return out;
}

QString ToQt(std::string_view ansi) {
    QString out;
    out.reserve(static_cast<qsizetype>(ansi.size()));
    for (std::size_t i = 0; i < ansi.size();) {
        const Character c = CharacterAt(ansi, i);
        i += c.length;
        const bool shown = c.length == 1 && c.codePoint != NoCharacter;
        out += shown ? QChar(static_cast<char16_t>(c.codePoint)) : QChar(u'?');
    }
    return out;
}

QString ToHostText(std::string_view ansi) {
    QString out;
    out.reserve(static_cast<qsizetype>(ansi.size()));
    for (std::size_t i = 0; i < ansi.size();) {
        const Character c = CharacterAt(ansi, i);
        i += c.length;
        const char32_t cp = IsRawByte(c.codePoint) ? NoCharacter : c.codePoint;
        out += QString::fromUcs4(&cp, 1);
    }
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

std::size_t WindowsLength(std::string_view ansi) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < ansi.size();) {
        const Character c = CharacterAt(ansi, i);
        i += c.length;
        units += c.codePoint > 0xFFFF ? 2 : 1;
    }
    return units;
}

std::string_view WindowsPrefix(std::string_view ansi, std::size_t count) {
    std::size_t i = 0, units = 0;
    while (i < ansi.size()) {
        const Character c = CharacterAt(ansi, i);
        units += c.codePoint > 0xFFFF ? 2 : 1;
        if (units > count)
            break;
        i += c.length;
    }
    return ansi.substr(0, i);
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

char32_t FoldCharacter(char32_t codePoint) {
    const unsigned char c = CodePointToAnsi(codePoint);
    if (c != 0 || codePoint == 0)
        return FoldForCompare(c);
    if (IsSurrogate(codePoint))
        return codePoint;
    return QChar::toUpper(codePoint);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        std::size_t m = 0, n = 0;
        if (FoldedAt(a, i, m) != FoldedAt(b, j, n))
            return false;
        i += m;
        j += n;
    }
    return i == a.size() && j == b.size();
}

std::u32string FoldedName(std::string_view name) {
    std::u32string folded;
    for (std::size_t i = 0, n = 0; i < name.size(); i += n)
        folded += FoldedAt(name, i, n);
    return folded;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        std::size_t m = 0, n = 0;
        const char32_t x = FoldedAt(a, i, m), y = FoldedAt(b, j, n);
        if (x != y)
            return x < y ? -1 : 1;
        i += m;
        j += n;
    }
    return i < a.size() ? 1 : j < b.size() ? -1 : 0;
}

} // namespace platform
