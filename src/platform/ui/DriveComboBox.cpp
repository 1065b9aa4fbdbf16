#include "platform/ui/DriveComboBox.h"

#include <QStyle>
#include <cctype>

#include "platform/Codepage.h"
#include "platform/CurrentDirs.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/DirectoryListBox.h"

namespace {

bool IsRemovableMount(const std::string& hostRoot) {
    return hostRoot.starts_with("/media/") || hostRoot.starts_with("/run/media/");
}

// "c:" for the host's root; a mounted volume adds its folder's name, as a
// volume label would stand there.
std::string DriveCaption(char letter, const std::string& hostRoot) {
    std::string caption{char(std::tolower(static_cast<unsigned char>(letter))), ':'};
    if (hostRoot != "/") {
        const std::string label = platform::Utf8ToAnsi(hostRoot.substr(hostRoot.rfind('/') + 1));
        caption += " [" + label + "]";
    }
    return caption;
}

bool SameLetter(char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
}

} // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
    BuildList();
    const std::string current = platform::GetCurrentDir();
    drive_ = current.size() > 1 && current[1] == ':' ? current[0] : 0;
    SelectEntry(drive_);
    connect(this, &QComboBox::activated, this, &TDriveComboBox::EntryChosen);
}

void TDriveComboBox::BuildList() {
    const QSignalBlocker quiet(this);
    clear();
    for (const auto& [letter, hostRoot] : platform::CurrentDriveTable().roots) {
        const QStyle::StandardPixmap icon =
            IsRemovableMount(hostRoot) ? QStyle::SP_DriveFDIcon : QStyle::SP_DriveHDIcon;
        addItem(style()->standardIcon(icon), platform::ToQt(DriveCaption(letter, hostRoot)),
                QChar(letter));
    }
    SelectEntry(drive_);
}

// Selects the entry "x:..." of a letter, or none.
void TDriveComboBox::SelectEntry(char letter) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(-1);
    for (int i = 0; i < count(); ++i) {
        const QString text = itemText(i);
        if (letter && text.size() > 1 && text[1] == QLatin1Char(':') &&
            SameLetter(text[0].toLatin1(), letter)) {
            setCurrentIndex(i);
            return;
        }
    }
}

void TDriveComboBox::SetDrive(char letter) {
    if (currentIndex() >= 0 && SameLetter(letter, drive_) && drive_)
        return;
    drive_ =
        char(textCase_ == TTextCase::LowerCase ? std::tolower(static_cast<unsigned char>(letter))
                                               : std::toupper(static_cast<unsigned char>(letter)));
    SelectEntry(drive_);
    if (dirList_)
        dirList_->SetDrive(drive_);
    Change();
}

void TDriveComboBox::Change() {
    emit OnChange();
}

// The user picked an entry: the list shows it already, but the drive is
// taken only through SetDrive, which may refuse it and select another.
void TDriveComboBox::EntryChosen(int index) {
    if (index < 0)
        return;
    const char letter = itemData(index).toChar().toLatin1();
    platform::Guarded([&] { SetDrive(letter); });
    SelectEntry(drive_); // the drive taken, which may not be the one chosen
}
