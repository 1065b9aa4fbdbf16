// Program start: fix the formats, point the help at the file beside the
// program, create the three forms in their order, hand the remembered
// directory to the file dialog and run until the main window closes.
#include <QApplication>

#include "app/AppPaths.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "dialogs/Glyph_About.h"
#include "dialogs/Glyph_Dir.h"
#include "extract/Extractor.h"
#include "extract/FileUtils.h"
#include "platform/ui/Application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle("Windows");
    InitFormatSettings();
    BitmapFileNumber = 0;
    platform::Application().SetHelpFile(DataFolder() + "SporvikU.HLP");

    TFormMainWindow mainWindow;
    FormMainWindow = &mainWindow;
    TOSDialog osDialog(&mainWindow);
    OSDialog = &osDialog;
    TFormAbout about(&mainWindow);
    FormAbout = &about;
    OSDialog->SetStartDirectory(CurrentDir);

    QObject::connect(&mainWindow, &TFormMainWindow::Closed, &app, &QApplication::quit);
    mainWindow.show();
    return app.exec();
}
