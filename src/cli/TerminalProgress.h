#pragma once
// The progress bar drawn on a terminal while a file is scanned: one line,
// redrawn in place only when its percentage changes.
#include <cstdint>
#include <ostream>
#include <string>

class TTerminalProgress {
public:
    TTerminalProgress(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}

    // Redraws the bar when its percentage or its label changed.
    void Show(std::int64_t done, std::int64_t size, const std::string& label);
    // Takes the bar off the line, so that a message or the next bar starts clean.
    void Clear();

private:
    std::ostream& out_;
    bool enabled_;
    bool shown_ = false;
    int percent_ = -1;
    std::string label_;
};
