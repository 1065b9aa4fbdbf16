#pragma once
// The second part of every I/O error message: the Windows error code and,
// for the codes we know, what it means.
#include <string>

// "Reason: I/O Error <code>\r\n" and, for the codes we know, a phrase.
// Callers put their own first line and "\r\n" in front.
std::string IoErrorText(int errorCode);
