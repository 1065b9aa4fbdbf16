#pragma once
// TFileListBox: the files of one directory that match its mask (patterns
// joined by ";") and that its file-type set admits, each with a small
// picture.
//
// Every reading leaves nothing selected. After every reading and whenever
// the selection changes, the list writes the selected name (or, with none,
// its mask) into its linked edit, selects all of the edit's text and raises
// OnChange.
#include <QListWidget>
#include <string>
#include <vector>

class QLineEdit;

// The file-type set's members, as bits.
enum TFileType : int {
    ftReadOnly = 0x01,
    ftHidden = 0x02,
    ftSystem = 0x04,
    ftVolumeID = 0x08,
    ftDirectory = 0x10,
    ftArchive = 0x20,
    ftNormal = 0x80,
};

class TFileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TFileListBox(QWidget* parent = nullptr);

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& dir);

    const std::string& Mask() const { return mask_; }
    // A different mask reads the list again; the same one does nothing.
    void SetMask(const std::string& mask);

    int FileType() const { return fileType_; }
    void SetFileType(int fileType);

    void SetFileEdit(QLineEdit* edit) { fileEdit_ = edit; }

    // Full path of the selected file, empty when nothing is selected.
    std::string FileName() const;

    // Reads the list again.
    void Update();

    // While a batch lives, readings asked for wait and happen once when the
    // last batch ends, with the directory, mask and file types it left: a
    // caller setting several of them reads a large directory only once.
    class UpdateBatch {
    public:
        explicit UpdateBatch(TFileListBox* list) : list_(list) { ++list_->batchDepth_; }
        ~UpdateBatch();
        UpdateBatch(const UpdateBatch&) = delete;
        UpdateBatch& operator=(const UpdateBatch&) = delete;

    private:
        TFileListBox* list_;
    };

signals:
    void OnChange();

private:
    void ReadFileNames();
    void ReadNow();
    bool Admits(int attributes) const;
    void SelectionChanged();

    std::string directory_;
    // The name of each row as the program spells it; a row's text is only
    // how a widget shows it (a character without a form as "?").
    std::vector<std::string> names_;
    std::string mask_ = "*.*";
    int fileType_ = ftNormal;
    QLineEdit* fileEdit_ = nullptr;
    int batchDepth_ = 0;
    bool readPending_ = false;
};
