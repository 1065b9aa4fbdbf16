#pragma once
// Glyph_MW: the main window. It shows the glyph files of one directory on 32
// toggle buttons, a page at a time, and carries the command buttons, the
// path and count labels, the progress bar and the glyph pop-up menu.
//
// The class is implemented across files by concern: Glyph_MW.cpp (layout,
// start and close, settings, help, about, exit), Glyph_MW_Grid.cpp (the
// glyph buttons), Glyph_MW_Pages.cpp (loading, page fills and page
// commands, over the page model of PageModel.h), Glyph_MW_Push.cpp (push
// state and the disabled look), Glyph_MW_Files.cpp (the glyph menu: rename,
// delete, copy), Glyph_MW_Extract.cpp (the extract command) and
// Glyph_MW_Drop.cpp (folders dropped onto the window).
#include <QWidget>
#include <string>
#include <vector>

#include "app/PageModel.h"
#include "app/WindowPlacement.h"

class QMenu;
class TBevel;
class TFileLabel;
class TLabel;
class TMenuItem;
class TPopupMenu;
class TProgressBar;
class TSpeedButton;

class TFormMainWindow : public QWidget {
    Q_OBJECT
public:
    // With a start directory (a folder named on the command line) that
    // directory is the first and only one loaded; otherwise the remembered one.
    explicit TFormMainWindow(QWidget* parent = nullptr, std::string startDirectory = {});

    // The glyph grid: 4 rows of 8 buttons.
    static constexpr int GlyphRows = 4;
    static constexpr int GlyphColumns = 8;
    static constexpr int GlyphsPerPage = GlyphRows * GlyphColumns;
    // Glyph and command buttons are squares of this many pixels.
    static constexpr int ButtonSize = 25;
    // Design position of the window; a saved position equal to it is not used.
    static constexpr int DesignLeft = 365;
    static constexpr int DesignTop = 167;

    // Designed controls, in their designed order.
    TBevel* BevelSpeedButtons;
    TSpeedButton* SpeedButtonExit;
    TSpeedButton* SpeedButtonFirst;
    TSpeedButton* SpeedButtonPrevious;
    TSpeedButton* SpeedButtonNext;
    TSpeedButton* SpeedButtonLast;
    TSpeedButton* SpeedButtonDisable;
    TSpeedButton* SpeedButtonDirectory;
    TSpeedButton* SpeedButtonExtract;
    TSpeedButton* SpeedButtonHilfe;
    TSpeedButton* SpeedButtonAbout;
    TFileLabel* FileLabel1;
    TLabel* LabelAnzahl;
    TProgressBar* ProgressBar1;
    TPopupMenu* PopUpMenuGlyphs;
    TMenuItem* CopyToClipboard1;
    TMenuItem* AsName1;
    TMenuItem* AsBitmap1;
    TMenuItem* Rename1;
    TMenuItem* Delete1;
    TMenuItem* ThisGlyph1;
    TMenuItem* AllPushed1;
    TMenuItem* N1;
    TMenuItem* PushAll1;
    TMenuItem* UnpushAll1;

    // The page model: directory, glyph count, the page shown.
    const TPageModel& Pages() const { return pages_; }

    // Start and end.
    void FormCreate(QObject* sender);
    void FormClose(QObject* sender);
    // The program's own directory, ending with a backslash.
    static std::string ProgramDirectory();

    // Pages.
    void LoadDirectory(const std::string& path);
    int CountGlyphFiles(const std::string& dir);
    // False when the start index lies outside the listing or nothing was
    // found; otherwise true with the number of buttons filled.
    bool ShowPage(int start, int& filled);
    void HideGlyphButtons(int from);
    void StepProgress();
    // Shows the page model: the path and count labels and the page buttons.
    void ShowModel();
    void UpdatePageButtons();
    TSpeedButton* FindGlyphButton(const std::string& name);
    // Glyph button n (1 to 32), found by its name.
    TSpeedButton* GlyphButton(int n) const;
    // The button's picture and hint come from the last page fill, so its
    // file is the file it shows. After a fill that stopped at a bad file,
    // that file's button and those after it still show older pictures:
    // no file command may act on them.
    bool ShowsListedFile(const QObject* button) const;

    // Event handlers.
    void SpeedButtonExitClick(QObject* sender);
    void SpeedButtonHilfeClick(QObject* sender);
    void SpeedButtonAboutClick(QObject* sender);
    void SpeedButtonFirstClick(QObject* sender);
    void SpeedButtonPreviousClick(QObject* sender);
    void SpeedButtonNextClick(QObject* sender);
    void SpeedButtonLastClick(QObject* sender);
    void SpeedButtonDirectoryClick(QObject* sender);
    void SpeedButtonExtractClick(QObject* sender);
    // The extract command once the executable is chosen: scan it and show
    // its directory with the new glyphs.
    void ExtractBitmapsFrom(const std::string& exePath, QObject* sender);
    void SpeedButtonMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                              int x, int y);
    void PushAll1Click(QObject* sender);
    void UnpushAll1Click(QObject* sender);
    void SpeedButtonDisableClick(QObject* sender);
    void Rename1Click(QObject* sender);
    void ThisGlyph1Click(QObject* sender);
    void AllPushed1Click(QObject* sender);
    void AsName1Click(QObject* sender);
    void AsBitmap1Click(QObject* sender);
    // A folder dropped onto the window (or the folder of a dropped file) is
    // shown as the directory command would show it.
    void OpenDroppedFolder(const std::string& winDir);

signals:
    // The window has closed; the program ends with it, whatever other
    // windows (the help viewer) are still open.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    TSpeedButton* CreateCommandButton(const char* name, int left, const QImage& picture, int images,
                                      void (TFormMainWindow::*handler)(QObject*));
    void CreateMenu();
    void CreateGlyphButtons();
    void PlaceWindow(const WindowPlacement& saved);
    void CentreOnScreen(QSize outer);
    static std::string DirectoryToShow(const std::string& path);
    void RunPageCommand(TPageModel::Step step);
    // The file commands' helpers.
    TSpeedButton* ActingGlyph() const;
    bool AskNewName(const std::string& oldName, std::string& newName);
    std::vector<TSpeedButton*> PushedGlyphs() const;

    TPageModel pages_{GlyphsPerPage, [this] { ShowModel(); }};
    // The placement the settings file had at start, kept for a window
    // system that cannot tell where the window stands.
    WindowPlacement readPlacement_;
    // Buttons 1 to this number were filled by the last page fill.
    int listedGlyphs_ = 0;
    std::string startDirectory_;
    bool centreOnShow_ = true;
    bool shownOnce_ = false;
};
