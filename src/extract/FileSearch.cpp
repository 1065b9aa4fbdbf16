#include "extract/FileSearch.h"

#include <algorithm>
#include <new>

#include "extract/BlockScan.h"
#include "extract/Search.h"
#include "fileutils/FileUtils.h"

namespace {

// Eight blocks: a search that stops after one block leaves the next seven
// for the searches behind it.
constexpr std::int64_t kWindowSize = 8 * SearchBlockSize;

} // namespace

TFileSearch::TFileSearch(std::string fileName) : name_(std::move(fileName)), file_(name_) {}

bool TFileSearch::EnsureOpen() {
    if (!triedOpening_) {
        triedOpening_ = true;
        try {
            OpenReadOnly(file_, 1);
            window_.resize(kWindowSize);
        } catch (const platform::EInOutError& e) {
            openError_ = e.ErrorCode();
        } catch (const std::bad_alloc&) {
            openError_ = platform::ERROR_NOT_ENOUGH_MEMORY;
            if (file_.IsOpen())
                file_.Close();
        }
    }
    return file_.IsOpen();
}

std::int64_t TFileSearch::Fetch(std::int64_t blockStart, const unsigned char*& bytes) {
    const std::int64_t offset = blockStart - windowStart_;
    const bool inside = offset >= 0 && offset <= windowLength_ &&
                        (offset + SearchBlockSize <= windowLength_ || windowReachesEnd_);
    if (!inside) {
        file_.Seek(blockStart);
        windowLength_ = file_.Read(window_.data(), kWindowSize);
        windowStart_ = blockStart;
        windowReachesEnd_ = windowLength_ < kWindowSize;
        return Fetch(blockStart, bytes);
    }
    bytes = window_.data() + offset;
    return std::min<std::int64_t>(SearchBlockSize, windowLength_ - offset);
}

std::int64_t TFileSearch::Search(std::int64_t start, std::string_view pattern, bool caseSensitive,
                                 const SearchProgress& progress) {
    if (!EnsureOpen()) {
        const std::int64_t hit = SearchInFile(name_, start, pattern, caseSensitive, progress);
        // The plain search tells no reason; the failed opening may.
        readError_ = openError_ != 0 ? openError_ : platform::ERROR_READ_FAULT;
        return hit;
    }
    if (pattern.size() > MaxPatternLength)
        return -1;
    try {
        const std::int64_t size = file_.Size();
        if (size < start || start < 1)
            return -1;
        return ScanBlocks(start, size, pattern, caseSensitive, progress,
                          [this](std::int64_t blockStart, const unsigned char*& bytes) {
                              return Fetch(blockStart, bytes);
                          });
    } catch (const platform::EInOutError& e) {
        windowLength_ = 0;
        readError_ = e.ErrorCode();
        return -3;
    }
}
