#pragma once
// Windows-1252 <-> Unicode. Every string above the platform layer is a byte
// string in the Western code page; this is the one place it meets UTF-8 and Qt.
#include <QString>
#include <string>
#include <string_view>

namespace platform {

// Host (UTF-8) text to Windows-1252. A character without a Windows-1252 form,
// or an invalid UTF-8 sequence, becomes '?'. `lossless` (if given) tells
// whether every character survived.
std::string Utf8ToAnsi(std::string_view utf8, bool* lossless = nullptr);
std::string AnsiToUtf8(std::string_view ansi);

// The Unicode code point of one Windows-1252 byte (the five unused bytes map
// to the C1 control of the same value, as Windows does).
char32_t AnsiToCodePoint(unsigned char c);

// The one conversion through which text reaches a widget and comes back.
QString ToQt(std::string_view ansi);
std::string FromQt(const QString& text);

// Upper-casing as the file system compares names (letters of Windows-1252,
// accented ones included), used for case-insensitive look-ups and the
// listing order. Not the program's own UpperCaseGerman.
char32_t FoldForCompare(unsigned char c);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// Negative, zero or positive as the names compare in listing order.
int CompareIgnoringCase(std::string_view a, std::string_view b);

} // namespace platform
