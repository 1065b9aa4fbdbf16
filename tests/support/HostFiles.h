#pragma once
// Host files as the tests look at them: their bytes, the names in a folder,
// the glyph names the fixtures write, and real bitmap files to write.
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// The bytes of a host file; empty when it cannot be read.
std::string ReadHostFile(const std::filesystem::path& path);

// The names in a host folder ending in `extension` (every name when it is
// empty), sorted; none when the folder is not there.
std::set<std::string> FileNamesIn(const std::filesystem::path& dir,
                                  std::string_view extension = {});

// "g0001.bmp" style names, numbered `from` to `to`, as the fixtures write them.
std::vector<std::string> GlyphNames(int from, int to);

// A real `size` x `size` bitmap file of one shade, so a window can show it.
std::string ShadedBmpFile(int shade, int size = 16);

} // namespace testsupport
