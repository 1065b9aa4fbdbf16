#include "extract/Extractor.h"

#include <algorithm>
#include <new>

#include "extract/CarvedNames.h"
#include "extract/FileSearch.h"
#include "extract/FileUtils.h"
#include "extract/WholeFileWrite.h"

int BitmapFileNumber = 0;

namespace {

std::uint16_t Word(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t DoubleWord(const unsigned char* at) {
    return static_cast<std::uint32_t>(Word(at)) | static_cast<std::uint32_t>(Word(at + 2)) << 16;
}

std::string ErrorMessage(const char* what, std::string_view path, int errorCode) {
    return std::string(what) + NamePart(path) + "!\r\n" + IoErrorText(errorCode);
}

} // namespace

BitmapHeader BitmapHeader::Parse(const unsigned char* bytes) {
    BitmapHeader h;
    h.bfSize = static_cast<std::int32_t>(DoubleWord(bytes + 2));
    h.bfReserved1 = Word(bytes + 6);
    h.bfReserved2 = Word(bytes + 8);
    h.biSize = DoubleWord(bytes + 14);
    h.biPlanes = Word(bytes + 26);
    return h;
}

bool BitmapHeader::PassesTests() const {
    return bfReserved1 == 0 && bfReserved2 == 0 && biSize == 40 && biPlanes == 1;
}

std::string DirectoryPart(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\:");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string NamePart(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
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

// Opens the executable for reading; a failure is reported and ends the run.
bool TBitmapExtractor::OpenExecutable(platform::FileObject& exe) {
    try {
        OpenReadOnly(exe, 1);
        return true;
    } catch (const platform::EInOutError& e) {
        Report(ErrorMessage("Error reading ", exePath_, e.ErrorCode()));
        return false;
    }
}

ExtractOutcome
TBitmapExtractor::ReadingPass(const std::function<void(platform::FileObject&)>& pass) {
    outcome_ = {};
    platform::FileObject exe{exePath_};
    if (!OpenExecutable(exe))
        return outcome_;
    outcome_.opened = true;
    // A failure to read ends the pass; what was written stays.
    try {
        sizeAtStart_ = exe.Size();
        pass(exe);
    } catch (const platform::EInOutError& e) {
        ReportReadError(e.ErrorCode());
    } catch (const std::bad_alloc&) {
        ReportReadError(platform::ERROR_NOT_ENOUGH_MEMORY);
    }
    try {
        exe.Close();
    } catch (const platform::EInOutError&) {
        // Nothing was written through this handle, so nothing is lost.
    }
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
        if (!surveyed.opened || surveyed.readError != 0) {
            ExtractCount = 0;
            return surveyed;
        }
        return WriteSurveyed(found);
    }
    OverwriteAll = false;
    return ReadingPass([this](platform::FileObject& exe) {
        ExtractCount = 0;
        Scan(exe);
    });
}

void TBitmapExtractor::Scan(platform::FileObject& exe) {
    TFileSearch search(exePath_);
    std::int64_t start = 1;
    while (NextBitmap(exe, search, start))
        if (!TakePicture())
            return;
    RequireUncut(exe, sizeAtStart_);
}

bool TBitmapExtractor::NextBitmap(platform::FileObject& exe, TFileSearch& search,
                                  std::int64_t& start) {
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
        ReadBitmap(exe, hit, header.bfSize, HeldAtStart(hit, header.bfSize));
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
        while (NextBitmap(exe, search, start))
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
    OverwriteAll = false;
    ExtractCount = 0;
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
    if (bytes.size() >= 26 && DoubleWord(bytes.data() + 14) == 12) {
        record.width = Word(bytes.data() + 18);
        record.height = Word(bytes.data() + 20);
        record.bitCount = Word(bytes.data() + 24);
    } else if (bytes.size() >= 30) {
        record.width = static_cast<std::int32_t>(DoubleWord(bytes.data() + 18));
        record.height = static_cast<std::int32_t>(DoubleWord(bytes.data() + 22));
        record.bitCount = Word(bytes.data() + 28);
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
    ++ExtractCount;
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
        --ExtractCount;
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
    if (OverwriteAll)
        return true;
    const OverwriteAnswer answer =
        hooks_.askOverwrite
            ? hooks_.askOverwrite("File " + NamePart(fileName) + "\r\nalready exists. Overwrite?")
            : OverwriteAnswer::No;
    if (answer == OverwriteAnswer::All)
        OverwriteAll = true;
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
