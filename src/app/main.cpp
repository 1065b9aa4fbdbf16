// Program start: fix the formats, point the help at the file beside the
// program, create the three forms in their order, hand the remembered
// directory to the file dialog and run until the main window closes.
#include <QApplication>

#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "dialogs/Glyph_About.h"
#include "dialogs/Glyph_Dir.h"
#include "extract/Extractor.h"
#include "extract/FileUtils.h"
#include "platform/FileOps.h"
#include "platform/ui/Application.h"

namespace {

std::string HelpFileBesideProgram() {
    const std::string program = platform::ProgramPath();
    const std::size_t cut = program.find_last_of("\\:");
    return (cut == std::string::npos ? std::string() : program.substr(0, cut + 1)) + "SporvikU.HLP";
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle("Windows");
    InitFormatSettings();
    BitmapFileNumber = 0;
    platform::Application().SetHelpFile(HelpFileBesideProgram());

    TFormMainWindow mainWindow;
    FormMainWindow = &mainWindow;
    TOSDialog osDialog(&mainWindow);
    OSDialog = &osDialog;
    TFormAbout about(&mainWindow);
    FormAbout = &about;
    OSDialog->SetStartDirectory(CurrentDir);

    mainWindow.show();
    return app.exec();
}
