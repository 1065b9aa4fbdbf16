#pragma once
// Windows-1252 <-> Unicode. Every string above the platform layer is a byte
// string in the Western code page; this is the one place it meets UTF-8 and Qt.
//
// A host character without a Windows-1252 form travels inside those strings
// as a token: the byte TokenMark (0x81, which the code page leaves unused, so
// no text typed into a widget or read from one ever holds it) followed by the
// character's code point in six upper-case hexadecimal digits. A host byte
// that is not part of sound UTF-8 travels as the token of U+DC00 plus the
// byte, a lone surrogate that no character can be. So a string with tokens
// leads back to exactly the host text it came from, and to no other. The one
// conversion to widgets shows a token as "?", as an 8-bit program shows such
// a character; host names and the clipboard's text get the character back.
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

constexpr char TokenMark = '\x81';
constexpr std::size_t TokenLength = 7;
// What a mark without a sound token stands for: no character.
constexpr char32_t NoCharacter = 0xFFFD;

// One character of a Windows-side string: a byte of the code page, or a
// whole token.
struct Character {
    char32_t codePoint; // a raw host byte b reads as 0xDC00 + b
    std::size_t length; // bytes it takes in the string
};
Character CharacterAt(std::string_view ansi, std::size_t at);
// The token that stands for a character.
std::string Token(char32_t codePoint);

// Host (UTF-8) text to Windows-1252, with tokens for what has no form.
std::string Utf8ToAnsi(std::string_view utf8);
// Back to the host's bytes; a mark without a sound token gives U+FFFD.
std::string AnsiToUtf8(std::string_view ansi);

// The Unicode code point of one Windows-1252 byte (the five unused bytes map
// to the C1 control of the same value, as Windows does).
char32_t AnsiToCodePoint(unsigned char c);

// The one conversion through which text reaches a widget and comes back: a
// token shows as "?", and text read back never holds one.
QString ToQt(std::string_view ansi);
std::string FromQt(const QString& text);
// The text with every token as the character it stands for, for the host
// (the clipboard); a raw host byte, which is no character, as U+FFFD.
QString ToHostText(std::string_view ansi);

// The length as Windows counts it, in UTF-16 units: a token is one
// character (two beyond U+FFFF), however many bytes it takes here.
std::size_t WindowsLength(std::string_view ansi);
// The first `count` characters as Windows counts them, never half a token.
std::string_view WindowsPrefix(std::string_view ansi, std::size_t count);

// Upper-casing as the file system compares names (letters of Windows-1252,
// accented ones included; a token's character by Unicode's upper case), used
// for case-insensitive look-ups and the listing order. Not the program's own
// UpperCaseGerman.
char32_t FoldForCompare(unsigned char c);
char32_t FoldCharacter(char32_t codePoint);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// The name's characters folded: two names are equal ignoring case exactly
// when their folded forms are equal, so the form can key a look-up.
std::u32string FoldedName(std::string_view name);
// Negative, zero or positive as the names compare in listing order.
int CompareIgnoringCase(std::string_view a, std::string_view b);

} // namespace platform
