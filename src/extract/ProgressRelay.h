#pragma once
// A progress "control" without a window: the searches show their progress on
// it as on a gauge, and it hands each step to a function, so a command line
// can draw its own bar while the scan stays the window's.
#include <QObject>
#include <cstdint>
#include <functional>

class TProgressRelay : public QObject {
public:
    // Told the bytes of the file before the block about to be read, and the
    // file's size.
    using Step = std::function<void(std::int64_t done, std::int64_t size)>;

    explicit TProgressRelay(Step step) : step_(std::move(step)) {}

    void Show(std::int64_t done, std::int64_t size) const {
        if (step_)
            step_(done, size);
    }

private:
    Step step_;
};
