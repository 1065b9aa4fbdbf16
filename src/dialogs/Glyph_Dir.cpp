#include "dialogs/Glyph_Dir.h"

#include <QFileDialog>

#include "extract/FileUtils.h"
#include "platform/Codepage.h"
#include "platform/Drives.h"

TOSDialog::TOSDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("OSDialog");
}

void TOSDialog::SetStartDirectory(const std::string& dir) {
    startDir_ = dir;
}

int TOSDialog::Execute(int mode, const std::string& title, const std::string& filter,
                       int /*attributes*/, int /*helpContext*/, int /*requiredFree*/) {
    std::string hostStart;
    platform::ToHostPath(startDir_.empty() ? std::string("C:\\") : startDir_, hostStart);

    QFileDialog dialog(this, platform::ToQt(title), QString::fromStdString(hostStart));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (mode == 2) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(mode == 0 ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setAcceptMode(mode == 0 ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setNameFilter(platform::ToQt(filter));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        resultPath_.clear();
        return 2;
    }
    const std::string chosen =
        platform::ToWindowsPath(dialog.selectedFiles().first().toStdString());
    if (chosen.empty()) {
        resultPath_.clear();
        return 2;
    }
    resultPath_ = chosen;
    if (mode == 2)
        startDir_ = AddBackslash(chosen);
    return 1;
}
