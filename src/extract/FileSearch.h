#pragma once
// A search object over one file, for callers that search the same file again
// and again (the extractor starts a fresh search behind every hit).
//
// Search gives what SearchInFile gives for the same arguments, the progress
// shown included, while the file stays as it was. The file is opened once,
// on the first search, and stays open while the object lives; the bytes read
// are kept in a window that the next search reuses when it starts inside it.
// When the file cannot be opened, every search is a plain SearchInFile.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "extract/FileScan.h"
#include "platform/FileObject.h"

class TFileSearch {
public:
    explicit TFileSearch(std::string fileName);

    std::int64_t Search(std::int64_t start, std::string_view pattern, bool caseSensitive,
                        const SearchProgress& progress);
    // The Windows error code behind the last search's -3.
    int ReadError() const { return readError_; }

private:
    bool EnsureOpen();
    // Up to SearchBlockSize bytes of the file from `blockStart`, from the
    // window, which is read again when they are not all in it.
    std::int64_t Fetch(std::int64_t blockStart, const unsigned char*& bytes);

    std::string name_;
    platform::FileObject file_;
    bool triedOpening_ = false;
    int openError_ = 0; // why the file could not be opened, or 0
    int readError_ = 0;
    std::vector<unsigned char> window_;
    std::int64_t windowStart_ = 0;
    std::int64_t windowLength_ = 0;
    bool windowReachesEnd_ = false; // the last read stopped at the end of the file
};
