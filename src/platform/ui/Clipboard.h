#pragma once
// The host clipboard. Each call replaces everything on it, in every format,
// with the one thing given.
#include <QImage>
#include <string_view>

namespace platform {

// Windows-1252 text, converted for the host: a character without a form
// (a token) is put there as itself.
void SetClipboardText(std::string_view ansi);
// A copy of the bitmap, so the clipboard owns its own pixels; an empty
// bitmap just empties the clipboard.
void SetClipboardBitmap(const QImage& bitmap);

} // namespace platform
