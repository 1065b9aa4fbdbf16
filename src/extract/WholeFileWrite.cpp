#include "extract/WholeFileWrite.h"

#include "fileutils/PathParts.h"
#include "platform/FileObject.h"
#include "platform/FileOps.h"

namespace {

// A leftover from an earlier run that was killed may hold a name; a few
// more are tried before giving up.
constexpr int kSpareNameTries = 100;

// "C:\out\3.bmp" -> "C:\out\.3.bmp.~0": beside the file, hidden, and not
// matching "*.bmp", so a page never shows it as a glyph.
std::string SpareName(const std::string& fileName, int attempt) {
    return DirectoryPart(fileName) + "." + NamePart(fileName) + ".~" + std::to_string(attempt);
}

void CloseQuietly(platform::FileObject& file) {
    if (!file.IsOpen())
        return;
    try {
        file.Close();
    } catch (const platform::EInOutError&) {
        // The file is removed next; what its close says no longer matters.
    }
}

enum class Durable { No, Yes };

// Creates the new file and writes it whole; on any failure the file is
// removed again. Returns 0 or the Windows error code of the failed step.
int CreateWhole(const std::string& fileName, const unsigned char* bytes, std::int64_t size,
                Durable durable) {
    platform::FileObject out{fileName};
    try {
        out.CreateNew(1);
    } catch (const platform::EInOutError& e) {
        return e.ErrorCode();
    }
    try {
        out.Write(bytes, size);
        if (durable == Durable::Yes)
            out.Flush();
        out.Close();
        return 0;
    } catch (const platform::EInOutError& e) {
        CloseQuietly(out);
        platform::DeleteFile(fileName);
        return e.ErrorCode();
    }
}

} // namespace

int WriteNewFile(const std::string& fileName, const unsigned char* bytes, std::int64_t size) {
    return CreateWhole(fileName, bytes, size, Durable::No);
}

int ReplaceWholeFile(const std::string& fileName, const unsigned char* bytes, std::int64_t size) {
    for (int attempt = 0; attempt < kSpareNameTries; ++attempt) {
        const std::string spare = SpareName(fileName, attempt);
        // On the disk before it replaces anything: a crash just after the
        // rename must not leave an empty file where the old one was.
        const int written = CreateWhole(spare, bytes, size, Durable::Yes);
        if (written == platform::ERROR_FILE_EXISTS)
            continue;
        if (written != 0)
            return written;
        const int replaced = platform::ReplaceFile(spare, fileName);
        if (replaced != 0)
            platform::DeleteFile(spare);
        return replaced;
    }
    return platform::ERROR_FILE_EXISTS;
}
