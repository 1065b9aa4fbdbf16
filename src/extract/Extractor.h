#pragma once
// Carving the bitmaps stored inside an executable into numbered .bmp files.
//
// The scan asks its questions and reports its failures through the hooks it
// is given and never shows anything itself, so a window or a command line
// can run it alike.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileObject.h"

class QObject;

// The number of the last <n>.bmp file the extractor wrote; it starts at 0
// when the program starts and goes on counting across extractions.
extern int BitmapFileNumber;

// The two headers of a bitmap file: 14 bytes of file header, 40 of
// information header.
constexpr int BitmapHeaderSize = 54;
// Bitmaps up to this declared size are taken; a larger one ends the scan.
constexpr int MaxBitmapSize = 5000;

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

// The user's answer to "File ... already exists. Overwrite?". Closing the
// question without an answer counts as Yes.
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
    std::string kind = "bmp"; // "bmp", "ico" or "cur"
    // For a resource: its type (2, 14 or 12), its language (0 in a 16-bit
    // program) and the kind of program file ("PE32", "PE32+", "NE").
    std::uint32_t resourceType = 0;
    std::uint16_t language = 0;
    std::string program;
};

// What the scan needs from whoever runs it.
struct ExtractHooks {
    // Asked before an existing output file is replaced (unless All was
    // answered earlier in the run). Without one, nothing is overwritten.
    std::function<OverwriteAnswer(const std::string& question)> askOverwrite;
    // An executable that cannot be opened, or a bitmap that cannot be
    // written; the text names the file and the reason.
    std::function<void(const std::string& message)> reportError;
    // A TGauge or TProgressBar showing how far the search has come, or null.
    QObject* progress = nullptr;
    // The directory the bitmaps go to, ending in a backslash; empty for the
    // executable's own directory.
    std::string outputDir;
    // Told of every bitmap file written whole.
    std::function<void(const WrittenBitmap&)> written;
};

// "C:\apps\tool.exe" -> "C:\apps\": everything up to the last backslash or
// colon, which is where the bitmaps go.
std::string DirectoryPart(std::string_view path);
// "C:\apps\tool.exe" -> "tool.exe": what messages name.
std::string NamePart(std::string_view path);

// A bitmap the scan takes: where it starts in the executable (0-based) and
// its declared size.
struct CarvedBitmap {
    std::int64_t offset = 0;
    std::int32_t size = 0;
};

class TFileSearch;

// One extraction from one executable.
class TBitmapExtractor {
public:
    TBitmapExtractor(std::string exePath, ExtractHooks hooks);

    // Scans the whole executable. False only when it could not be opened
    // (after reporting why); the scan itself ends quietly at the first
    // failure to read it.
    bool Run();

    // Run in two halves, so that many executables can be scanned at once and
    // still be numbered in order: Survey scans the whole executable and notes
    // every bitmap Run would take, without numbering or writing anything;
    // WriteSurveyed then numbers and writes them as Run would have, asking
    // the same questions and stopping where it would. Both are false only
    // when the executable could not be opened (after reporting why).
    bool Survey(std::vector<CarvedBitmap>& found);
    bool WriteSurveyed(const std::vector<CarvedBitmap>& found);

    // Writes the bitmap just read to `fileName`, asking first when it exists.
    // False only when the user declined to overwrite: the bitmap is then
    // given back (count and number) and the scan stops.
    bool WriteBitmapFile(const std::string& fileName);

    // Writes every bitmap, icon and cursor resource of the executable, when
    // it is a program file (PE or NE), as a .bmp, .ico or .cur file named
    // after the executable and the resource. Why resources cannot be read
    // (a packed file, a DOS program, ...) is reported; so is a damaged
    // resource table or picture, which is passed over; a declined overwrite
    // stops it. Returns the number of files written.
    int ExtractResources();

    const std::string& OutputDirectory() const { return outputDir_; }

    // Bitmaps taken in this run.
    int ExtractCount = 0;
    // The user answered All: existing files are replaced without asking.
    bool OverwriteAll = false;
    // The executable could not be opened or read (reported already).
    bool ReadFailed = false;
    // Bitmap files that could not be written (reported already).
    int WriteFailures = 0;

private:
    bool OpenExecutable(platform::FileObject& exe);
    void Scan(platform::FileObject& exe);
    // Finds the next bitmap the scan takes from `start` on and reads it;
    // false where the scan ends.
    bool NextBitmap(platform::FileObject& exe, TFileSearch& search, std::int64_t& start);
    void ReadBitmap(platform::FileObject& exe, std::int64_t hit, std::int32_t size);
    void Report(const std::string& message) const;
    // Whether `fileName` may be written: it does not exist, All was answered,
    // or the user agrees to replace it. `exists` tells which.
    bool MayWrite(const std::string& fileName, bool& exists);
    // Writes the bytes over the file or into a new one, reporting a failure;
    // true when the file is whole.
    bool WriteBytes(const std::string& fileName, bool exists, const unsigned char* bytes,
                    std::int64_t size);
    void Announce(WrittenBitmap record) const;

    std::string exePath_;
    std::string outputDir_;
    ExtractHooks hooks_;
    std::array<unsigned char, MaxBitmapSize> bitmap_{};
    std::int32_t bitmapSize_ = 0;
    std::int64_t bitmapOffset_ = 0;
};
