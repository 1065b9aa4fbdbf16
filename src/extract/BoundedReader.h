#pragma once
// Reads of a file that never reach outside it: what a file says about its
// own layout is checked against its size before anything is read.
#include <cstdint>
#include <string>

#include "platform/FileObject.h"

class TBoundedReader {
public:
    // The file is open for reading with records of one byte.
    explicit TBoundedReader(platform::FileObject& file) : file_(file), size_(file.Size()) {}

    // False when the bytes lie (partly) outside the file or cannot all be
    // read; raises platform::EInOutError when reading fails.
    bool Read(std::int64_t at, void* buffer, std::int64_t n) {
        if (!Inside(at, n))
            return false;
        file_.Seek(at);
        return file_.Read(buffer, n) == n;
    }
    bool Read(std::int64_t at, std::int64_t n, std::string& bytes) {
        if (!Inside(at, n))
            return false;
        bytes.assign(static_cast<std::size_t>(n), '\0');
        return Read(at, bytes.data(), n);
    }
    bool Inside(std::int64_t at, std::int64_t n) const {
        return at >= 0 && n >= 0 && at <= size_ && n <= size_ - at;
    }
    std::int64_t Size() const { return size_; }

private:
    platform::FileObject& file_;
    std::int64_t size_;
};
