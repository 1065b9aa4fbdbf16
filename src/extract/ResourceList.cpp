#include "extract/ResourceList.h"

#include "extract/BoundedReader.h"
#include "extract/NeResources.h"
#include "extract/PeResources.h"
#include "extract/ProgramHeaders.h"

ProgramResources ListProgramResources(platform::FileObject& file) {
    ProgramResources list;
    TBoundedReader reader(file);
    DosHeader dos;
    if (!ReadDosHeader(reader, dos))
        return list;
    switch (NewHeaderKind(reader, dos)) {
    case NewHeader::Pe: {
        PeHeaders headers;
        if (ReadPeHeaders(reader, dos.newHeaderAt, headers))
            ListPeResources(reader, headers, list);
        break;
    }
    case NewHeader::Ne:
        ListNeResources(reader, dos.newHeaderAt, list);
        break;
    default:
        break;
    }
    return list;
}
