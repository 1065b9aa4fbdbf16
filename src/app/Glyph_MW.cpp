// The main window's layout, start and close, settings file, and the plain
// commands Help, About and Exit.
#include "app/Glyph_MW.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <string_view>

#include "app/AppPaths.h"
#include "app/CommandGlyphs.h"
#include "app/Forms.h"
#include "controls/FiLabel.h"
#include "dialogs/Glyph_About.h"
#include "messages/QZdialog.h"
#include "platform/Codepage.h"
#include "platform/FileOps.h"
#include "platform/Profile.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bevel.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/FrameCentring.h"
#include "platform/ui/Label.h"
#include "platform/ui/PlaceControl.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SpeedButton.h"

namespace {

constexpr int kClientWidth = 362;
constexpr int kClientHeight = 291;
constexpr int kCommandTop = 195;
constexpr int kHelpContextWindow = 1;
constexpr int kHelpContextMenu = 20;
constexpr const char* kSection = "options";

} // namespace

TFormMainWindow::TFormMainWindow(QWidget* parent, std::string startDirectory)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      startDirectory_(std::move(startDirectory)) {
    setObjectName("FormMainWindow");
    setFixedSize(kClientWidth, kClientHeight);
    setFont(platform::DesignFont("System", -13));
    move(DesignLeft, DesignTop);
    setAcceptDrops(true);
    CreateControls();
    platform::Guarded([this] { FormCreate(this); });
}

TSpeedButton* TFormMainWindow::CreateCommandButton(const char* name, int left,
                                                   const QImage& picture, int images,
                                                   void (TFormMainWindow::*handler)(QObject*)) {
    auto* button = platform::PlaceControl<TSpeedButton>(
        this, name, {left, kCommandTop, ButtonSize, ButtonSize});
    button->SetGlyph(picture);
    button->SetNumGlyphs(images);
    button->SetShowHint(true);
    connect(button, &TSpeedButton::clicked, this, [this, handler](TSpeedButton* sender) {
        platform::Guarded([&] { (this->*handler)(sender); });
    });
    return button;
}

void TFormMainWindow::CreateControls() {
    BevelSpeedButtons =
        platform::PlaceControl<TBevel>(this, "BevelSpeedButtons", {13, 10, 335, 175});
    BevelSpeedButtons->SetShape(TBevel::bsBox);
    BevelSpeedButtons->SetStyle(TBevel::bsLowered);

    // The command buttons, left to right: member, name, left edge, picture,
    // images in the picture, click handler.
    using F = TFormMainWindow;
    struct Command {
        TSpeedButton* F::*member;
        const char* name;
        int left;
        QImage (*picture)();
        int images;
        void (F::*handler)(QObject*);
    };
    static const Command commands[] = {
        {&F::SpeedButtonExit, "SpeedButtonExit", 13, glyphs::ExitGlyph, 2,
         &F::SpeedButtonExitClick},
        {&F::SpeedButtonFirst, "SpeedButtonFirst", 47, glyphs::FirstGlyph, 1,
         &F::SpeedButtonFirstClick},
        {&F::SpeedButtonPrevious, "SpeedButtonPrevious", 82, glyphs::PreviousGlyph, 1,
         &F::SpeedButtonPreviousClick},
        {&F::SpeedButtonNext, "SpeedButtonNext", 116, glyphs::NextGlyph, 1,
         &F::SpeedButtonNextClick},
        {&F::SpeedButtonLast, "SpeedButtonLast", 151, glyphs::LastGlyph, 1,
         &F::SpeedButtonLastClick},
        {&F::SpeedButtonDisable, "SpeedButtonDisable", 185, glyphs::DisableGlyph, 2,
         &F::SpeedButtonDisableClick},
        {&F::SpeedButtonDirectory, "SpeedButtonDirectory", 220, glyphs::DirectoryGlyph, 1,
         &F::SpeedButtonDirectoryClick},
        {&F::SpeedButtonExtract, "SpeedButtonExtract", 254, glyphs::ExtractGlyph, 2,
         &F::SpeedButtonExtractClick},
        {&F::SpeedButtonHilfe, "SpeedButtonHilfe", 289, glyphs::HelpGlyph, 2,
         &F::SpeedButtonHilfeClick},
        {&F::SpeedButtonAbout, "SpeedButtonAbout", 323, glyphs::AboutGlyph, 2,
         &F::SpeedButtonAboutClick},
    };
    for (const Command& c : commands)
        this->*c.member = CreateCommandButton(c.name, c.left, c.picture(), c.images, c.handler);

    FileLabel1 = platform::PlaceControl<TFileLabel>(this, "FileLabel1", {10, 230, 336, 17});
    FileLabel1->SetDirection(drFromLeft);
    FileLabel1->SetSeparator("\\");

    LabelAnzahl = platform::PlaceControl<TLabel>(this, "LabelAnzahl", {10, 255, 336, 17});
    LabelAnzahl->SetAutoSize(false);

    // The bar lies along the bottom edge.
    ProgressBar1 = platform::PlaceControl<TProgressBar>(this, "ProgressBar1",
                                                        {0, kClientHeight - 15, kClientWidth, 15});
    ProgressBar1->SetRange(0, 100);
    ProgressBar1->SetStep(10);

    CreateMenu();
}

void TFormMainWindow::CreateMenu() {
    PopUpMenuGlyphs = new TPopupMenu(this, "PopUpMenuGlyphs");
    auto item = [this](const char* name, void (TFormMainWindow::*handler)(QObject*)) {
        auto* menuItem = new TMenuItem(this, name);
        if (handler)
            connect(menuItem, &TMenuItem::clicked, this, [this, handler](TMenuItem* sender) {
                platform::Guarded([&] { (this->*handler)(sender); });
            });
        return menuItem;
    };
    CopyToClipboard1 = item("CopyToClipboard1", nullptr);
    AsName1 = item("AsName1", &TFormMainWindow::AsName1Click);
    AsBitmap1 = item("AsBitmap1", &TFormMainWindow::AsBitmap1Click);
    Rename1 = item("Rename1", &TFormMainWindow::Rename1Click);
    Delete1 = item("Delete1", nullptr);
    ThisGlyph1 = item("ThisGlyph1", &TFormMainWindow::ThisGlyph1Click);
    AllPushed1 = item("AllPushed1", &TFormMainWindow::AllPushed1Click);
    N1 = item("N1", nullptr);
    N1->SetCaption("-");
    PushAll1 = item("PushAll1", &TFormMainWindow::PushAll1Click);
    UnpushAll1 = item("UnpushAll1", &TFormMainWindow::UnpushAll1Click);

    CopyToClipboard1->Add(AsName1);
    CopyToClipboard1->Add(AsBitmap1);
    Delete1->Add(ThisGlyph1);
    Delete1->Add(AllPushed1);
    for (TMenuItem* top : {CopyToClipboard1, Rename1, Delete1, N1, PushAll1, UnpushAll1})
        PopUpMenuGlyphs->Add(top);
}

void TFormMainWindow::FormCreate(QObject*) {
    setWindowTitle(platform::ToQt(std::string(AboutText[0]) + " " + std::string(AboutText[1])));
    PopUpMenuGlyphs->SetHelpContext(kHelpContextMenu);
    CreateGlyphButtons();

    SpeedButtonExit->SetHint("Exit Sporvik");
    SpeedButtonFirst->SetHint("First Page");
    SpeedButtonPrevious->SetHint("Previous Page");
    SpeedButtonNext->SetHint("Next Page");
    SpeedButtonLast->SetHint("Last Page");
    SpeedButtonDirectory->SetHint("Select Directory Containing Glyphs");
    SpeedButtonExtract->SetHint("Extract Bitmaps from .EXE file");
    SpeedButtonAbout->SetHint("About the Author");
    SpeedButtonHilfe->SetHint("Help");
    SpeedButtonDisable->SetHint("Disable Glyphs");
    SpeedButtonDisable->SetTag(0);

    CopyToClipboard1->SetCaption("Copy to Clipboard");
    AsName1->SetCaption("As Name");
    AsBitmap1->SetCaption("As Bitmap");
    Rename1->SetCaption("Rename");
    Delete1->SetCaption("Delete");
    ThisGlyph1->SetCaption("This Glyph");
    AllPushed1->SetCaption("All Pushed");
    PushAll1->SetCaption("Push All");
    UnpushAll1->SetCaption("Pull All");

    std::string dir;
    readPlacement_ = {x(), y(), platform::ScreenWidth()}; // the defaults, should reading fail
    try {
        const platform::TIniFile ini(SettingsFileForReading());
        dir = ini.ReadString(kSection, "dir", DataFolder());
        WindowPlacement saved;
        saved.left = ini.ReadInteger(kSection, "left", x());
        saved.top = ini.ReadInteger(kSection, "top", y());
        saved.resx = ini.ReadInteger(kSection, "resx", platform::ScreenWidth());
        readPlacement_ = saved;
        PlaceWindow(saved);
    } catch (const std::exception&) {
        ShowError("Error reading .INI file");
    }
    // A folder asked for at start is the one shown: the remembered one is
    // not read first, so no glyph keeps what a button showed there.
    LoadDirectory(startDirectory_.empty() ? dir : startDirectory_);
}

void TFormMainWindow::PlaceWindow(const WindowPlacement& saved) {
    if (UseSavedPosition(saved, {DesignLeft, DesignTop}, platform::OuterSize(this))) {
        move(saved.left, saved.top);
        centreOnShow_ = false;
    }
}

void TFormMainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (centreOnShow_) {
        CentreOnScreen(platform::OuterSize(this));
        platform::PlaceAgainWhenFramed(this, [this](QSize outer) { CentreOnScreen(outer); });
    }
}

void TFormMainWindow::CentreOnScreen(QSize outer) {
    const QPoint centre = platform::ScreenCentre(outer);
    move(std::max(0, centre.x()), std::max(0, centre.y()));
}

void TFormMainWindow::FormClose(QObject*) {
    try {
        const std::string settings = SettingsFileForWriting();
        PrepareSettingsFolder(settings);
        platform::TIniFile ini(settings);
        const WindowPlacement placement = PlacementToSave(*this, readPlacement_);
        ini.WriteString(kSection, "dir", pages_.CurrentDir());
        ini.WriteInteger(kSection, "resx", placement.resx);
        ini.WriteInteger(kSection, "left", placement.left);
        ini.WriteInteger(kSection, "top", placement.top);
    } catch (const std::exception&) {
        ShowError("Error writing .INI file");
    }
}

void TFormMainWindow::closeEvent(QCloseEvent* event) {
    platform::Guarded([this] { FormClose(this); });
    event->accept();
    emit Closed();
}

void TFormMainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        platform::Guarded([] { platform::Application().HelpContext(kHelpContextWindow); });
        return;
    }
    QWidget::keyPressEvent(event);
}

std::string TFormMainWindow::ProgramDirectory() {
    return ProgramFolder();
}

void TFormMainWindow::SpeedButtonExitClick(QObject*) {
    close();
}

void TFormMainWindow::SpeedButtonHilfeClick(QObject*) {
    platform::Application().HelpContext(kHelpContextWindow);
}

void TFormMainWindow::SpeedButtonAboutClick(QObject*) {
    if (FormAbout)
        FormAbout->exec();
}
