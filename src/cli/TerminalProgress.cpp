#include "cli/TerminalProgress.h"

#include <iomanip>

namespace {

constexpr int kBarWidth = 30;
constexpr std::size_t kLabelWidth = 40;

} // namespace

void TTerminalProgress::Begin(const std::string& label) {
    label_ =
        label.size() > kLabelWidth ? "..." + label.substr(label.size() - kLabelWidth + 3) : label;
    percent_ = -1;
    Show(0, 1);
}

void TTerminalProgress::Show(std::int64_t done, std::int64_t size) {
    if (!enabled_)
        return;
    const int percent = size > 0 ? static_cast<int>(done * 100 / size) : 100;
    if (percent == percent_)
        return;
    percent_ = percent;
    const int filled = percent * kBarWidth / 100;
    out_ << '\r' << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << ' ' << std::setw(3)
         << percent << "% " << label_ << std::flush;
    shown_ = true;
}

void TTerminalProgress::Clear() {
    if (!shown_)
        return;
    out_ << '\r' << std::string(kBarWidth + kLabelWidth + 7, ' ') << '\r' << std::flush;
    shown_ = false;
    percent_ = -1;
}
