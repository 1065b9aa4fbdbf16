#pragma once
// What the fuzz targets share: the one application and temp drive a process
// needs, a way to take fields from the fuzzer's bytes, and a check that
// stops the run on a broken promise (the fuzzer keeps the input).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// A QApplication on the offscreen platform, made on first use.
void EnsureApplication();

// A temp directory mapped as drive C: (holding C:\Sub and C:\Sub\Deeper)
// with C:\Sub current, made on first use and removed at exit.
void EnsureDrives();

[[noreturn]] void Fail(const char* check, std::string_view detail);

// The fuzzer's bytes read front to back; reading past the end gives zeros
// and empty text, so every input means something.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte() {
        if (rest_.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // The bytes up to the next zero byte (which is dropped), or all that is left.
    std::string Field() {
        const auto end = rest_.find('\0');
        std::string field(rest_.substr(0, end));
        rest_.remove_prefix(end == rest_.npos ? rest_.size() : end + 1);
        return field;
    }
    std::string Rest() {
        std::string rest(rest_);
        rest_ = {};
        return rest;
    }

private:
    std::string_view rest_;
};

} // namespace fuzz

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzz::Fail(#condition, detail);                                                      \
    } while (false)
