#pragma once
// TDriveComboBox: a drop-down list of the drive table's drives, each with a
// drive-type icon and its letter in the "c:" style, holding the selected
// drive letter.
//
// SetDrive is the one way a drive gets selected, by code or by the user
// choosing an entry; it runs Change, the change notification, which derived
// controls override and which raises OnChange.
#include <QComboBox>

class TDirectoryListBox;

enum class TTextCase { LowerCase, UpperCase };

class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    // The selected letter; at construction the current directory's drive as
    // the platform reports it, later stored in TextCase.
    char Drive() const { return drive_; }
    // Nothing when a drive is selected and `letter` equals it ignoring case;
    // otherwise stores the letter, selects its entry, hands it to the linked
    // directory list and runs Change.
    void SetDrive(char letter);

    TTextCase TextCase() const { return textCase_; }
    void SetTextCase(TTextCase textCase) { textCase_ = textCase; }

    void SetDirList(TDirectoryListBox* dirList) { dirList_ = dirList; }

    // Lists the drive table's drives again.
    void BuildList();

signals:
    void OnChange();

protected:
    // The change notification; the base raises OnChange.
    virtual void Change();

private:
    void EntryChosen(int index);
    void SelectEntry(char letter);

    char drive_ = 0;
    TTextCase textCase_ = TTextCase::LowerCase;
    TDirectoryListBox* dirList_ = nullptr;
};
