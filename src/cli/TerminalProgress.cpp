#include "cli/TerminalProgress.h"

#include <algorithm>
#include <iomanip>

namespace {

constexpr int kBarWidth = 30;
constexpr std::size_t kLabelWidth = 40;

} // namespace

void TTerminalProgress::Show(std::int64_t done, std::int64_t size, const std::string& label) {
    if (!enabled_)
        return;
    const int percent =
        size > 0 ? static_cast<int>(std::clamp<std::int64_t>(done * 100 / size, 0, 100)) : 100;
    if (percent == percent_ && label == label_)
        return;
    percent_ = percent;
    label_ = label;
    const std::string shown =
        label.size() > kLabelWidth ? "..." + label.substr(label.size() - kLabelWidth + 3) : label;
    const int filled = percent * kBarWidth / 100;
    out_ << '\r' << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << ' ' << std::setw(3)
         << percent << "% " << shown << std::flush;
    shown_ = true;
}

void TTerminalProgress::Clear() {
    if (!shown_)
        return;
    out_ << '\r' << std::string(kBarWidth + kLabelWidth + 7, ' ') << '\r' << std::flush;
    shown_ = false;
    percent_ = -1;
    label_.clear();
}
