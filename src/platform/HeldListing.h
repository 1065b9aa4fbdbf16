#pragma once
// A folder's names kept in memory while a run writes many files into it.
//
// A name that does not exist in the case given is looked for ignoring case,
// and without a kept listing that reads the whole folder: writing 100,000
// new files into one folder would read it 100,000 times. While a
// THeldListing lives, look-ups in its folder use the listing read when it
// was made plus the files created there since, so the run reads the folder
// once. A file another program puts there meanwhile under another case of
// a name is not seen; one it removes is noticed, as every name found is
// looked at before it is used.
#include <string>
#include <string_view>

namespace platform {

class THeldListing {
public:
    // Holds the folder at the host path `hostDir` (absolute, as the path
    // look-up spells it); holds nothing when it is not a folder that can be
    // read.
    explicit THeldListing(std::string hostDir);
    ~THeldListing();
    THeldListing(const THeldListing&) = delete;
    THeldListing& operator=(const THeldListing&) = delete;

private:
    std::string hostDir_;
};

// For the path look-up: whether `hostDir` is held, and then in `found` the
// host name of its entry equal to the Windows `name` ignoring case (the one
// a listing gives first), or empty when none.
bool FindInHeldListing(const std::string& hostDir, std::string_view name, std::string& found);

// For file creation: the file at `hostPath` exists now.
void NoteCreated(const std::string& hostPath);

} // namespace platform
