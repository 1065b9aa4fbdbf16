// Renders the main window to PNG files for a look at it: on the sample glyphs
// beside the program, with glyphs pushed, with glyphs disabled, on a second
// page, on a directory whose long path the path label must shorten, on a
// page of 32-bit glyphs with an alpha channel (up, pushed, disabled), and on
// a Cyrillic folder whose glyphs have Japanese, Cyrillic and Greek names.
//
//   render_main_window OUTDIR
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <filesystem>

#include "Shots.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "fileutils/FormatSettings.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/SpeedButton.h"

namespace fs = std::filesystem;

namespace {

// A deep directory holding a copy of a few sample glyphs.
std::string MakeDeepDirectory(const std::string& programDir) {
    const fs::path deep = fs::temp_directory_path() / "sporvik-render" / "Work" / "Icons" /
                          "Toolbar Buttons" / "Large Set" / "Disabled States" / "Glyphs";
    fs::create_directories(deep);
    std::string host;
    platform::ToHostPath(programDir, host);
    int copied = 0;
    for (const auto& entry : fs::directory_iterator(host)) {
        if (entry.path().extension() == ".bmp" && copied < 12 && fs::file_size(entry.path()) > 0) {
            fs::copy_file(entry.path(), deep / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
            ++copied;
        }
    }
    return platform::ToWindowsPath(deep.string());
}

// A 32-bit .bmp without masks whose top bytes carry the alpha, as programs
// store glyphs drawn with soft edges.
void WriteAlphaBmp(const fs::path& path, const QImage& argb) {
    const QImage image = argb.convertToFormat(QImage::Format_ARGB32);
    const std::uint32_t offset = 54, size = offset + 4u * image.width() * image.height();
    std::string file(offset, '\0');
    const auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file[at + i] = static_cast<char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, size, 4);
    put(10, offset, 4);
    put(14, 40, 4);
    put(18, image.width(), 4);
    put(22, image.height(), 4);
    put(26, 1, 2);
    put(28, 32, 2);
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x) {
            file.resize(file.size() + 4);
            put(file.size() - 4, image.pixel(x, y), 4);
        }
    QFile out(QString::fromStdString(path.string()));
    if (out.open(QIODevice::WriteOnly))
        out.write(file.data(), static_cast<qint64>(file.size()));
}

// 32 glyphs of 16 x 16 drawn with soft edges on clear pixels: dark arrows,
// discs and small triangles in the colours that vanish on a dark face, the
// clear pixels black, as such files mostly hold them.
std::string MakeAlphaDirectory() {
    const fs::path dir = fs::temp_directory_path() / "sporvik-render" / "Alpha";
    fs::create_directories(dir);
    const QColor colours[] = {Qt::black, QColor(0, 0, 128), QColor(128, 0, 0), QColor(0, 96, 0)};
    for (int n = 0; n < 32; ++n) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(colours[n % 4]);
        switch (n / 4 % 4) {
        case 0: // a 5 x 3 triangle, as small buttons carry
            p.drawPolygon(QPolygonF{QPointF(5.5, 6), QPointF(10.5, 6), QPointF(8, 9)});
            break;
        case 1:
            p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
            break;
        case 2: {
            QPainterPath arrow;
            arrow.addPolygon(QPolygonF{QPointF(2, 8), QPointF(8, 2), QPointF(8, 5), QPointF(14, 5),
                                       QPointF(14, 11), QPointF(8, 11), QPointF(8, 14)});
            p.drawPath(arrow);
            break;
        }
        default:
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(colours[n % 4], 2));
            p.drawRoundedRect(QRectF(3, 3, 10, 10), 3, 3);
        }
        p.end();
        WriteAlphaBmp(dir / ("alpha" + std::to_string(100 + n) + ".bmp"), image);
    }
    return platform::ToWindowsPath(dir.string());
}

// A Cyrillic folder of glyphs named in Japanese, Cyrillic, Greek and mixed.
std::string MakeForeignDirectory(const std::string& programDir) {
    const fs::path dir = fs::temp_directory_path() / "sporvik-render" /
                         "\xd0\x97\xd0\xbd\xd0\xb0\xd1\x87\xd0\xba\xd0\xb8";
    fs::create_directories(dir);
    std::string host;
    platform::ToHostPath(programDir, host);
    const char* names[] = {"\xe6\x97\xa5\xe6\x9c\xac.bmp",
                           "\xd0\x9f\xd1\x80\xd0\xb8.bmp",
                           "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1.bmp",
                           "caf\xc3\xa9-\xe2\x98\x83.bmp",
                           "plain.bmp",
                           "\xd0\x94\xd0\xb0.bmp"};
    std::size_t i = 0;
    for (const auto& entry : fs::directory_iterator(host)) {
        if (i == std::size(names))
            break;
        if (entry.path().extension() == ".bmp" && fs::file_size(entry.path()) > 0)
            fs::copy_file(entry.path(), dir / names[i++], fs::copy_options::overwrite_existing);
    }
    return platform::ToWindowsPath(dir.string());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::UseClassicLook();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("shots");
    QDir().mkpath(out);
    InitFormatSettings();

    TFormMainWindow w;
    FormMainWindow = &w;
    w.show();
    shots::SavePlain(&w, out, "main-window.png");

    for (int n : {1, 4, 6, 11, 19, 32})
        w.GlyphButton(n)->SetDown(true);
    shots::SavePlain(&w, out, "main-window-pushed.png");

    w.SpeedButtonDisableClick(&w);
    shots::SavePlain(&w, out, "main-window-disabled.png");
    w.SpeedButtonDisableClick(&w);
    w.UnpushAll1Click(&w);

    w.SpeedButtonNextClick(&w);
    shots::SavePlain(&w, out, "main-window-page2.png");

    w.LoadDirectory(MakeDeepDirectory(TFormMainWindow::ProgramDirectory()));
    shots::SavePlain(&w, out, "main-window-long-path.png");

    w.LoadDirectory(MakeAlphaDirectory());
    shots::SavePlain(&w, out, "main-window-alpha.png");
    for (int n : {1, 4, 6, 11, 19, 32})
        w.GlyphButton(n)->SetDown(true);
    shots::SavePlain(&w, out, "main-window-alpha-pushed.png");
    w.SpeedButtonDisableClick(&w);
    shots::SavePlain(&w, out, "main-window-alpha-disabled.png");
    w.SpeedButtonDisableClick(&w);
    w.UnpushAll1Click(&w);

    w.LoadDirectory(MakeForeignDirectory(TFormMainWindow::ProgramDirectory()));
    shots::SavePlain(&w, out, "main-window-cyrillic-folder.png");
    FormMainWindow = nullptr;
    return 0;
}
