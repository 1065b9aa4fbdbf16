#pragma once
// A failure that the platform layer raises for its caller to report: its text
// says what went wrong, in words the user can act on.
#include <stdexcept>
#include <string>

namespace platform {

class EFailure : public std::runtime_error {
public:
    explicit EFailure(const std::string& text) : std::runtime_error(text) {}
};

} // namespace platform
