#include "cli/ExtractCommand.h"

#include <algorithm>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>

#include "cli/CliOptions.h"
#include "cli/FolderWalk.h"
#include "cli/JsonRecord.h"
#include "cli/SurveyPool.h"
#include "cli/TerminalProgress.h"
#include "extract/CarvedNames.h"
#include "extract/DuplicateIndex.h"
#include "extract/Extractor.h"
#include "fileutils/FileUtils.h"
#include "fileutils/IoErrorText.h"
#include "fileutils/PathParts.h"
#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/HeldListing.h"
#include "platform/Paths.h"
#include "platform/WinError.h"

#ifndef SPORVIK_VERSION
#define SPORVIK_VERSION "unknown"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgram = "sporvik-extract";
// Scanning is bound by memory and disk long before this many cores.
constexpr unsigned kMaxWorkers = 8;

// The extractor's texts are Windows-1252 and break their lines the Windows
// way; the terminal wants UTF-8 and line feeds.
std::string TerminalText(const std::string& ansi) {
    std::string lines;
    for (std::size_t i = 0; i < ansi.size(); ++i)
        if (!(ansi[i] == '\r' && i + 1 < ansi.size() && ansi[i + 1] == '\n'))
            lines += ansi[i];
    return platform::AnsiToUtf8(lines);
}

std::string Counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "3 bitmaps", "3 bitmaps, 2 icons and 1 cursor": the kinds written.
std::string KindsWritten(int bitmaps, int pngs, int icons, int cursors) {
    std::vector<std::string> parts;
    if (bitmaps > 0 || (pngs == 0 && icons == 0 && cursors == 0))
        parts.push_back(Counted(bitmaps, "bitmap", "bitmaps"));
    if (pngs > 0)
        parts.push_back(Counted(pngs, "PNG file", "PNG files"));
    if (icons > 0)
        parts.push_back(Counted(icons, "icon", "icons"));
    if (cursors > 0)
        parts.push_back(Counted(cursors, "cursor", "cursors"));
    std::string text = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        text += (i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
}

class ExtractCommand {
public:
    ExtractCommand(const CliOptions& options, CliStreams streams)
        : options_(options), streams_(streams),
          progress_(streams.err, streams.errIsTerminal && !options.quiet) {}

    int Run();

private:
    bool PrepareOutput();
    // The files to extract from: those named, each folder walked with -r.
    void ListFiles();
    void TellWalkNote(const WalkNote& note);
    CarveOptions Carving();
    static std::string WindowsPath(const std::string& hostPath);
    void ExtractAll();
    ExtractHooks Hooks(const std::string& hostPath);
    // What to do with the existing file `name` (Windows-1252).
    OverwriteAnswer Answer(const std::string& name);
    OverwriteAnswer AskOnTerminal(const std::string& name);
    // A message in UTF-8 (host paths as given), on its own line.
    void Message(const std::string& text);

    // Takes in what one pass over a file came to.
    void Tally(const ExtractOutcome& outcome);
    void Summarise();

    const CliOptions& options_;
    CliStreams streams_;
    TTerminalProgress progress_;
    std::string outputDir_; // Windows path, or empty for each file's own
    // The output folder's names, read once for the run rather than once for
    // every file written.
    std::optional<platform::THeldListing> heldOutput_;
    std::vector<std::string> files_; // host paths
    TNameBook names_;
    TDuplicateIndex once_;
    int duplicates_ = 0;
    int written_ = 0;
    int pngs_ = 0;
    int icons_ = 0;
    int cursors_ = 0;
    int filesRead_ = 0;
    bool trouble_ = false;
    // A bitmap was found, whether or not it was written; or something was
    // told (a failure, a file kept). Either way "No bitmaps found." would lie.
    bool foundOrTold_ = false;
};

void ExtractCommand::Message(const std::string& text) {
    progress_.Clear();
    std::string_view line = text;
    while (!line.empty() && line.back() == '\n')
        line.remove_suffix(1); // a reason without a phrase ends in a line break
    streams_.err << kProgram << ": " << line << '\n' << std::flush;
    foundOrTold_ = true;
}

void ExtractCommand::Tally(const ExtractOutcome& outcome) {
    trouble_ = trouble_ || outcome.Failed();
    foundOrTold_ = foundOrTold_ || outcome.written > 0;
}

bool ExtractCommand::PrepareOutput() {
    if (options_.outputDir.empty())
        return true;
    std::error_code ec;
    const fs::path dir = fs::absolute(options_.outputDir, ec).lexically_normal();
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        // A file standing where the directory should be is no failure of the
        // disk: it is in the way.
        const int code = !ec || ec == std::errc::file_exists || ec == std::errc::not_a_directory
                             ? platform::ERROR_FILE_EXISTS
                             : platform::WinErrorFromErrno(ec.value(), true);
        Message("cannot make the output directory " + options_.outputDir + "\n" +
                TerminalText(IoErrorText(code)));
        return false;
    }
    outputDir_ = platform::ToWindowsPath(dir.string());
    if (outputDir_.empty()) {
        Message("the output directory " + options_.outputDir + " lies on no drive");
        return false;
    }
    outputDir_ = AddBackslash(outputDir_);
    heldOutput_.emplace(dir.string());
    return true;
}

OverwriteAnswer ExtractCommand::AskOnTerminal(const std::string& name) {
    progress_.Clear();
    for (;;) {
        streams_.err << "File " << TerminalText(name)
                     << "\nalready exists. Overwrite? [y]es, [n]o, [a]ll: " << std::flush;
        std::string line;
        if (!std::getline(streams_.in, line))
            return OverwriteAnswer::No; // nobody to answer
        if (line == "y" || line == "yes")
            return OverwriteAnswer::Yes;
        if (line == "n" || line == "no")
            return OverwriteAnswer::No;
        if (line == "a" || line == "all")
            return OverwriteAnswer::All;
    }
}

OverwriteAnswer ExtractCommand::Answer(const std::string& name) {
    switch (options_.overwrite) {
    case OverwritePolicy::Yes:
        return OverwriteAnswer::All;
    case OverwritePolicy::Ask:
        return AskOnTerminal(name);
    case OverwritePolicy::No:
        break;
    }
    Message(TerminalText(name) + " already exists: this file's extraction stops here "
                                 "(--overwrite yes replaces it)");
    return OverwriteAnswer::No;
}

void ExtractCommand::TellWalkNote(const WalkNote& note) {
    switch (note.kind) {
    case WalkNote::Unreadable:
        Message("cannot read " + note.path + "\n" + TerminalText(IoErrorText(note.errorCode)));
        trouble_ = true;
        return;
    case WalkNote::LinkOut:
    case WalkNote::LinkBack:
    case WalkNote::LinkNowhere:
        break;
    }
    const char* why = note.kind == WalkNote::LinkOut    ? "it leads out of the folder"
                      : note.kind == WalkNote::LinkBack ? "it leads back to a folder it lies in"
                                                        : "it leads nowhere";
    // Passing a link by is no failure, and finds nothing.
    const bool told = foundOrTold_;
    Message(note.path + ": a link not followed: " + why);
    foundOrTold_ = told;
}

void ExtractCommand::ListFiles() {
    const WalkedFiles walked = WalkArguments(options_.files, options_.recursive, options_.include);
    for (const WalkNote& note : walked.notes)
        TellWalkNote(note);
    files_ = walked.files;
}

CarveOptions ExtractCommand::Carving() {
    CarveOptions carve;
    carve.rules = options_.carve;
    carve.names = options_.names == NameStyle::Source ? &names_ : nullptr;
    carve.once = options_.skipDuplicates ? &once_ : nullptr;
    return carve;
}

ExtractHooks ExtractCommand::Hooks(const std::string& hostPath) {
    ExtractHooks hooks;
    hooks.outputDir = outputDir_;
    hooks.carve = Carving();
    hooks.askOverwrite = [this](const std::string& fileName) {
        foundOrTold_ = true; // a bitmap was found, whatever the answer
        return Answer(NamePart(fileName));
    };
    hooks.reportError = [this](const std::string& m) { Message(TerminalText(m)); };
    // Saying why resources stay unread is no failure: "No bitmaps found."
    // still holds when nothing else was found or told.
    hooks.tellNotRead = [this](const std::string& m) {
        const bool told = foundOrTold_;
        Message(TerminalText(m));
        foundOrTold_ = told;
    };
    hooks.written = [this, hostPath](const WrittenBitmap& b) {
        if (b.duplicate)
            ++duplicates_;
        else
            ++written_;
        pngs_ += b.kind == "png" && !b.duplicate ? 1 : 0;
        icons_ += b.kind == "ico" && !b.duplicate ? 1 : 0;
        cursors_ += b.kind == "cur" && !b.duplicate ? 1 : 0;
        if (!options_.json)
            return;
        progress_.Clear(); // both may be the same terminal
        std::string file;
        platform::ToHostPath(b.file, file);
        streams_.out << JsonRecord(b, hostPath, file) << '\n' << std::flush;
    };
    return hooks;
}

std::string ExtractCommand::WindowsPath(const std::string& hostPath) {
    std::error_code ec;
    const fs::path full = fs::absolute(hostPath, ec).lexically_normal();
    return ec ? std::string() : platform::ToWindowsPath(full.string());
}

// Every file is scanned by a worker of the pool; here, in the order given,
// the bitmaps found are numbered and written, and the resources taken.
void ExtractCommand::ExtractAll() {
    std::vector<std::string> exePaths;
    std::int64_t total = 0;
    for (const std::string& file : files_) {
        exePaths.push_back(WindowsPath(file));
        std::error_code ec;
        const auto size = fs::file_size(file, ec);
        total += ec ? 0 : static_cast<std::int64_t>(size);
    }
    // The bar starts empty before any worker can move it.
    if (!exePaths.empty())
        progress_.Show(0, total, files_.front());
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkers);
    TSurveyPool pool(exePaths, workers, options_.carve);
    for (std::size_t i = 0; i < exePaths.size(); ++i) {
        const std::string& hostPath = files_[i];
        if (exePaths[i].empty()) {
            Message("Error reading " + hostPath + "!\nit lies on no drive");
            trouble_ = true;
            continue;
        }
        progress_.Show(pool.BytesScanned(), total, hostPath);
        const FileSurvey& survey =
            pool.Wait(i, [&](std::int64_t scanned) { progress_.Show(scanned, total, hostPath); });
        progress_.Show(pool.BytesScanned(), total, hostPath);
        for (const std::string& m : survey.messages)
            Message(TerminalText(m));
        Tally(survey.outcome);
        if (!survey.outcome.opened)
            continue;
        foundOrTold_ = foundOrTold_ || !survey.found.empty();
        TBitmapExtractor extractor(exePaths[i], Hooks(hostPath));
        ExtractOutcome written = extractor.WriteSurveyed(survey.found);
        Tally(written);
        bool readWhole = survey.outcome.readError == 0 && written.readError == 0;
        if (written.opened && options_.resources) {
            const ExtractOutcome resources = extractor.ExtractResources();
            Tally(resources);
            readWhole = readWhole && resources.opened && resources.readError == 0;
        }
        filesRead_ += written.opened && readWhole ? 1 : 0;
    }
    progress_.Clear();
}

void ExtractCommand::Summarise() {
    if (options_.quiet)
        return;
    if (!foundOrTold_)
        streams_.err << "No bitmaps found.\n";
    else
        streams_.err << KindsWritten(written_ - pngs_ - icons_ - cursors_, pngs_, icons_, cursors_)
                     << " written from " << Counted(filesRead_, "file", "files")
                     << (duplicates_ > 0
                             ? ", " + Counted(duplicates_, "duplicate", "duplicates") + " skipped"
                             : std::string())
                     << ".\n";
}

int ExtractCommand::Run() {
    if (!PrepareOutput())
        return ExitTrouble;
    ListFiles();
    // The numbers go on from file to file, as from one extraction to the next
    // in the window.
    BitmapFileNumber = options_.start - 1;
    ExtractAll();
    Summarise();
    if (trouble_)
        return ExitTrouble;
    return written_ > 0 ? ExitWritten : ExitNoneFound;
}

} // namespace

int RunExtractCommand(const std::vector<std::string>& args, CliStreams streams) {
    CliOptions options;
    const std::string problem = ParseOptions(args, options);
    if (!problem.empty()) {
        streams.err << kProgram << ": " << problem << "\nTry '" << kProgram << " --help'.\n";
        return ExitTrouble;
    }
    if (options.help) {
        streams.out << UsageText();
        return ExitWritten;
    }
    if (options.version) {
        streams.out << kProgram << " " << SPORVIK_VERSION << '\n';
        return ExitWritten;
    }
    return ExtractCommand(options, streams).Run();
}
