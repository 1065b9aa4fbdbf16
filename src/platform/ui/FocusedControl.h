#pragma once
// Which control of the active form holds the input focus.
#include <string>

// objectName of the active window's control that holds the input focus, or
// empty when none does.
std::string FocusedControlName();
