// The resource table walker of 16-bit programs over any bytes, and the
// pictures made from what it lists. The header is taken where the DOS header
// points, whatever its signature, so that every input reaches the table.
#include "FuzzSupport.h"
#include "ResourceChecks.h"
#include "extract/NeResources.h"
#include "extract/ProgramHeaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    platform::FileObject file;
    fuzz::OpenProgram(bytes, file);
    TBoundedReader reader(file);
    DosHeader dos;
    ProgramResources list;
    if (ReadDosHeader(reader, dos))
        ListNeResources(reader, dos.newHeaderAt, list);
    FUZZ_CHECK(list.unit >= 1, "a unit of no bytes");
    fuzz::CheckPictures(list, bytes);
    file.Close();
    return 0;
}
