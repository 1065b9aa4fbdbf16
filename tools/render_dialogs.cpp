// Draws the program's dialogs to PNG files, to look at: a message dialog of
// each kind, the button sets the program uses, the input box with and
// without Help, and the About box. Writes to shots/ (or the directory given
// as argument). Each picture carries a plain caption strip above the client
// area so the title can be checked too.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include "Shots.h"
#include "dialogs/Glyph_About.h"
#include "messages/QZdialog.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"

namespace {

using MB = MessageButton;

QString outputDir;

// Shows a dialog through `show` (which runs it modally), grabs it once it is
// up and closes it.
void RenderModal(const char* name, const std::function<void()>& show) {
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer.stop();
            shots::Save(dialog, outputDir, name);
            dialog->close();
        }
    });
    timer.start();
    show();
}

void RenderMessage(const char* name, const std::string& text, MessageKind kind,
                   MessageButtons buttons, MessageButton defaultButton) {
    RenderModal(name, [&] { MessageDialog(text, kind, buttons, defaultButton); });
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::UseClassicLook();
    outputDir = shots::OutputDir(argc, argv);
    platform::SetScreenSize(1024, 768);
    platform::Application().SetTitle("Sporvik");

    RenderMessage("message-warning", "Disk in drive a:\r\ncant't be read.", MessageKind::Warning,
                  {MB::OK}, MB::OK);
    RenderMessage("message-error",
                  "Error deleting\r\nC:\\GLYPHS\\ARROW.BMP\r\nReason: I/O Error 5\r\nAccess "
                  "denied.",
                  MessageKind::Error, {MB::Abort, MB::Ignore}, MB::Ignore);
    RenderMessage("message-information", "No bitmaps found.", MessageKind::Information, {MB::OK},
                  MB::OK);
    RenderMessage("message-confirmation", "File 3.bmp\r\nalready exists. Overwrite?",
                  MessageKind::Confirmation, MessageButtons::FromBits(131), MB::No);
    RenderMessage("message-custom", "A custom message: &underlined and && one ampersand.",
                  MessageKind::Custom, {MB::Yes, MB::No}, MB::No);
    RenderMessage("message-long",
                  "This message is long enough to be broken into several lines at half the "
                  "width of the screen, between words, so that the dialog never grows wider "
                  "than that unless a single word is longer than half the screen.",
                  MessageKind::Warning, {MB::Yes, MB::No, MB::Cancel, MB::Help}, MB::Cancel);
    RenderMessage(
        "message-long-path",
        "Error deleting\r\nC:\\Glyph Collection\\Toolbar-Buttons\\Large Set\\Disabled "
        "States\\arrow_left_pushed_with_a_rather_long_name_x.bmp\r\nReason: I/O Error 5\r\n"
        "File access denied",
        MessageKind::Error, {MB::Abort, MB::Ignore}, MB::Ignore);
    std::string widePath = "C:";
    while (widePath.size() < 240)
        widePath += "\\ToolbarButtonsLargeSet" + std::to_string(widePath.size());
    RenderMessage("message-path-wider-than-screen",
                  "Error deleting\r\n" + widePath +
                      "\\arrow.bmp\r\nReason: I/O Error 5\r\n"
                      "File access denied",
                  MessageKind::Error, {MB::Abort, MB::Ignore}, MB::Ignore);
    RenderMessage("message-nobuttons", "Close me through the title bar.", MessageKind::Error, {},
                  MB::OK);

    std::string value = "ARROW.BMP";
    RenderModal("input", [&] { InputDialog("Rename File", "Enter New Name:", value, 0); });
    RenderModal("input-help", [&] { InputDialog("Rename File", "Enter New Name:", value, 20); });

    TFormAbout about;
    RenderModal("about", [&] { about.exec(); });
    return 0;
}
