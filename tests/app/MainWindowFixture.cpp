#include "MainWindowFixture.h"
#include "HostFiles.h"

#include <QApplication>
#include <QColor>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "app/Forms.h"
#include "platform/ui/PopupMenu.h"
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
    for (const std::string& name : testsupport::GlyphNames(2, count))
        std::filesystem::copy_file(drives_.Host(dir + "/g0001.bmp"),
                                   drives_.Host(dir + "/" + name));
}

void MainWindowTest::WriteSettings(const std::string& text) const {
    drives_.WriteFile("prog/Sporvik.ini", text);
}

std::string MainWindowTest::ReadSettings() const {
    return testsupport::ReadHostFile(drives_.Host("prog/Sporvik.ini"));
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

void MainWindowTest::ClickAt(TSpeedButton* button, Qt::MouseButton mouse) const {
    TFormMainWindow& w = *window_;
    const QPoint inWindow = button->geometry().center();
    QWidget* target = w.childAt(inWindow);
    if (!target)
        target = &w;
    const QPointF local = target->mapFrom(&w, inWindow);
    const QPointF global = w.mapToGlobal(QPointF(inWindow));
    QMouseEvent down(QEvent::MouseButtonPress, local, global, mouse, mouse, Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, local, global, mouse, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

bool MainWindowTest::RightClickOpensMenu(TSpeedButton* button) const {
    TPopupMenu* menu = window_->PopUpMenuGlyphs;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (QMenu* open = menu->OpenMenu()) {
            opened = true;
            open->close();
        }
    });
    menu->SetPopupComponent(nullptr);
    ClickAt(button, Qt::RightButton);
    QApplication::processEvents();
    return opened && menu->PopupComponent() == button;
}
