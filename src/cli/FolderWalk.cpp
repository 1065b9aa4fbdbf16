#include "cli/FolderWalk.h"

#include <algorithm>
#include <filesystem>

#include "platform/Find.h"
#include "platform/WinError.h"

namespace fs = std::filesystem;

namespace {

bool Inside(const fs::path& inner, const fs::path& outer) {
    const auto [end, at] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return end == outer.end();
}

class TFolderWalk {
public:
    TFolderWalk(const std::vector<std::string>& include, WalkedFiles& out)
        : include_(include), out_(out) {}

    void Walk(const fs::path& root) {
        std::error_code ec;
        root_ = fs::canonical(root, ec);
        if (ec)
            return Unreadable(root, ec);
        WalkFolder(root, root_);
    }

private:
    void Unreadable(const fs::path& dir, const std::error_code& ec) {
        out_.notes.push_back(
            {WalkNote::Unreadable, dir.string(), platform::WinErrorFromErrno(ec.value(), false)});
    }

    // `dir` as the user reaches it, `real` its canonical path.
    void WalkFolder(const fs::path& dir, const fs::path& real) {
        std::error_code ec;
        // The owner's read bit binds root too, as everywhere in the program.
        const fs::perms perms = fs::status(dir, ec).permissions();
        if (!ec && (perms & fs::perms::owner_read) == fs::perms::none)
            return Unreadable(dir, std::make_error_code(std::errc::permission_denied));
        std::vector<fs::directory_entry> entries;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            entries.push_back(*it);
        if (ec)
            return Unreadable(dir, ec);
        // The host lists in no order of use to anyone; names are.
        std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            return a.path().filename() < b.path().filename();
        });
        for (const fs::directory_entry& e : entries) {
            const fs::file_status st = e.symlink_status(ec);
            if (ec)
                Unreadable(e.path(), ec);
            else if (fs::is_symlink(st))
                PassLink(e.path(), real);
            else if (fs::is_directory(st))
                WalkFolder(e.path(), real / e.path().filename());
            else if (fs::is_regular_file(st) && Wanted(e.path().filename().string()))
                out_.files.push_back(e.path().string());
            // Pipes, sockets and devices hold no pictures, and reading a pipe
            // would wait for ever.
        }
    }

    // Says why a link is not followed, when its target is not walked anyway.
    void PassLink(const fs::path& link, const fs::path& folder) {
        std::error_code ec;
        const fs::path target = fs::canonical(link, ec);
        if (ec)
            out_.notes.push_back({WalkNote::LinkNowhere, link.string(), 0});
        else if (!Inside(target, root_))
            out_.notes.push_back({WalkNote::LinkOut, link.string(), 0});
        else if (Inside(folder, target))
            out_.notes.push_back({WalkNote::LinkBack, link.string(), 0});
    }

    bool Wanted(const std::string& name) const {
        return include_.empty() ||
               std::any_of(include_.begin(), include_.end(), [&name](const std::string& pattern) {
                   return platform::MatchesMask(name, pattern);
               });
    }

    const std::vector<std::string>& include_;
    WalkedFiles& out_;
    fs::path root_;
};

} // namespace

WalkedFiles WalkArguments(const std::vector<std::string>& arguments, bool recursive,
                          const std::vector<std::string>& include) {
    WalkedFiles walked;
    for (const std::string& argument : arguments) {
        std::error_code ec;
        if (recursive && fs::is_directory(argument, ec))
            TFolderWalk(include, walked).Walk(argument);
        else
            walked.files.push_back(argument);
    }
    return walked;
}
