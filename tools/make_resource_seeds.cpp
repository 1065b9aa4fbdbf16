// Writes the seed programs of the resource walkers' fuzz targets: small PE
// and NE programs holding a bitmap, icon and cursor groups with their
// images, and a named type and resource, so that every branch of the
// walkers is a few mutations away.
//   make_resource_seeds DIR
#include <filesystem>
#include <fstream>
#include <iostream>

#include "ProgramImage.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

std::vector<ResourceItem> Pictures() {
    const std::string icon4 = IconImage(4, 16, 16, 1), icon32 = IconImage(32, 8, 8, 2);
    const std::string png = PngImage(4, 3);
    const std::string cursor = CursorImage(2, 3, IconImage(1, 16, 16, 4));
    const auto entry = [](const std::string& image, std::uint16_t side, std::uint16_t bits,
                          std::uint16_t id) {
        return GroupEntry{side, side, 0, 1, bits, static_cast<std::uint32_t>(image.size()), id};
    };
    return {
        Resource(kCursorType, 1, "", cursor),
        Resource(kBitmapType, 0, "TOOLBAR", ResourceBitmap(4, 16, 8, 5)),
        Resource(kBitmapType, 7, "", ResourceBitmap(8, 2, 2, 6)),
        Resource(kBitmapType, 7, "", ResourceBitmap(1, 8, 1, 7), 1031),
        Resource(kIconType, 1, "", icon4),
        Resource(kIconType, 2, "", icon32),
        Resource(kIconType, 3, "", png),
        Resource(
            kCursorGroupType, 32512, "",
            GroupData({{16, 32, 0, 1, 1, static_cast<std::uint32_t>(cursor.size()), 1}}, true)),
        Resource(kIconGroupType, 0, "IDI_APP",
                 GroupData({entry(icon4, 16, 4, 1), entry(icon32, 8, 32, 2), entry(png, 4, 32, 3)},
                           false)),
        Resource(kIconGroupType, 5, "", GroupData({entry(icon32, 8, 32, 2)}, false)),
    };
}

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_resource_seeds DIR\n";
        return 2;
    }
    const fs::path dir = argv[1];
    const std::vector<ResourceItem> items = Pictures();
    Write(dir / "PeResources" / "pe32", ComposeProgram(items, false).bytes);
    Write(dir / "PeResources" / "pe32plus", ComposeProgram(items, true).bytes);
    Write(dir / "PeResources" / "empty", ComposeProgram({}, false).bytes);
    // The NE table has no languages: one of the two bitmaps 7 is enough.
    std::vector<ResourceItem> ne = items;
    ne.erase(ne.begin() + 3);
    ResourceItem named = Resource(0, 9, "", "data of a named type");
    named.typeName = "MYTYPE";
    ne.push_back(named);
    Write(dir / "NeResources" / "shift4", ComposeNeProgram(ne, 4).bytes);
    Write(dir / "NeResources" / "shift9", ComposeNeProgram(ne, 9).bytes);
    Write(dir / "NeResources" / "shift0", ComposeNeProgram(ne, 0).bytes);
    Write(dir / "NeResources" / "empty", ComposeNeProgram({}, 4).bytes);
    return 0;
}
