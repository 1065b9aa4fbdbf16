#pragma once
// The extraction scan's rules written out plainly over the bytes in memory:
// find "BM" byte by byte, read the header fields byte by byte, and note each
// file written. The extractor's tests and its fuzz target hold the real scan
// to it. Header only, so a fuzz target can use it without the test library.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "extract/Extractor.h"

namespace testsupport {

// The bytes a taken bitmap's file must hold: the executable's bytes from the
// hit, zeros where the declared size reaches past its end.
inline std::string TakenBytes(const std::string& exe, std::size_t offset, std::int32_t size) {
    std::string bytes =
        offset < exe.size() ? exe.substr(offset, static_cast<std::size_t>(size)) : std::string();
    bytes.resize(static_cast<std::size_t>(size), '\0');
    return bytes;
}

struct ReferenceRun {
    std::map<std::string, std::string> files; // name -> bytes, updated as written
    std::vector<std::string> questions;       // names asked about
    int count = 0;
};

inline std::int64_t LittleEndian(const std::string& s, std::size_t at, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int64_t>(v);
}

// One run over `exe`, numbering on from `number`, the questions answered
// from `answers` in turn (No once they run out); `run.files` holds the
// files there before.
inline void ReferenceExtract(const std::string& exe, int& number,
                             std::vector<OverwriteAnswer> answers, ReferenceRun& run) {
    bool all = false;
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = pos;
        while (hit + 1 < exe.size() && !(exe[hit] == 'B' && exe[hit + 1] == 'M'))
            ++hit;
        if (hit + 1 >= exe.size() || hit + 54 > exe.size())
            return;
        const auto size = static_cast<std::int32_t>(LittleEndian(exe, hit + 2, 4));
        const bool ok = LittleEndian(exe, hit + 6, 2) == 0 && LittleEndian(exe, hit + 8, 2) == 0 &&
                        LittleEndian(exe, hit + 14, 4) == 40 && LittleEndian(exe, hit + 26, 2) == 1;
        if (!ok || size <= 0) {
            pos = hit + 1;
            continue;
        }
        if (size > 5000)
            return;
        pos = hit + static_cast<std::size_t>(size);
        const std::string name = std::to_string(++number) + ".bmp";
        ++run.count;
        if (!all && run.files.count(name)) {
            run.questions.push_back(name);
            const OverwriteAnswer a = answers.empty() ? OverwriteAnswer::No : answers.front();
            if (!answers.empty())
                answers.erase(answers.begin());
            if (a == OverwriteAnswer::No) {
                --number;
                --run.count;
                return;
            }
            all = a == OverwriteAnswer::All;
        }
        run.files[name] = TakenBytes(exe, hit, size);
    }
}

} // namespace testsupport
