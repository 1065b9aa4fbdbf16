#include "FailureText.h"

#include "platform/Failure.h"

namespace testsupport {

std::string FailureText(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::EFailure& e) {
        return e.what();
    }
    return "no failure";
}

} // namespace testsupport
