#pragma once
// TOSDialog: the program's dialog for choosing a file to open or save, or a
// directory. Created once at start; Execute shows it modally again and again
// and leaves the chosen path in ResultPath. Between showings it keeps its
// drive, directory (the process's current directory), the filter items and
// the mask of the last accepted name.
#include <string>
#include <vector>

#include "platform/ui/Form.h"

class QComboBox;
class QLineEdit;
class TButton;
class TDirectoryListBox;
class TFileListBox;
class TLabel;
class TQZDriveComboBox;

// The items of a comma text: separated by commas or blanks, each perhaps
// enclosed in double quotes (a doubled quote inside stands for one).
std::vector<std::string> CommaTextItems(const std::string& text);

class TOSDialog : public TForm {
    Q_OBJECT
public:
    explicit TOSDialog(QWidget* parent = nullptr);

    // Mode 0 opens a file, 2 chooses a directory, any other value saves a
    // file. `filter` is a comma text of masks, the first the default;
    // `attributes` a find-first attribute mask selecting the files listed;
    // a help context above 0 shows the Help button; `requiredFree` bytes
    // must be free on the target drive for a save (0 or less: no check).
    // Returns 1 (OK) or 2 (Cancel, or closed).
    int Execute(int mode, const std::string& title, const std::string& filter, int attributes,
                int helpContext, int requiredFree);
    void SetStartDirectory(const std::string& dir);

    const std::string& ResultPath() const { return ResultPath_; }
    const std::string& LastMask() const { return LastMask_; }
    int Mode() const { return Mode_; }

    // The controls, in their designed order.
    TDirectoryListBox* DirectoryListBox1;
    TFileListBox* FileListBox1;
    TLabel* LabelPfad;
    TLabel* LabelDatum;
    TLabel* LabelUhrzeit;
    TLabel* LabelGroesse;
    TButton* ButtonOK;
    TButton* ButtonAbbruch;
    QLineEdit* EditDateiName;
    TLabel* Label1;
    TQZDriveComboBox* QZDriveComboBox1;
    QComboBox* ComboBoxFilter;
    TButton* ButtonHilfe;

private:
    void CreateControls();
    void ConnectHandlers();
    void PrepareLists(int mode, const std::string& filter, int attributes);
    void SetFileControls(bool enabled);

    void FormCreate();
    void QZDriveComboBox1Change();
    void DirectoryListBox1Change();
    void FileListBox1Change();
    void FileListBox1Click();
    void ComboBoxFilterChange();
    void EditDateiNameExit(QWidget* now);
    void ButtonOKClick();
    void ButtonAbbruchClick();
    void ButtonHilfeClick();

    // Shows a file's date, time and size, or empties the three labels.
    void Anzeige(const std::string& name);
    bool EnoughSpace();
    // The edit's text trimmed of blanks and control characters, put back.
    std::string TrimmedEditText();
    // ResultPath from the edit's text expanded to a full path; false, after
    // telling the user, when the name cannot be a path at all.
    bool TakeResultPath(const std::string& text);

    int Mode_ = 0;
    int RequiredFree_ = 0;
    std::string LastMask_;
    std::string ResultPath_;
};
