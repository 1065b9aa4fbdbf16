#pragma once
// Carving the bitmaps stored inside an executable into numbered .bmp files.
//
// The scan asks its questions, tells its progress and reports its failures
// through the plain functions it is given, and hands back what it came to as
// a value; it never shows anything itself, so a window or a command line can
// run it alike.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "extract/CarveOptions.h"
#include "extract/CarveScan.h"
#include "extract/DuplicateIndex.h"
#include "extract/FileScan.h"
#include "platform/FileObject.h"

// The number of the last <n>.bmp file the extractor wrote; it starts at 0
// when the program starts and goes on counting across extractions.
extern int BitmapFileNumber;

// The two headers of a bitmap file: 14 bytes of file header, 40 of
// information header.
constexpr int BitmapHeaderSize = 54;

// The header fields that decide whether a "BM" starts a bitmap we take.
struct BitmapHeader {
    std::int32_t bfSize = 0; // declared size of the whole file, signed
    std::uint16_t bfReserved1 = 0;
    std::uint16_t bfReserved2 = 0;
    std::uint32_t biSize = 0;
    std::uint16_t biPlanes = 0;

    // Reads the fields from the 54 bytes at a "BM", little-endian.
    static BitmapHeader Parse(const unsigned char* bytes);
    // Both reserved words 0, an information header of 40 bytes, one plane.
    bool PassesTests() const;
};

// The user's answer to the question whether an existing file is to be
// replaced. Closing the question without an answer counts as Yes.
enum class OverwriteAnswer { Yes, No, All, Closed };

// One picture file the extractor wrote, as a command line lists it.
struct WrittenBitmap {
    std::string source;      // the executable
    std::int64_t offset = 0; // 0-based offset of its bytes in the executable
    std::int64_t size = 0;   // bytes written
    std::string file;        // the output file
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
    std::string resource;     // the resource's name or id; empty for a carved bitmap
    std::string kind = "bmp"; // "bmp", "png", "ico" or "cur"
    // For a resource: its type (2, 14 or 12), its language (0 in a 16-bit
    // program) and the kind of program file ("PE32", "PE32+", "NE").
    std::uint32_t resourceType = 0;
    std::uint16_t language = 0;
    std::string program;
    // Not written: its bytes are those of `file`, written earlier in the run.
    bool duplicate = false;
};

// What the scan needs from whoever runs it.
struct ExtractHooks {
    // Asked, with the output file's path, before an existing file is
    // replaced (unless All was answered earlier in the run). Without one,
    // nothing is overwritten.
    std::function<OverwriteAnswer(const std::string& fileName)> askOverwrite;
    // An executable that cannot be opened, or a bitmap that cannot be
    // written; the text names the file and the reason.
    std::function<void(const std::string& message)> reportError;
    // Why a file's resources cannot be read (a packed program, a DOS
    // program): no failure, and no find either. Without one it goes to
    // reportError.
    std::function<void(const std::string& message)> tellNotRead;
    // Told how far the search has come.
    SearchProgress progress;
    // The directory the bitmaps go to, ending in a backslash; empty for the
    // executable's own directory.
    std::string outputDir;
    // Told of every bitmap file written whole, and of every duplicate not
    // written.
    std::function<void(const WrittenBitmap&)> written;
    CarveOptions carve;
};

// What one pass over an executable came to. Every failure counted here was
// reported through the hooks where it happened.
struct ExtractOutcome {
    bool opened = false;   // false: the executable could not be opened
    int readError = 0;     // the Windows error code that cut the reading short, or 0
    int taken = 0;         // bitmaps taken and numbered (a declined one is given back)
    int writeFailures = 0; // bitmap files that could not be written
    int written = 0;       // bitmap files written whole
    int duplicates = 0;    // pictures not written, their bytes written before
    bool Failed() const { return !opened || readError != 0 || writeFailures > 0; }
};

class TFileSearch;

// One extraction from one executable.
class TBitmapExtractor {
public:
    TBitmapExtractor(std::string exePath, ExtractHooks hooks);

    // Scans the whole executable. A failure to read it ends the scan, is
    // reported, and keeps what was written.
    ExtractOutcome Run();

    // Run in two halves, so that many executables can be scanned at once and
    // still be numbered in order: Survey scans the whole executable and notes
    // every bitmap Run would take, without numbering or writing anything;
    // WriteSurveyed then numbers and writes them as Run would have, asking
    // the same questions and stopping where it would.
    ExtractOutcome Survey(std::vector<CarvedBitmap>& found);
    ExtractOutcome WriteSurveyed(const std::vector<CarvedBitmap>& found);

    // Writes every bitmap, icon and cursor resource of the executable, when
    // it is a program file (PE or NE), as a .bmp, .ico or .cur file named
    // after the executable and the resource. Why resources cannot be read
    // (a packed file, a DOS program, ...) is reported; so is a damaged
    // resource table or picture, which is passed over; a declined overwrite
    // stops it.
    ExtractOutcome ExtractResources();

    const std::string& OutputDirectory() const { return outputDir_; }

private:
    // Opens the executable, runs one pass over it and closes it. A failure
    // to open or read it is reported and noted in the outcome.
    ExtractOutcome ReadingPass(const std::function<void(platform::FileObject&)>& pass);
    void Scan(platform::FileObject& exe);
    // The carving scan's notes go out as messages naming the executable.
    void CarveSurvey(platform::FileObject& exe, std::vector<CarvedBitmap>& found);
    // Names and writes the picture just read, or tells it as a duplicate;
    // false where the scan stops (an overwrite declined).
    bool TakePicture();
    std::string CarvedName();
    // Whether `bytes` were written earlier in the run; then told so.
    bool TellDuplicate(const unsigned char* bytes, std::int64_t size, WrittenBitmap record);
    // After a file is written whole: a later picture of the same bytes is its
    // duplicate.
    void NoteWritten(const std::string& fileName);
    // Finds the next bitmap the scan takes from `start` on and reads it;
    // false where the scan ends. Raises EInOutError when reading fails.
    // With Take::Place only where it lies and its size are noted.
    enum class Take { Bytes, Place };
    bool NextBitmap(platform::FileObject& exe, TFileSearch& search, std::int64_t& start, Take take);
    // Reads the bitmap at `hit`; fewer than `held` bytes mean the file was
    // cut short under us, which raises EInOutError rather than give a
    // bitmap that is zeros where the file had its bytes.
    void ReadBitmap(platform::FileObject& exe, std::int64_t hit, std::int64_t size,
                    std::int64_t held);
    // The bytes of a bitmap at `hit` that the file held when the pass began.
    std::int64_t HeldAtStart(std::int64_t hit, std::int64_t size) const;
    // Writes the bitmap just read to `fileName`, asking first when it exists.
    // False only when the user declined to overwrite: the bitmap is then
    // given back (count and number) and the scan stops.
    bool WriteBitmapFile(const std::string& fileName);
    void ReportReadError(int errorCode);
    void Report(const std::string& message) const;
    void TellNotRead(const std::string& message) const;
    // Whether the existing `fileName` may be replaced: All was answered, or
    // the user agrees.
    bool MayReplace(const std::string& fileName);
    enum class WriteResult { Written, Failed, Declined };
    // Writes the bytes as a new file or, when the user agrees, in place of
    // the existing one; a failure is reported.
    WriteResult WritePicture(const std::string& fileName, const unsigned char* bytes,
                             std::int64_t size);
    void Announce(WrittenBitmap record);

    std::string exePath_;
    std::string outputDir_;
    ExtractHooks hooks_;
    ExtractOutcome outcome_; // of the pass under way
    // The user answered All: existing files are replaced without asking.
    bool overwriteAll_ = false;
    std::vector<unsigned char> bitmap_; // the picture read, bitmapSize_ bytes
    std::int64_t bitmapSize_ = 0;
    std::int64_t bitmapHeld_ = 0;
    std::int64_t bitmapOffset_ = 0;
    CarvedKind bitmapKind_ = CarvedKind::Bitmap;
    TDuplicateIndex::Digest bitmapDigest_{}; // of the picture read, with carve.once
    std::int64_t sizeAtStart_ = 0;           // of the executable, when the pass began
};
