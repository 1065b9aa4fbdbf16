// Draws the help viewer on the program's help file at topics 1, 11 and 20 to
// PNG files, to look at: each topic's heading should stand at the top. The
// help file is the one beside this program. Writes to shots/ (or the
// directory given as argument).
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "platform/Drives.h"
#include "platform/ui/Application.h"
#include "platform/ui/HelpViewer.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::UseClassicLook();
    const QString outputDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(outputDir);
    const std::string helpFile = platform::ToWindowsPath(
        (QCoreApplication::applicationDirPath() + "/SporvikU.HLP").toStdString());
    for (int context : {1, 11, 20}) {
        if (!platform::ShowHelpTopic(helpFile, context, "Sporvik"))
            return 1;
        QApplication::processEvents();
        const QString path = outputDir + QStringLiteral("/help-topic-%1.png").arg(context);
        if (platform::HelpViewer()->grab().save(path))
            std::printf("%s\n", qPrintable(path));
    }
    platform::CloseHelpViewer();
    return 0;
}
