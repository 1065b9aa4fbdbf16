// Extraction with system calls failing under it, in the window and on the
// command line: reads, writes, opens, closes and syncs, each failing at
// every position in turn and then at random. After every run each numbered
// bitmap file present is whole, its new bitmap or the file it was to
// replace; every failure that cost a file was told; no half-written or spare
// file is left; and the command line's summary and exit status agree.
#include <QAbstractButton>
#include <QImage>
#include <cerrno>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "HostFiles.h"
#include "InjectedFault.h"
#include "MainWindowFixture.h"
#include "ModalAnswer.h"
#include "cli/ExtractCommand.h"
#include "extract/Extractor.h"
#include "platform/ui/Application.h"

namespace fs = std::filesystem;
using testsupport::CountedFault;

namespace {

struct Point {
    const char* name;
    int error;
};
const Point kPoints[] = {
    {"posix/io/rw/read", EIO},  {"posix/io/rw/write", ENOSPC}, {"posix/io/oc/open", EACCES},
    {"posix/io/oc/close", EIO}, {"posix/io/sync/fsync", EIO},
};
constexpr int kBitmaps = 3;
constexpr int kRandomRuns = 4;
constexpr double kRandomChance = 0.15;

std::string WithLineFeeds(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

// What one run left: its messages (line breaks as "\n", the command line's
// prefix taken off), the files of the folder, and for the command line its
// summary and exit status.
struct RunResult {
    std::vector<std::string> messages;
    std::map<std::string, std::string> files;
    std::string summary;
    int status = -1;
};

class ExtractFaultsTest : public MainWindowTest {
protected:
    ExtractFaultsTest() {
        std::string exe(500, 'x');
        for (int i = 0; i < kBitmaps; ++i) {
            bitmaps_.push_back(testsupport::ShadedBmpFile(60 * i));
            olds_.push_back(testsupport::ShadedBmpFile(30 * i, 20));
            exe += bitmaps_.back() + std::string(500, 'x');
        }
        exe_ = exe;
    }

    void Prepare(bool replacing) {
        window_->LoadDirectory("C:\\prog\\");
        fs::remove_all(drives_.Host("apps"));
        drives_.WriteFile("apps/tool.exe", exe_);
        if (replacing)
            for (int i = 0; i < kBitmaps; ++i)
                drives_.WriteFile("apps/" + std::to_string(i + 1) + ".bmp",
                                  olds_[static_cast<std::size_t>(i)]);
        BitmapFileNumber = 0;
    }

    // Every question is answered All and every report OK.
    RunResult InWindow() {
        RunResult r;
        {
            testsupport::ModalAnswer answer;
            for (int i = 0; i < 12; ++i)
                answer.Inspect([](QWidget* dialog) {
                    for (const char* wanted : {"&All", "All", "OK", "&OK"})
                        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
                            if (b->text() == wanted) {
                                b->click();
                                return;
                            }
                });
            platform::Guarded([this] {
                window_->ExtractBitmapsFrom("C:\\apps\\tool.exe", window_->SpeedButtonExtract);
            });
            for (const auto& seen : answer.Seen())
                r.messages.push_back(WithLineFeeds(seen.text));
        }
        return r;
    }

    RunResult OnCommandLine(bool replacing) {
        RunResult r;
        std::ostringstream out, err;
        std::istringstream in;
        r.status = RunExtractCommand(
            {"--overwrite", replacing ? "yes" : "no", drives_.Host("apps/tool.exe").string()},
            {out, err, in, false});
        // Each message starts its line with the program's name; the summary
        // is the last line.
        std::istringstream lines(err.str());
        std::vector<std::string> all;
        for (std::string line; std::getline(lines, line);)
            all.push_back(line);
        if (!all.empty()) {
            r.summary = all.back();
            all.pop_back();
        }
        const std::string prefix = "sporvik-extract: ";
        for (const std::string& line : all) {
            if (line.rfind(prefix, 0) == 0)
                r.messages.push_back(line.substr(prefix.size()));
            else if (!r.messages.empty())
                r.messages.back() += "\n" + line;
            else
                r.messages.push_back(line);
        }
        return r;
    }

    // Runs the extraction with `fault` failing calls while it runs; the
    // folder is looked at once the fault is gone.
    RunResult Run(bool commandLine, bool replacing, const Point& p, long failAt, double chance,
                  unsigned seed, long* calls = nullptr) {
        RunResult r;
        {
            CountedFault fault(p.name, p.error, failAt, chance, seed);
            r = commandLine ? OnCommandLine(replacing) : InWindow();
            if (calls)
                *calls = fault.Calls();
        }
        for (const std::string& name : testsupport::FileNamesIn(drives_.Host("apps")))
            r.files[name] = testsupport::ReadHostFile(drives_.Host("apps/" + name));
        return r;
    }

    // Checks one run; returns whether a failure of the extraction was told.
    bool Check(const RunResult& r, bool replacing, bool commandLine) {
        static const std::regex writing(
            R"(Error writing ([0-9]+)\.bmp!\nReason: I/O Error [0-9]+\n[A-Za-z ()]+)");
        static const std::regex reading(
            R"(Error reading tool\.exe!\nReason: I/O Error [0-9]+\n[A-Za-z ()]+)");
        static const std::regex question(R"(File [0-9]+\.bmp\nalready exists\. Overwrite\?)");
        static const std::regex glyph(R"rx(Cannot (open|read) file "C:\\apps\\[0-9]+\.bmp"\.)rx");
        std::set<int> toldWriting;
        int toldReading = 0;
        for (const std::string& m : r.messages) {
            std::smatch match;
            if (std::regex_match(m, match, writing))
                toldWriting.insert(std::stoi(match[1]));
            else if (std::regex_match(m, reading))
                ++toldReading;
            else if (!(replacing && std::regex_match(m, question)) &&
                     !(!commandLine && std::regex_match(m, glyph)))
                ADD_FAILURE() << "unexpected message: " << m;
        }
        EXPECT_LE(toldReading, 1);
        int whole = 0;
        for (int n = 1; n <= kBitmaps; ++n) {
            const std::string name = std::to_string(n) + ".bmp";
            const auto it = r.files.find(name);
            const bool told = toldWriting.count(n) || toldReading;
            if (it == r.files.end()) {
                EXPECT_FALSE(replacing) << name << " was lost";
                EXPECT_TRUE(told) << name << " is missing without a word";
            } else if (it->second == bitmaps_[static_cast<std::size_t>(n - 1)]) {
                ++whole;
            } else if (replacing && it->second == olds_[static_cast<std::size_t>(n - 1)]) {
                EXPECT_TRUE(told) << name << " was kept without a word";
            } else {
                ADD_FAILURE() << name << " holds neither its bitmap nor the file it replaces ("
                              << it->second.size() << " bytes)";
            }
        }
        for (const auto& [name, bytes] : r.files)
            if (name != "tool.exe" && !std::regex_match(name, std::regex("[1-3]\\.bmp")))
                ADD_FAILURE() << "left behind: " << name;
        const bool toldFailure = toldReading || !toldWriting.empty();
        if (commandLine) {
            EXPECT_EQ(r.status, toldFailure ? ExitTrouble : ExitWritten);
            EXPECT_EQ(r.summary, std::to_string(whole) + (whole == 1 ? " bitmap" : " bitmaps") +
                                     " written from " + (toldReading ? "0 files." : "1 file."));
        }
        return toldFailure;
    }

    // A clean run to count the point's calls, then a fault at each of them
    // in turn, then faults at random.
    void UnderEveryFault(bool commandLine) {
        Open();
        for (const bool replacing : {false, true})
            for (const Point& p : kPoints) {
                SCOPED_TRACE(std::string(p.name) + (replacing ? ", replacing" : ", new files"));
                long calls = 0;
                Prepare(replacing);
                EXPECT_FALSE(
                    Check(Run(commandLine, replacing, p, 0, 0, 0, &calls), replacing, commandLine));
                int told = 0;
                for (long k = 1; k <= calls + kRandomRuns; ++k) {
                    const bool random = k > calls;
                    SCOPED_TRACE(random ? "at random, seed " + std::to_string(k - calls)
                                        : "at call " + std::to_string(k));
                    Prepare(replacing);
                    const RunResult r =
                        Run(commandLine, replacing, p, random ? 0 : k, random ? kRandomChance : 0,
                            static_cast<unsigned>(k - calls));
                    told += Check(r, replacing, commandLine);
                }
                // The faults reached the extraction: some run had to tell one.
                if (replacing || std::string(p.name) != "posix/io/sync/fsync") {
                    EXPECT_GT(told, 0) << calls << " calls";
                }
            }
    }

    std::string exe_;
    std::vector<std::string> bitmaps_, olds_;
};

TEST_F(ExtractFaultsTest, InTheWindowEveryFailureIsToldAndNoFileIsLost) {
    UnderEveryFault(false);
}

TEST_F(ExtractFaultsTest, OnTheCommandLineEveryFailureIsToldAndNoFileIsLost) {
    UnderEveryFault(true);
}

} // namespace
