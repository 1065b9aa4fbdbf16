#pragma once
// TOSDialog: the program's dialog for choosing a file to open or save, or a
// directory. Created once at start; Execute shows it modally again and again
// and leaves the chosen path in ResultPath.
//
// This first version stands on Qt's own file dialog: it starts in the
// remembered directory and hands back a Windows path.
#include <QDialog>
#include <string>

class TOSDialog : public QDialog {
    Q_OBJECT
public:
    explicit TOSDialog(QWidget* parent = nullptr);

    // Mode 0 opens a file, 2 chooses a directory, any other value saves a
    // file. Returns 1 (OK) or 2 (Cancel, or closed).
    int Execute(int mode, const std::string& title, const std::string& filter, int attributes,
                int helpContext, int requiredFree);
    void SetStartDirectory(const std::string& dir);

    const std::string& ResultPath() const { return resultPath_; }
    const std::string& StartDirectory() const { return startDir_; }

private:
    std::string startDir_;
    std::string resultPath_;
};
