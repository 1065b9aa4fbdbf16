#include "MainWindowFixture.h"

#include <QColor>
#include <fstream>
#include <sstream>

#include "app/Forms.h"
#include "platform/ui/Screen.h"

MainWindowTest::MainWindowTest() {
    platform::SetScreenSize(1024, 768);
}

MainWindowTest::~MainWindowTest() {
    FormMainWindow = nullptr;
    window_.reset();
    platform::ResetScreenSize();
}

void MainWindowTest::WriteBmp(const std::string& relative, int w, int h) const {
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(QColor(0, 0, 255));
    img.setPixelColor(0, h - 1, QColor(128, 128, 0));
    const auto path = drives_.Host(relative);
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(img.save(QString::fromStdString(path.string()), "BMP"));
}

void MainWindowTest::WriteGlyphs(const std::string& dir, int count) const {
    // One bitmap written once and copied: thousands of glyphs stay quick.
    WriteBmp(dir + "/g0001.bmp");
    for (int i = 2; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/g%04d.bmp", i);
        std::filesystem::copy_file(drives_.Host(dir + "/g0001.bmp"), drives_.Host(dir + name));
    }
}

void MainWindowTest::WriteSettings(const std::string& text) const {
    drives_.WriteFile("prog/Sporvik.ini", text);
}

std::string MainWindowTest::ReadSettings() const {
    std::ifstream in(drives_.Host("prog/Sporvik.ini"), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TFormMainWindow& MainWindowTest::Open(const std::string& startDirectory) {
    window_ = std::make_unique<TFormMainWindow>(nullptr, startDirectory);
    FormMainWindow = window_.get();
    return *window_;
}

std::vector<std::string> MainWindowTest::ShownHints() const {
    std::vector<std::string> hints;
    for (int n = 1; n <= TFormMainWindow::GlyphsPerPage; ++n)
        if (!Glyph(n)->isHidden())
            hints.push_back(Glyph(n)->Hint());
    return hints;
}

int MainWindowTest::DownCount() const {
    int down = 0;
    for (int n = 1; n <= TFormMainWindow::GlyphsPerPage; ++n)
        down += Glyph(n)->Down();
    return down;
}
