#pragma once
// How a file we wrote compares with the one wrestool (icoutils) writes for
// the same resource, for the tests and the benchmark that hold us against it.
#include <string>

namespace testsupport {

enum class WrestoolMatch {
    Same,     // byte for byte
    Trailing, // the same, but for what wrestool writes after the images
    Different,
};

// wrestool ends each icon and cursor file with as many bytes again as the
// group holds (zeros, or whatever its memory held), and gives each cursor
// image's size 4 bytes larger than the image, its hot spot counted (icotool
// refuses such a cursor). Apart from those, every byte must be the same.
WrestoolMatch CompareWithWrestool(const std::string& ours, std::string theirs, bool cursor);

// wrestool's name for a resource file: "tool.exe_14_IDI_APP.ico".
std::string WrestoolName(const std::string& program, int type, const std::string& name,
                         const std::string& extension);

} // namespace testsupport
