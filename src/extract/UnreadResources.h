#pragma once
// Why the resources of a program file are not all read: the file is packed,
// an installer whose payload is compressed, a program of a kind whose
// resources are laid out otherwise (LE, LX, OS/2), a DOS program, which has
// none, or a .NET assembly, whose managed resources are no Windows resources.
#include <string>

#include "platform/FileObject.h"

struct UnreadResources {
    // What the file is and what is not read, to follow "tool.exe is ":
    // "a DOS program: it holds no Windows resources". Empty when nothing
    // stands in the way, or the file is no program at all.
    std::string reason;
    // The file is packed: its resource table still lists what the packer
    // compressed, and those entries lead nowhere.
    bool packed = false;
};

// Raises platform::EInOutError when the file cannot be read.
UnreadResources ResourcesNotRead(platform::FileObject& file);
