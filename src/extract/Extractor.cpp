#include "extract/Extractor.h"

#include <algorithm>

#include "extract/FileSearch.h"
#include "extract/WholeFileWrite.h"
#include "fileutils/FileUtils.h"
#include "fileutils/IoErrorText.h"
#include "fileutils/PathParts.h"
#include "platform/LittleEndian.h"

int BitmapFileNumber = 0;

using platform::ReadLe16;
using platform::ReadLe32;

namespace {

std::string ErrorMessage(const char* what, std::string_view path, int errorCode) {
    return std::string(what) + NamePart(path) + "!\r\n" + IoErrorText(errorCode);
}

} // namespace

BitmapHeader BitmapHeader::Parse(const unsigned char* bytes) {
    BitmapHeader h;
    h.bfSize = static_cast<std::int32_t>(ReadLe32(bytes + 2));
    h.bfReserved1 = ReadLe16(bytes + 6);
    h.bfReserved2 = ReadLe16(bytes + 8);
    h.biSize = ReadLe32(bytes + 14);
    h.biPlanes = ReadLe16(bytes + 26);
    return h;
}

bool BitmapHeader::PassesTests() const {
    return bfReserved1 == 0 && bfReserved2 == 0 && biSize == 40 && biPlanes == 1;
}

TBitmapExtractor::TBitmapExtractor(std::string exePath, ExtractHooks hooks)
    : exePath_(std::move(exePath)),
      outputDir_(hooks.outputDir.empty() ? DirectoryPart(exePath_) : AddBackslash(hooks.outputDir)),
      hooks_(std::move(hooks)) {}

void TBitmapExtractor::Report(const std::string& message) const {
    if (hooks_.reportError)
        hooks_.reportError(message);
}

void TBitmapExtractor::TellNotRead(const std::string& message) const {
    if (hooks_.tellNotRead)
        hooks_.tellNotRead(message);
    else
        Report(message);
}

void TBitmapExtractor::ReportReadError(int errorCode) {
    Report(ErrorMessage("Error reading ", exePath_, errorCode));
    outcome_.readError = errorCode;
}

ExtractOutcome
TBitmapExtractor::ReadingPass(const std::function<void(platform::FileObject&)>& pass) {
    outcome_ = {};
    // A failure to read ends the pass; what was written stays. A failure to
    // close counts for nothing: nothing was written through this handle.
    const FileReading reading = ReadFileWith(exePath_, [&](platform::FileObject& exe) {
        outcome_.opened = true;
        sizeAtStart_ = exe.Size();
        pass(exe);
    });
    if (reading.openError != 0)
        Report(ErrorMessage("Error reading ", exePath_, reading.openError));
    else if (reading.readError != 0)
        ReportReadError(reading.readError);
    return outcome_;
}

namespace {

// A file cut short while it was scanned ends its scan early, though every
// read succeeded: what lay past the cut was never read.
void RequireUncut(const platform::FileObject& exe, std::int64_t sizeAtStart) {
    if (exe.Size() < sizeAtStart)
        throw platform::EInOutError(platform::ERROR_READ_FAULT);
}

} // namespace

ExtractOutcome TBitmapExtractor::Run() {
    overwriteAll_ = false;
    return ReadingPass([this](platform::FileObject& exe) { Scan(exe); });
}

void TBitmapExtractor::Scan(platform::FileObject& exe) {
    TFileSearch search(exePath_);
    std::int64_t start = 1;
    std::int64_t hit = 0;
    std::int32_t size = 0;
    while (NextBitmap(exe, search, start, hit, size)) {
        ReadBitmap(exe, hit, size, HeldAtStart(hit, size));
        ++BitmapFileNumber;
        ++outcome_.taken;
        if (!WriteBitmapFile(outputDir_ + std::to_string(BitmapFileNumber) + ".bmp"))
            return;
    }
    RequireUncut(exe, sizeAtStart_);
}

bool TBitmapExtractor::NextBitmap(platform::FileObject& exe, TFileSearch& search,
                                  std::int64_t& start, std::int64_t& hit, std::int32_t& size) {
    for (;;) {
        hit = search.Search(start, "BM", true, hooks_.progress);
        if (hit == -3)
            throw platform::EInOutError(search.ReadError());
        if (hit <= 0)
            return false;
        unsigned char bytes[BitmapHeaderSize];
        exe.Seek(hit - 1);
        if (exe.Read(bytes, BitmapHeaderSize) < BitmapHeaderSize)
            return false; // a "BM" too close to the end to hold the headers
        const BitmapHeader header = BitmapHeader::Parse(bytes);
        // A size of 0 or less describes no bitmap: it is passed over like a
        // failed test, or the scan would stand still or step backwards.
        if (!header.PassesTests() || header.bfSize <= 0) {
            start = hit + 1;
            continue;
        }
        if (header.bfSize > MaxBitmapSize)
            return false;
        start = hit + header.bfSize;
        size = header.bfSize;
        return true;
    }
}

ExtractOutcome TBitmapExtractor::Survey(std::vector<CarvedBitmap>& found) {
    found.clear();
    // Only where each bitmap lies is noted: its bytes are read when it is
    // written.
    return ReadingPass([this, &found](platform::FileObject& exe) {
        TFileSearch search(exePath_);
        std::int64_t start = 1;
        std::int64_t hit = 0;
        std::int32_t size = 0;
        while (NextBitmap(exe, search, start, hit, size))
            found.push_back({hit - 1, size, static_cast<std::int32_t>(HeldAtStart(hit, size))});
        RequireUncut(exe, sizeAtStart_);
    });
}

ExtractOutcome TBitmapExtractor::WriteSurveyed(const std::vector<CarvedBitmap>& found) {
    overwriteAll_ = false;
    return ReadingPass([this, &found](platform::FileObject& exe) {
        for (const CarvedBitmap& b : found) {
            ReadBitmap(exe, b.offset + 1, b.size, b.held);
            ++BitmapFileNumber;
            ++outcome_.taken;
            if (!WriteBitmapFile(outputDir_ + std::to_string(BitmapFileNumber) + ".bmp"))
                return;
        }
    });
}

std::int64_t TBitmapExtractor::HeldAtStart(std::int64_t hit, std::int32_t size) const {
    return std::clamp<std::int64_t>(sizeAtStart_ - (hit - 1), 0, size);
}

// A declared size reaching past the end of the executable still gives a
// file of that size; the missing part is zeros, never an earlier bitmap's.
void TBitmapExtractor::ReadBitmap(platform::FileObject& exe, std::int64_t hit, std::int32_t size,
                                  std::int64_t held) {
    exe.Seek(hit - 1);
    const std::int64_t got = exe.Read(bitmap_.data(), size);
    if (got < held)
        throw platform::EInOutError(platform::ERROR_READ_FAULT);
    std::fill(bitmap_.begin() + got, bitmap_.begin() + size, 0);
    bitmapSize_ = size;
    bitmapOffset_ = hit - 1;
}

bool TBitmapExtractor::WriteBitmapFile(const std::string& fileName) {
    switch (WriteOut(fileName, bitmap_.data(), bitmapSize_)) {
    case WriteResult::Declined:
        --outcome_.taken;
        --BitmapFileNumber;
        return false;
    case WriteResult::Failed:
        return true;
    case WriteResult::Written:
        break;
    }
    WrittenBitmap record;
    record.offset = bitmapOffset_;
    record.size = bitmapSize_;
    record.file = fileName;
    // The information header's size, width, height, planes and depth lie
    // within the first 30 bytes; a shorter bitmap has none.
    if (bitmapSize_ >= 30) {
        record.width = static_cast<std::int32_t>(ReadLe32(bitmap_.data() + 18));
        record.height = static_cast<std::int32_t>(ReadLe32(bitmap_.data() + 22));
        record.bitCount = ReadLe16(bitmap_.data() + 28);
    }
    Announce(std::move(record));
    return true;
}

bool TBitmapExtractor::MayReplace(const std::string& fileName) {
    if (overwriteAll_)
        return true;
    const OverwriteAnswer answer =
        hooks_.askOverwrite ? hooks_.askOverwrite(fileName) : OverwriteAnswer::No;
    if (answer == OverwriteAnswer::All)
        overwriteAll_ = true;
    return answer != OverwriteAnswer::No;
}

TBitmapExtractor::WriteResult TBitmapExtractor::WriteOut(const std::string& fileName,
                                                         const unsigned char* bytes,
                                                         std::int64_t size) {
    // A name not taken is simply written: creating the new file tells
    // whether it is taken, so a file written new costs no look beforehand.
    // A taken name that is a file is replaced, once the user agrees, only by
    // a whole new one, so a failure part-way leaves it as it was; anything
    // else holding the name refuses the write.
    int errorCode = WriteNewFile(fileName, bytes, size);
    if (errorCode == platform::ERROR_FILE_EXISTS && FileExists(fileName)) {
        if (!MayReplace(fileName))
            return WriteResult::Declined;
        errorCode = ReplaceWholeFile(fileName, bytes, size);
    }
    if (errorCode == 0)
        return WriteResult::Written;
    Report(ErrorMessage("Error writing ", fileName, errorCode));
    ++outcome_.writeFailures;
    return WriteResult::Failed;
}

void TBitmapExtractor::Announce(WrittenBitmap record) {
    ++outcome_.written;
    if (!hooks_.written)
        return;
    record.source = exePath_;
    hooks_.written(record);
}
