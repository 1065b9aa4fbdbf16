#pragma once
// The files a command line names, with each folder among them walked: every
// file under it, in name order, depth first. A symbolic link met on the way
// is never followed: one that leads into the folder leads to what the walk
// reaches anyway, one that leads out of it leads where the user did not
// point, and so no link can make the walk go round in circles.
#include <string>
#include <vector>

struct WalkNote {
    enum Kind {
        Unreadable,  // a folder that cannot be listed (errorCode says why)
        LinkOut,     // a link out of the folder walked
        LinkBack,    // a link back to a folder it lies in
        LinkNowhere, // a link to nothing, or to itself round a loop
    };
    Kind kind = Unreadable;
    std::string path;  // host path
    int errorCode = 0; // Windows error code, for Unreadable
};

struct WalkedFiles {
    std::vector<std::string> files; // host paths, in the order to extract
    std::vector<WalkNote> notes;    // in the order met
};

// `arguments` are host paths as given. With `recursive`, a folder among them
// becomes the regular files under it whose names match one of `include`
// (every file when it is empty); without, it stays as given, as do files and
// names of nothing.
WalkedFiles WalkArguments(const std::vector<std::string>& arguments, bool recursive,
                          const std::vector<std::string>& include);
