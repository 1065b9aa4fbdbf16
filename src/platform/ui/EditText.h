#pragma once
// The text of a one-line edit as the program's Windows-1252 string.
//
// Text reaches an edit through the one conversion to widgets, which shows a
// token (Codepage.h) as "?"; reading the edit back gives "?" then, not the
// token. So an edit given a name by the program keeps that name beside its
// text, and hands it back for as long as nobody changed the text: a name
// chosen from a list stays the name of exactly that file, and once the user
// types, what is read is what was typed.
#include <string>
#include <string_view>

class QLineEdit;

namespace platform {

void SetEditText(QLineEdit* edit, std::string_view ansi);
std::string EditText(const QLineEdit* edit);

} // namespace platform
