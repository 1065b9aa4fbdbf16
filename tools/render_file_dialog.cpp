// Draws the file selection dialog to PNG files, to look at: directory mode,
// open mode with a file chosen (its date, time and size shown), and the
// message for a drive that cannot be read. It works on a scratch drive table
// over a temp directory, so what it shows is the same on every machine.
// Writes to shots/ (or the directory given as argument).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>
#include <utime.h>

#include "Shots.h"
#include "controls/QZkompo.h"
#include "dialogs/Glyph_Dir.h"
#include "fileutils/FormatSettings.h"
#include "platform/Drives.h"
#include "platform/ui/Application.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/Screen.h"

namespace {

QString outputDir;

// Runs `show` (which opens a dialog modally); once the dialog with this
// object or class name is up, `prepare` sets it up, the picture is taken and the
// dialog closed.
void Render(const char* name, const char* dialogName, const std::function<void(QWidget*)>& prepare,
            const std::function<void()>& show) {
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || (dialog->objectName() != dialogName &&
                        QLatin1String(dialog->metaObject()->className()) != dialogName))
            return;
        timer.stop();
        prepare(dialog);
        QApplication::processEvents();
        shots::Save(dialog, outputDir, name);
        const bool nested = dialog->objectName() != "OSDialog";
        dialog->close();
        // The file dialog that a message was opened from closes too.
        if (nested)
            QTimer::singleShot(50, [] {
                if (QWidget* owner = QApplication::activeModalWidget())
                    owner->close();
            });
    });
    timer.start();
    show();
}

void WriteFile(const QString& path, std::size_t size, std::time_t written) {
    std::ofstream(path.toStdString(), std::ios::binary) << std::string(size, 'x');
    const utimbuf times{written, written};
    utime(path.toLocal8Bit().constData(), &times);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::UseClassicLook();
    outputDir = shots::OutputDir(argc, argv);
    platform::SetScreenSize(1024, 768);
    InitFormatSettings();

    QTemporaryDir scratch;
    const QString c = scratch.path() + "/C", d = scratch.path() + "/D";
    for (const char* sub :
         {"Glyphs/Toolbar", "Glyphs/Arrows", "Glyphs/Disabled States", "Programs"})
        QDir().mkpath(c + "/" + sub);
    QDir().mkpath(d);
    const char* glyphs[] = {"arrow_left.bmp", "arrow_right.bmp", "open.bmp", "save.bmp",
                            "print.bmp",      "cut.bmp",         "copy.bmp", "paste.bmp"};
    for (const char* glyph : glyphs)
        WriteFile(c + "/Glyphs/" + glyph, 246, 1700000000);
    WriteFile(c + "/Glyphs/Editor.exe", 1843200, 1700000001);
    WriteFile(c + "/Glyphs/Viewer.exe", 412672, 1690000000);
    platform::DriveTable table;
    table.roots['C'] = c.toStdString();
    table.roots['D'] = d.toStdString(); // empty: a drive without a medium
    platform::SetDriveTable(table);

    TOSDialog dialog;
    dialog.SetStartDirectory("C:\\Glyphs\\");

    Render(
        "file-dialog-directory", "OSDialog", [](QWidget*) {},
        [&] { dialog.Execute(2, "Select Directory", "*.bmp", 63, 0, 0); });
    Render(
        "file-dialog-open", "OSDialog", [&](QWidget*) { dialog.FileListBox1->setCurrentRow(0); },
        [&] { dialog.Execute(0, "Extract bitmaps from .EXE file", "*.exe", 63, 11, 0); });
    // Choosing the empty drive D: brings the drive message.
    Render(
        "file-dialog-drive-message", "TMessageForm", [](QWidget*) {},
        [&] {
            QTimer::singleShot(50, [&] {
                const int index = dialog.QZDriveComboBox1->findText("d:", Qt::MatchStartsWith);
                dialog.QZDriveComboBox1->setCurrentIndex(index);
                emit dialog.QZDriveComboBox1->activated(index);
            });
            dialog.Execute(0, "Extract bitmaps from .EXE file", "*.exe", 63, 11, 0);
        });
    return 0;
}
