#include "platform/ui/WindowSystem.h"

#include <QGuiApplication>

namespace platform {
namespace {

std::optional<bool>& KnownSlot() {
    static std::optional<bool> known;
    return known;
}

} // namespace

bool WindowPositionsKnown() {
    if (KnownSlot())
        return *KnownSlot();
    return !QGuiApplication::platformName().startsWith("wayland");
}

void SetWindowPositionsKnown(std::optional<bool> known) {
    KnownSlot() = known;
}

} // namespace platform
