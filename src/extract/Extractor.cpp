#include "extract/Extractor.h"

#include <algorithm>

#include "extract/CarvedNames.h"
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
    if (hooks_.carve.rules.Wide()) {
        std::vector<CarvedBitmap> found;
        const ExtractOutcome surveyed = Survey(found);
        if (!surveyed.opened || surveyed.readError != 0)
            return surveyed;
        return WriteSurveyed(found);
    }
    overwriteAll_ = false;
    return ReadingPass([this](platform::FileObject& exe) { Scan(exe); });
}

void TBitmapExtractor::Scan(platform::FileObject& exe) {
    TFileSearch search(exePath_);
    std::int64_t start = 1;
    while (NextBitmap(exe, search, start, Take::Bytes))
        if (!TakePicture())
            return;
    RequireUncut(exe, sizeAtStart_);
}

bool TBitmapExtractor::NextBitmap(platform::FileObject& exe, TFileSearch& search,
                                  std::int64_t& start, Take take) {
    for (;;) {
        const std::int64_t hit = search.Search(start, "BM", true, hooks_.progress);
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
        const std::int64_t held = HeldAtStart(hit, header.bfSize);
        if (take == Take::Bytes) {
            ReadBitmap(exe, hit, header.bfSize, held);
        } else {
            bitmapOffset_ = hit - 1;
            bitmapSize_ = header.bfSize;
            bitmapHeld_ = held;
        }
        return true;
    }
}

ExtractOutcome TBitmapExtractor::Survey(std::vector<CarvedBitmap>& found) {
    found.clear();
    return ReadingPass([this, &found](platform::FileObject& exe) {
        if (hooks_.carve.rules.Wide())
            return CarveSurvey(exe, found);
        TFileSearch search(exePath_);
        std::int64_t start = 1;
        // Only where each bitmap lies is noted: its bytes are read when it
        // is written.
        while (NextBitmap(exe, search, start, Take::Place))
            found.push_back({bitmapOffset_, bitmapSize_, bitmapHeld_});
        RequireUncut(exe, sizeAtStart_);
    });
}

void TBitmapExtractor::CarveSurvey(platform::FileObject& exe, std::vector<CarvedBitmap>& found) {
    CarveResult carved = CarveFile(exe, sizeAtStart_, hooks_.carve.rules, hooks_.progress);
    for (const std::string& note : carved.notes)
        Report(NamePart(exePath_) + ": " + note);
    found = std::move(carved.found);
    RequireUncut(exe, sizeAtStart_);
}

ExtractOutcome TBitmapExtractor::WriteSurveyed(const std::vector<CarvedBitmap>& found) {
    overwriteAll_ = false;
    return ReadingPass([this, &found](platform::FileObject& exe) {
        for (const CarvedBitmap& b : found) {
            ReadBitmap(exe, b.offset + 1, b.size, b.held);
            bitmapKind_ = b.kind;
            if (!TakePicture())
                return;
        }
    });
}

std::int64_t TBitmapExtractor::HeldAtStart(std::int64_t hit, std::int64_t size) const {
    return std::clamp<std::int64_t>(sizeAtStart_ - (hit - 1), 0, size);
}

// A declared size reaching past the end of the executable still gives a
// file of that size; the missing part is zeros, never an earlier bitmap's.
void TBitmapExtractor::ReadBitmap(platform::FileObject& exe, std::int64_t hit, std::int64_t size,
                                  std::int64_t held) {
    bitmap_.resize(static_cast<std::size_t>(size));
    exe.Seek(hit - 1);
    const std::int64_t got = exe.Read(bitmap_.data(), size);
    if (got < held)
        throw platform::EInOutError(platform::ERROR_READ_FAULT);
    std::fill(bitmap_.begin() + got, bitmap_.begin() + size, 0);
    bitmapSize_ = size;
    bitmapHeld_ = got;
    bitmapOffset_ = hit - 1;
    bitmapKind_ = CarvedKind::Bitmap;
}

namespace {

std::uint32_t BigEndian32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 |
           static_cast<std::uint32_t>(at[2]) << 8 | at[3];
}

// Size and depth as the headers at the start of the picture give them.
void Describe(const std::vector<unsigned char>& bytes, CarvedKind kind, WrittenBitmap& record) {
    if (kind == CarvedKind::Png) {
        // Signature, then the header chunk's length and type, then its data.
        constexpr int channels[7] = {1, 1, 3, 1, 2, 1, 4};
        record.kind = "png";
        record.width = static_cast<std::int32_t>(BigEndian32(bytes.data() + 16));
        record.height = static_cast<std::int32_t>(BigEndian32(bytes.data() + 20));
        record.bitCount = bytes[24] * (bytes[25] < 7 ? channels[bytes[25]] : 1);
        return;
    }
    // The information header's size, width, height, planes and depth lie
    // within the first 30 bytes; a shorter bitmap has none. The 12-byte
    // header holds 16-bit sides.
    if (bytes.size() >= 26 && ReadLe32(bytes.data() + 14) == 12) {
        record.width = ReadLe16(bytes.data() + 18);
        record.height = ReadLe16(bytes.data() + 20);
        record.bitCount = ReadLe16(bytes.data() + 24);
    } else if (bytes.size() >= 30) {
        record.width = static_cast<std::int32_t>(ReadLe32(bytes.data() + 18));
        record.height = static_cast<std::int32_t>(ReadLe32(bytes.data() + 22));
        record.bitCount = ReadLe16(bytes.data() + 28);
    }
}

} // namespace

std::string TBitmapExtractor::CarvedName() {
    const char* extension = bitmapKind_ == CarvedKind::Png ? "png" : "bmp";
    if (hooks_.carve.names)
        return outputDir_ + hooks_.carve.names->Claim(
                                SourceFileName(NamePart(exePath_), bitmapOffset_, extension));
    ++BitmapFileNumber;
    return outputDir_ + std::to_string(BitmapFileNumber) + "." + extension;
}

bool TBitmapExtractor::TakePicture() {
    WrittenBitmap record;
    record.offset = bitmapOffset_;
    record.size = bitmapSize_;
    Describe(bitmap_, bitmapKind_, record);
    if (TellDuplicate(bitmap_.data(), bitmapSize_, record))
        return true;
    const std::string name = CarvedName();
    ++outcome_.taken;
    return WriteBitmapFile(name);
}

bool TBitmapExtractor::TellDuplicate(const unsigned char* bytes, std::int64_t size,
                                     WrittenBitmap record) {
    if (!hooks_.carve.once)
        return false;
    bitmapDigest_ = TDuplicateIndex::Of(bytes, size);
    const std::string* earlier = hooks_.carve.once->Find(bitmapDigest_);
    if (!earlier)
        return false;
    record.file = *earlier;
    record.duplicate = true;
    ++outcome_.duplicates;
    if (hooks_.written) {
        record.source = exePath_;
        hooks_.written(record);
    }
    return true;
}

void TBitmapExtractor::NoteWritten(const std::string& fileName) {
    if (hooks_.carve.once)
        hooks_.carve.once->Note(bitmapDigest_, fileName);
}

bool TBitmapExtractor::WriteBitmapFile(const std::string& fileName) {
    const WriteResult result = WritePicture(fileName, bitmap_.data(), bitmapSize_);
    if (result == WriteResult::Declined) {
        --outcome_.taken;
        if (!hooks_.carve.names)
            --BitmapFileNumber;
        return false;
    }
    if (result == WriteResult::Written) {
        NoteWritten(fileName);
        WrittenBitmap record;
        record.offset = bitmapOffset_;
        record.size = bitmapSize_;
        record.file = fileName;
        Describe(bitmap_, bitmapKind_, record);
        Announce(std::move(record));
    }
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

TBitmapExtractor::WriteResult TBitmapExtractor::WritePicture(const std::string& fileName,
                                                             const unsigned char* bytes,
                                                             std::int64_t size) {
    // Most names are new, and creating the file is the one look at its
    // directory they need: asking first whether it exists would read and
    // sort a directory of many thousand files for every one written. Only a
    // name that is taken is looked up, and then an existing file gives way
    // only to a whole new one, so a failure part-way leaves it as it was.
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
