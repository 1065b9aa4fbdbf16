#pragma once
// What the window system lets a program know of its windows.
#include <optional>

namespace platform {

// Whether the window system tells a program where its windows stand on the
// screen. Wayland does not: a window there reads back a made-up position.
bool WindowPositionsKnown();

// Makes WindowPositionsKnown answer `known` (tests); std::nullopt asks the
// window system again.
void SetWindowPositionsKnown(std::optional<bool> known);

} // namespace platform
