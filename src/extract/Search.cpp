#include "extract/Search.h"

#include <vector>

#include "extract/BlockScan.h"
#include "extract/PatternFind.h"
#include "fileutils/FileUtils.h"

void SearchBuffer(const void* buffer, std::uint16_t length, std::string_view pattern,
                  bool caseSensitive, int& position, bool& found) {
    const std::ptrdiff_t at =
        FindPattern(static_cast<const unsigned char*>(buffer), length, pattern, caseSensitive);
    found = at >= 0;
    position = found ? static_cast<int>(at) + 1 : 1;
}

std::int64_t SearchInFile(std::string_view fileName, std::int64_t start, std::string_view pattern,
                          bool caseSensitive, const SearchProgress& progress) {
    if (pattern.size() > MaxPatternLength)
        return -1;
    const std::int64_t size = FileSizeByName(fileName);
    if (size < start || start < 1)
        return -1;

    std::int64_t result = 0;
    const FileReading reading = ReadFileWith(fileName, [&](platform::FileObject& file) {
        std::vector<unsigned char> block(SearchBlockSize);
        // The size now that the file is open is the one the blocks go by;
        // the open file tells it without looking the name up again.
        const std::int64_t openSize = file.Size();
        std::int64_t position = 0;
        result = ScanBlocks(start, openSize, pattern, caseSensitive, progress,
                            [&](std::int64_t blockStart, const unsigned char*& bytes) {
                                if (blockStart != position)
                                    file.Seek(blockStart);
                                const std::int64_t n = file.Read(block.data(), SearchBlockSize);
                                position = blockStart + n;
                                bytes = block.data();
                                return n;
                            });
    });
    return reading.Error() != 0 ? -3 : result;
}
