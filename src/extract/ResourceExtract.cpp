// The extractor's second source: the bitmap resources of a program file,
// which carry no file header and so are never found by the "BM" scan.
#include <new>
#include <set>

#include "extract/DibFile.h"
#include "extract/Extractor.h"
#include "extract/PeResources.h"
#include "fileutils/PathParts.h"

namespace {

// A resource's name as part of a file name: no separators, wildcards or
// control characters, and short enough to leave room for the directory.
std::string FileNamePart(const std::string& name) {
    std::string part = name.substr(0, 64);
    for (char& c : part)
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    return part;
}

std::string Stem(const std::string& exeName) {
    const std::size_t dot = exeName.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? exeName : exeName.substr(0, dot);
}

// "tool-130.bmp", "tool-TOOLBAR.bmp"; a name given twice (in two languages,
// or once as a name and once as an id) gets the language, then a count.
std::vector<std::string> OutputNames(const std::string& stem,
                                     const std::vector<PeBitmapResource>& bitmaps) {
    std::vector<std::string> names;
    std::set<std::string> used;
    for (const PeBitmapResource& b : bitmaps) {
        const std::string base = stem + "-" + FileNamePart(b.name);
        std::string name = base;
        if (used.count(name))
            name = base + "-" + std::to_string(b.language);
        for (int n = 2; used.count(name); ++n)
            name = base + "-" + std::to_string(b.language) + "-" + std::to_string(n);
        used.insert(name);
        names.push_back(name + ".bmp");
    }
    return names;
}

std::string ReadResource(platform::FileObject& exe, const PeBitmapResource& b) {
    std::string bytes(b.size, '\0');
    exe.Seek(b.offset);
    if (exe.Read(bytes.data(), b.size) != b.size)
        throw platform::EInOutError(platform::ERROR_READ_FAULT);
    return bytes;
}

} // namespace

ExtractOutcome TBitmapExtractor::ExtractResources() {
    const std::string exeName = NamePart(exePath_);
    return ReadingPass([this, &exeName](platform::FileObject& exe) {
        const PeResourceList list = ListBitmapResources(exe);
        for (const std::string& problem : list.problems)
            Report("Damaged resources in " + exeName + ":\r\n" + problem);
        const std::vector<std::string> names = OutputNames(Stem(exeName), list.bitmaps);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const PeBitmapResource& b = list.bitmaps[i];
            DibFile file;
            std::string problem;
            if (!MakeBitmapFile(ReadResource(exe, b), file, problem)) {
                Report("Damaged resources in " + exeName + ":\r\nbitmap " + b.name + ": " +
                       problem);
                continue;
            }
            const std::string fileName = outputDir_ + names[i];
            bool exists = false;
            if (!MayWrite(fileName, exists))
                break;
            const auto* bytes = reinterpret_cast<const unsigned char*>(file.bytes.data());
            if (!WriteBytes(fileName, exists, bytes, std::ssize(file.bytes)))
                continue;
            Announce({exePath_, b.offset, std::ssize(file.bytes), fileName, file.width, file.height,
                      file.bitCount, b.name});
        }
    });
}
