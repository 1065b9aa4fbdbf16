#pragma once
// What a call reports when it fails, as the tests compare it.
#include <functional>
#include <string>

namespace testsupport {

// The text of the failure `action` throws, or "no failure".
std::string FailureText(const std::function<void()>& action);

} // namespace testsupport
