#include "extract/CarveScan.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "extract/BitmapHeaderRule.h"
#include "extract/BlockScan.h"
#include "extract/PngWalk.h"
#include "platform/LittleEndian.h"

using platform::ReadLe32;

namespace {

// Large enough that reading, not searching, sets the pace.
constexpr std::int64_t kWindowSize = 1 << 20;
constexpr std::int64_t kNone = -1;

std::string Hex(std::int64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(offset));
    return text;
}

// A stretch of the file held in memory, moved forward (or back) on demand.
class TScanWindow {
public:
    TScanWindow(platform::FileObject& file, std::int64_t size, const SearchProgress& progress)
        : file_(file), size_(size), progress_(progress),
          bytes_(static_cast<std::size_t>(std::min(kWindowSize, std::max<std::int64_t>(size, 1)))) {
    }

    // Up to `n` bytes at `offset`; `available` says how many the file holds.
    const unsigned char* At(std::int64_t offset, std::int64_t n, std::int64_t& available) {
        available = std::min(n, size_ - offset);
        if (offset < start_ || offset + available > start_ + length_)
            Load(offset);
        return bytes_.data() + (offset - start_);
    }

    // The first "BM" (when `bitmaps`) or PNG signature (when `pngs`) at or
    // after `from`, or kNone; `png` tells which. Both are looked for in one
    // pass over the file, each stretch read once.
    std::int64_t FindNext(std::int64_t from, bool bitmaps, bool pngs, bool& png) {
        constexpr auto overlap = static_cast<std::int64_t>(PngSignature.size()) - 1;
        while (bitmaps || pngs) {
            if (from + 1 >= size_)
                return kNone;
            if (from < start_ || from + std::min(overlap, size_ - from - 1) >= start_ + length_)
                Load(from);
            const unsigned char* bytes = bytes_.data() + (from - start_);
            const auto n = static_cast<std::size_t>(start_ + length_ - from);
            const std::ptrdiff_t bm = bitmaps ? FindPattern(bytes, n, "BM", true) : -1;
            // A signature counts only before the "BM", so look no further.
            const std::size_t pngRoom =
                bm >= 0 ? std::min(n, static_cast<std::size_t>(bm) + PngSignature.size()) : n;
            const std::ptrdiff_t sig = pngs ? FindPattern(bytes, pngRoom, PngSignature, true) : -1;
            if (sig >= 0 && (bm < 0 || sig < bm)) {
                png = true;
                return from + sig;
            }
            if (bm >= 0) {
                png = false;
                return from + bm;
            }
            if (start_ + length_ >= size_)
                return kNone;
            from = start_ + length_ - overlap;
        }
        return kNone;
    }

    // Bytes the window holds are copied from it; others are read from the
    // file, and the window stays as it is (a load seeks first), so the scan
    // reads no stretch twice for the pictures it walks through.
    ReadAt Reader() {
        return [this](std::int64_t offset, unsigned char* buffer, std::int64_t n) {
            if (offset >= start_ && offset + n <= start_ + length_) {
                std::memcpy(buffer, bytes_.data() + (offset - start_), static_cast<std::size_t>(n));
                return n;
            }
            file_.Seek(offset);
            return file_.Read(buffer, n);
        };
    }

private:
    void Load(std::int64_t offset) {
        if (progress_)
            progress_(offset, size_);
        file_.Seek(offset);
        start_ = offset;
        length_ = file_.Read(bytes_.data(), std::ssize(bytes_));
        if (length_ < std::min<std::int64_t>(std::ssize(bytes_), size_ - offset))
            throw platform::EInOutError(platform::ERROR_READ_FAULT); // cut under us
    }

    platform::FileObject& file_;
    std::int64_t size_;
    const SearchProgress& progress_;
    std::vector<unsigned char> bytes_;
    std::int64_t start_ = 0;
    std::int64_t length_ = 0;
};

class TCarver {
public:
    TCarver(platform::FileObject& file, std::int64_t size, const CarveRules& rules,
            const SearchProgress& progress)
        : window_(file, size, progress), size_(size), rules_(rules) {}

    CarveResult Run() {
        for (std::int64_t pos = 0; pos < size_;) {
            bool png = false;
            const std::int64_t at = window_.FindNext(pos, bitmaps_, rules_.png, png);
            if (at == kNone)
                break;
            pos = png ? TakePng(at) : TakeBitmap(at);
        }
        return std::move(result_);
    }

private:
    // Each returns where the scan goes on.
    std::int64_t TakePng(std::int64_t at) {
        const PngExtent png = WalkPng(window_.Reader(), at, size_);
        if (png.verdict != PngVerdict::Whole) {
            result_.notes.push_back("the PNG at " + Hex(at) + " is not taken: " + png.problem);
            return at + 1;
        }
        result_.found.push_back({at, png.size, png.size, CarvedKind::Png});
        return at + png.size;
    }

    std::int64_t TakeBitmap(std::int64_t at) {
        std::int64_t available = 0;
        const unsigned char* bytes =
            window_.At(at, static_cast<std::int64_t>(BitmapHeadersRead), available);
        const auto n = static_cast<std::size_t>(available);
        const std::int64_t declared = available >= 6 ? ReadLe32(bytes + 2) : 0;
        if (WindowTakes(bytes, n)) {
            result_.found.push_back({at, declared, std::min(declared, size_ - at)});
            return at + declared;
        }
        const HeaderVerdict verdict = JudgeBitmapHeaders(bytes, n, size_ - at, rules_);
        if (verdict == HeaderVerdict::Bitmap) {
            result_.found.push_back({at, declared, declared});
            return at + declared;
        }
        if (verdict == HeaderVerdict::RunsPastEnd)
            result_.notes.push_back("the bitmap at " + Hex(at) + " is not taken: it declares " +
                                    std::to_string(declared) + " bytes, " +
                                    std::to_string(declared - (size_ - at)) +
                                    " more than the file holds");
        // Without --any-size a bitmap the window would stop at ends the
        // bitmaps here too; PNG files are still looked for.
        if (!rules_.anySize && PassesWindowTests(bytes, n) &&
            static_cast<std::int32_t>(declared) > MaxBitmapSize)
            bitmaps_ = false;
        return at + 1;
    }

    TScanWindow window_;
    std::int64_t size_;
    CarveRules rules_;
    bool bitmaps_ = true;
    CarveResult result_;
};

} // namespace

CarveResult CarveFile(platform::FileObject& file, std::int64_t size, const CarveRules& rules,
                      const SearchProgress& progress) {
    return TCarver(file, size, rules, progress).Run();
}
