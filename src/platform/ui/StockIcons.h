#pragma once
// The platform's stock icons, loaded by identifier, as the message dialog
// shows them.
#include <QPixmap>

namespace platform {

constexpr int IDI_HAND = 32513;        // stop sign (errors)
constexpr int IDI_QUESTION = 32514;    // question mark (confirmations)
constexpr int IDI_EXCLAMATION = 32515; // exclamation mark (warnings)
constexpr int IDI_ASTERISK = 32516;    // information sign

// The icon at 32 x 32 pixels, or a null pixmap for an unknown identifier.
QPixmap LoadStockIcon(int id);

} // namespace platform
