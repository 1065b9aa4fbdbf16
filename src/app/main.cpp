// Program start: fix the formats, point the help at the file beside the
// program, create the three forms in their order, open the folder asked for
// on the command line (else the remembered one), hand it to the file dialog
// and run until the main window closes (a signal or the session ending
// closes it too).
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/AppPaths.h"
#include "app/CommandLine.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "dialogs/Glyph_About.h"
#include "dialogs/Glyph_Dir.h"
#include "extract/Extractor.h"
#include "fileutils/FormatSettings.h"
#include "messages/QZdialog.h"
#include "platform/Codepage.h"
#include "platform/ui/Application.h"
#include "platform/ui/EndRequest.h"

namespace {

// --help and --version answer on the terminal before Qt starts, so no window
// (and no display) is needed.
bool AnswersOnTheTerminal(const StartRequest& asked) {
    if (asked.showHelp)
        std::fputs(CommandLineUsage().c_str(), stdout);
    else if (asked.showVersion)
        std::printf("Sporvik %s\n", SPORVIK_VERSION);
    return asked.showHelp || asked.showVersion;
}

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void TellOnTheTerminal(const std::string& problem) {
    std::string text = platform::AnsiToUtf8(problem);
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, "\nSporvik: ");
    std::fprintf(stderr, "Sporvik: %s\n", text.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (AnswersOnTheTerminal(ParseCommandLine(Arguments(argc, argv))))
        return 0;
    QApplication app(argc, argv); // takes out the arguments that are Qt's own
    platform::UseClassicLook();
    // Read again without Qt's own arguments, which are no folder to open.
    const StartRequest start = ParseCommandLine(Arguments(argc, argv));
    if (!start.problem.empty())
        TellOnTheTerminal(start.problem);

    InitFormatSettings();
    BitmapFileNumber = 0;
    platform::Application().SetHelpFile(DataFolder() + "SporvikU.HLP");

    TFormMainWindow mainWindow(nullptr, start.directory);
    FormMainWindow = &mainWindow;
    TOSDialog osDialog(&mainWindow);
    OSDialog = &osDialog;
    TFormAbout about(&mainWindow);
    FormAbout = &about;
    OSDialog->SetStartDirectory(mainWindow.Pages().CurrentDir());

    QObject::connect(&mainWindow, &TFormMainWindow::Closed, &app, &QApplication::quit);
    // A signal or the session's end closes the window as Exit does, so the
    // settings are written.
    platform::CloseWhenAskedToEnd(&mainWindow);
    mainWindow.show();
    if (!start.problem.empty())
        QTimer::singleShot(0, &mainWindow, [&start] { ShowWarning(start.problem); });
    return app.exec();
}
