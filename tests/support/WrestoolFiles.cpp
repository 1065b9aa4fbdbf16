#include "WrestoolFiles.h"

#include "ProgramImage.h"

namespace testsupport {

WrestoolMatch CompareWithWrestool(const std::string& ours, std::string theirs, bool cursor) {
    if (ours == theirs)
        return WrestoolMatch::Same;
    if (theirs.size() < ours.size() || ours.size() < 6)
        return WrestoolMatch::Different;
    const std::size_t count = static_cast<unsigned char>(ours[4]) |
                              static_cast<std::size_t>(static_cast<unsigned char>(ours[5])) << 8;
    if (cursor)
        for (std::size_t i = 0; i < count && 6 + 16 * i + 12 <= theirs.size(); ++i)
            PutU32(theirs, 6 + 16 * i + 8, GetU32(theirs, 6 + 16 * i + 8) - 4);
    return theirs.compare(0, ours.size(), ours) == 0 ? WrestoolMatch::Trailing
                                                     : WrestoolMatch::Different;
}

std::string WrestoolName(const std::string& program, int type, const std::string& name,
                         const std::string& extension) {
    return program + "_" + std::to_string(type) + "_" + name + "." + extension;
}

} // namespace testsupport
