// Draws path labels with a long directory path, in both directions and at a
// few widths, to shots/filabel.png (or the directory given as argument), to
// look at how the shortened captions read.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "controls/FiLabel.h"

namespace {

const std::string kLongPath = "C:\\Users\\ann\\Documents\\Projects\\Sporvik\\Glyphs\\M\xE4rz 1998"
                              "\\Toolbar Buttons\\Large Set\\Disabled States";

QFont LabelFont() {
    QFont font("Liberation Sans");
    font.setPixelSize(13);
    return font;
}

void AddRow(QWidget& host, QVBoxLayout& rows, const QString& title, TDirection direction,
            int width) {
    auto* caption = new QLabel(title, &host);
    rows.addWidget(caption);
    auto* label = new TFileLabel(&host);
    label->setFont(LabelFont());
    // A white face shows where the label ends; the real one is transparent.
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
    label->setFixedSize(width, 17);
    label->SetDirection(direction);
    label->SetFileName(kLongPath);
    rows.addWidget(label);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(dir);

    QWidget host;
    auto* rows = new QVBoxLayout(&host);
    AddRow(host, *rows, "drFromLeft, 336 px (the main window's size)", drFromLeft, 336);
    AddRow(host, *rows, "drFromRight, 336 px", drFromRight, 336);
    AddRow(host, *rows, "drFromLeft, 200 px", drFromLeft, 200);
    AddRow(host, *rows, "drFromRight, 200 px", drFromRight, 200);
    // Just wide enough for "...\\" and the last part, too narrow for the drive.
    const QFontMetrics metrics(LabelFont());
    const int lastWithEllipsis = metrics.horizontalAdvance("...\\Disabled States");
    AddRow(host, *rows, "drFromLeft, drive dropped", drFromLeft, lastWithEllipsis + 2);
    AddRow(host, *rows, "drFromLeft, 80 px (last part alone)", drFromLeft, 80);
    AddRow(host, *rows, "drFromLeft, 640 px (whole path)", drFromLeft, 640);
    host.show();

    const QString file = dir + "/filabel.png";
    if (!host.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}
