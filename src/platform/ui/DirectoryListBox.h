#pragma once
// TDirectoryListBox: the current directory's path, one entry per level from
// the drive's root down, and below it that directory's subdirectories.
// Double-clicking an entry makes that directory current.
//
// The list's directory is the process's current directory too, so names
// typed elsewhere are expanded against it. Whenever it changes, the list
// hands it to its linked file list and raises OnChange.
#include <QListWidget>
#include <string>

class TFileListBox;

class TDirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);

    // Full path, without a trailing backslash except at a root ("C:\").
    const std::string& Directory() const { return directory_; }
    // Makes a directory current. A directory that cannot be entered raises
    // platform::EFailure naming it, and the list stays where it was.
    void SetDirectory(const std::string& path);

    // Makes the drive's own current directory current (its root when that
    // directory is gone); the drive already shown does nothing.
    char Drive() const { return directory_.empty() ? 0 : directory_[0]; }
    void SetDrive(char letter);

    void SetFileList(TFileListBox* fileList) { fileList_ = fileList; }

    // Reads the tree again (climbing to the nearest directory still there)
    // and then acts as on a change.
    void Update();

    // How many entries stand for the path itself (the rest are subdirectories).
    int PathEntryCount() const { return pathEntries_; }

signals:
    void OnChange();

private:
    void ReadTree();
    void Changed();
    void EntryDoubleClicked(QListWidgetItem* item);
    // The directory an entry stands for.
    std::string EntryDirectory(int row) const;

    std::string directory_;
    int pathEntries_ = 0;
    TFileListBox* fileList_ = nullptr;
};
