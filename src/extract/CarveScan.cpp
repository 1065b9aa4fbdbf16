#include "extract/CarveScan.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "extract/BitmapHeaderRule.h"
#include "extract/BlockScan.h"
#include "extract/LittleEndian.h"
#include "extract/PngWalk.h"

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
    TScanWindow(platform::FileObject& file, std::int64_t size, QObject* progress)
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

    // The first match of `pattern` at or after `from`, or kNone.
    std::int64_t Find(std::int64_t from, std::string_view pattern) {
        const auto overlap = static_cast<std::int64_t>(pattern.size()) - 1;
        while (from + overlap < size_) {
            if (from < start_ || from + overlap >= start_ + length_)
                Load(from);
            const std::int64_t skip = from - start_;
            const std::ptrdiff_t at = FindPattern(
                bytes_.data() + skip, static_cast<std::size_t>(length_ - skip), pattern, true);
            if (at >= 0)
                return from + at;
            if (start_ + length_ >= size_)
                return kNone;
            from = start_ + length_ - overlap;
        }
        return kNone;
    }

    ReadAt Reader() {
        return [this](std::int64_t offset, unsigned char* buffer, std::int64_t n) {
            file_.Seek(offset);
            const std::int64_t got = file_.Read(buffer, n);
            length_ = 0; // the file's position moved under the window
            return got;
        };
    }

private:
    void Load(std::int64_t offset) {
        ShowProgress(progress_, offset, size_);
        file_.Seek(offset);
        start_ = offset;
        length_ = file_.Read(bytes_.data(), std::ssize(bytes_));
        if (length_ < std::min<std::int64_t>(std::ssize(bytes_), size_ - offset))
            throw platform::EInOutError(platform::ERROR_READ_FAULT); // cut under us
    }

    platform::FileObject& file_;
    std::int64_t size_;
    QObject* progress_;
    std::vector<unsigned char> bytes_;
    std::int64_t start_ = 0;
    std::int64_t length_ = 0;
};

class TCarver {
public:
    TCarver(platform::FileObject& file, std::int64_t size, const CarveRules& rules,
            QObject* progress)
        : window_(file, size, progress), size_(size), rules_(rules) {}

    CarveResult Run() {
        for (std::int64_t pos = 0; pos < size_;) {
            // A search that found nothing up to the end is not run again.
            if (bitmaps_ && nextBm_ < pos)
                nextBm_ = Found(window_.Find(pos, "BM"));
            if (rules_.png && nextPng_ < pos)
                nextPng_ = Found(window_.Find(pos, PngSignature));
            const std::int64_t bm = bitmaps_ ? nextBm_ : size_;
            const std::int64_t png = rules_.png ? nextPng_ : size_;
            if (bm == size_ && png == size_)
                break;
            pos = png < bm ? TakePng(png) : TakeBitmap(bm);
        }
        return std::move(result_);
    }

private:
    std::int64_t Found(std::int64_t at) const { return at == kNone ? size_ : at; }

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
    std::int64_t nextBm_ = kNone;
    std::int64_t nextPng_ = kNone;
    CarveResult result_;
};

} // namespace

CarveResult CarveFile(platform::FileObject& file, std::int64_t size, const CarveRules& rules,
                      QObject* progress) {
    return TCarver(file, size, rules, progress).Run();
}
