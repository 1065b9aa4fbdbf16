#include "cli/ExtractCommand.h"

#include <filesystem>
#include <istream>
#include <ostream>

#include "cli/CliOptions.h"
#include "cli/JsonRecord.h"
#include "cli/TerminalProgress.h"
#include "extract/Extractor.h"
#include "extract/FileUtils.h"
#include "extract/ProgressRelay.h"
#include "platform/Codepage.h"
#include "platform/Drives.h"

#ifndef SPORVIK_VERSION
#define SPORVIK_VERSION "unknown"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgram = "sporvik-extract";

// The extractor's messages break their lines the Windows way.
std::string TerminalLines(const std::string& text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    return platform::AnsiToUtf8(lines);
}

std::string Counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

class ExtractCommand {
public:
    ExtractCommand(const CliOptions& options, CliStreams streams)
        : options_(options), streams_(streams),
          progress_(streams.err, streams.errIsTerminal && !options.quiet) {}

    int Run();

private:
    bool PrepareOutput();
    void ExtractFile(const std::string& hostPath);
    ExtractHooks Hooks(const std::string& hostPath);
    OverwriteAnswer Answer(const std::string& question);
    OverwriteAnswer AskOnTerminal(const std::string& question);
    void Message(const std::string& text);

    const CliOptions& options_;
    CliStreams streams_;
    TTerminalProgress progress_;
    std::string outputDir_; // Windows path, or empty for each file's own
    int written_ = 0;
    int filesRead_ = 0;
    bool trouble_ = false;
};

void ExtractCommand::Message(const std::string& text) {
    progress_.Clear();
    streams_.err << kProgram << ": " << TerminalLines(text) << '\n' << std::flush;
}

bool ExtractCommand::PrepareOutput() {
    if (options_.outputDir.empty())
        return true;
    std::error_code ec;
    const fs::path dir = fs::absolute(options_.outputDir, ec).lexically_normal();
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        Message("cannot make the output directory " + options_.outputDir);
        return false;
    }
    outputDir_ = platform::ToWindowsPath(dir.string());
    if (outputDir_.empty()) {
        Message("the output directory " + options_.outputDir + " lies on no drive");
        return false;
    }
    outputDir_ = AddBackslash(outputDir_);
    return true;
}

OverwriteAnswer ExtractCommand::AskOnTerminal(const std::string& question) {
    progress_.Clear();
    for (;;) {
        streams_.err << TerminalLines(question) << " [y]es, [n]o, [a]ll: " << std::flush;
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

OverwriteAnswer ExtractCommand::Answer(const std::string& question) {
    switch (options_.overwrite) {
    case OverwritePolicy::Yes:
        return OverwriteAnswer::All;
    case OverwritePolicy::Ask:
        return AskOnTerminal(question);
    case OverwritePolicy::No:
        break;
    }
    const std::string name = question.substr(5, question.find('\r') - 5);
    Message(name + " already exists: this file's extraction stops here "
                   "(--overwrite yes replaces it)");
    return OverwriteAnswer::No;
}

ExtractHooks ExtractCommand::Hooks(const std::string& hostPath) {
    ExtractHooks hooks;
    hooks.outputDir = outputDir_;
    hooks.askOverwrite = [this](const std::string& q) { return Answer(q); };
    hooks.reportError = [this](const std::string& m) { Message(m); };
    hooks.written = [this, hostPath](const WrittenBitmap& b) {
        ++written_;
        if (!options_.json)
            return;
        std::string file;
        platform::ToHostPath(b.file, file);
        streams_.out << JsonRecord(b, hostPath, file) << '\n' << std::flush;
    };
    return hooks;
}

void ExtractCommand::ExtractFile(const std::string& hostPath) {
    std::error_code ec;
    const fs::path full = fs::absolute(hostPath, ec).lexically_normal();
    const std::string exePath = ec ? std::string() : platform::ToWindowsPath(full.string());
    if (exePath.empty()) {
        Message("Error reading " + hostPath + "!\r\nit lies on no drive");
        trouble_ = true;
        return;
    }
    TProgressRelay relay(
        [this](std::int64_t done, std::int64_t size) { progress_.Show(done, size); });
    ExtractHooks hooks = Hooks(hostPath);
    hooks.progress = &relay;
    TBitmapExtractor extractor(exePath, hooks);
    progress_.Begin(hostPath);
    if (extractor.Run() && options_.resources)
        extractor.ExtractResources();
    progress_.Clear();
    filesRead_ += extractor.ReadFailed ? 0 : 1;
    trouble_ = trouble_ || extractor.ReadFailed || extractor.WriteFailures > 0;
}

int ExtractCommand::Run() {
    if (!PrepareOutput())
        return ExitTrouble;
    // The numbers go on from file to file, as from one extraction to the next
    // in the window.
    BitmapFileNumber = options_.start - 1;
    for (const std::string& file : options_.files)
        ExtractFile(file);
    if (!options_.quiet) {
        if (written_ == 0)
            streams_.err << "No bitmaps found.\n";
        else
            streams_.err << Counted(written_, "bitmap", "bitmaps") << " written from "
                         << Counted(filesRead_, "file", "files") << ".\n";
    }
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
