// The resource walker of 32- and 64-bit programs over any bytes, the
// pictures made from what it lists, and what it says is not read.
#include "FuzzSupport.h"
#include "ResourceChecks.h"
#include "extract/PeResources.h"
#include "extract/UnreadResources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    platform::FileObject file;
    fuzz::OpenProgram(bytes, file);
    TBoundedReader reader(file);
    DosHeader dos;
    PeHeaders headers;
    ProgramResources list;
    if (ReadDosHeader(reader, dos) && ReadPeHeaders(reader, dos.newHeaderAt, headers))
        ListPeResources(reader, headers, list);
    fuzz::CheckPictures(list, bytes);
    ResourcesNotRead(file);
    file.Close();
    return 0;
}
