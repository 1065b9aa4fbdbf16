#include "platform/ui/DirectoryListBox.h"

#include <QStyle>
#include <cctype>

#include "platform/Codepage.h"
#include "platform/CurrentDirs.h"
#include "platform/Failure.h"
#include "platform/Find.h"
#include "platform/Paths.h"
#include "platform/WinError.h"
#include "platform/ui/Application.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/ListRowDelegate.h"

namespace {

constexpr int kItemHeight = 16;

std::string Parent(const std::string& dir) {
    const std::size_t slash = dir.rfind('\\');
    if (slash == std::string::npos || dir.size() <= 3)
        return dir;
    return dir.substr(0, slash == 2 ? 3 : slash);
}

std::string AllEntries(const std::string& dir) {
    return dir.size() == 3 ? dir + "*.*" : dir + "\\*.*";
}

// 0 when the directory's entries can be listed (an empty one counts).
int ListingError(const std::string& dir) {
    platform::TSearchRec rec;
    const int error = platform::FindFirst(AllEntries(dir), platform::faAnyFile, rec);
    platform::FindClose(rec);
    return error == platform::ERROR_FILE_NOT_FOUND ? 0 : error;
}

std::string Reason(int error) {
    switch (error) {
    case platform::ERROR_FILE_NOT_FOUND:
    case platform::ERROR_PATH_NOT_FOUND:
        return "it does not exist";
    case platform::ERROR_ACCESS_DENIED:
        return "access denied";
    case platform::ERROR_INVALID_NAME:
        return "the name is not valid";
    case platform::ERROR_FILENAME_EXCED_RANGE:
        return "the name is too long";
    default:
        return "error " + std::to_string(error);
    }
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TListRowDelegate(kItemHeight, this));
    setUniformItemSizes(true);
    directory_ = platform::GetCurrentDir();
    ReadTree();
    connect(this, &QListWidget::itemDoubleClicked, this, &TDirectoryListBox::EntryDoubleClicked);
}

void TDirectoryListBox::SetDirectory(const std::string& path) {
    std::string full;
    int error = platform::ExpandPath(path, full);
    if (!error)
        error = ListingError(full);
    if (!error)
        error = platform::SetCurrentDir(full);
    if (error)
        throw platform::EFailure("Cannot open directory \"" + (full.empty() ? path : full) +
                                 "\": " + Reason(error));
    directory_ = platform::GetCurrentDir();
    ReadTree();
    Changed();
}

void TDirectoryListBox::SetDrive(char letter) {
    if (std::toupper(static_cast<unsigned char>(letter)) ==
        std::toupper(static_cast<unsigned char>(Drive())))
        return;
    const std::string driveDir = platform::GetDriveCurrentDir(letter);
    if (platform::SetCurrentDir(driveDir) != 0 &&
        platform::SetCurrentDir(driveDir.substr(0, 3)) != 0)
        throw platform::EFailure("Cannot open drive " + driveDir.substr(0, 2));
    directory_ = platform::GetCurrentDir();
    ReadTree();
    Changed();
}

void TDirectoryListBox::Update() {
    // The directory may have gone while nobody looked: go up to what is left.
    std::string dir = directory_;
    while (platform::SetCurrentDir(dir) != 0 && Parent(dir) != dir)
        dir = Parent(dir);
    directory_ = platform::GetCurrentDir();
    ReadTree();
    Changed();
}

void TDirectoryListBox::Changed() {
    if (fileList_)
        fileList_->SetDirectory(directory_);
    emit OnChange();
}

void TDirectoryListBox::ReadTree() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto add = [this](const QIcon& icon, const std::string& text, int level) {
        auto* item = new QListWidgetItem(icon, platform::ToQt(text), this);
        item->setData(TListRowDelegate::LevelRole, level);
        item->setData(TListRowDelegate::NameRole, QByteArray::fromStdString(text));
    };

    // The path, one entry per level; the root as "c:\".
    std::string root = directory_.substr(0, 3);
    root[0] = char(std::tolower(static_cast<unsigned char>(root[0])));
    add(open, root, 0);
    int level = 0;
    for (std::size_t start = 3; start < directory_.size();) {
        std::size_t end = directory_.find('\\', start);
        if (end == std::string::npos)
            end = directory_.size();
        add(open, directory_.substr(start, end - start), ++level);
        start = end + 1;
    }
    pathEntries_ = count();
    setCurrentRow(pathEntries_ - 1);

    platform::TSearchRec rec;
    for (int found = platform::FindFirst(AllEntries(directory_), platform::faDirectory, rec);
         found == 0; found = platform::FindNext(rec))
        if ((rec.Attr() & platform::faDirectory) && rec.Name != "." && rec.Name != "..")
            add(closed, rec.Name, level + 1);
    platform::FindClose(rec);
}

std::string TDirectoryListBox::EntryDirectory(int row) const {
    if (row >= pathEntries_)
        return (directory_.size() == 3 ? directory_ : directory_ + "\\") +
               item(row)->data(TListRowDelegate::NameRole).toByteArray().toStdString();
    std::string dir = directory_;
    for (int up = pathEntries_ - 1; up > row; --up)
        dir = Parent(dir);
    return dir;
}

void TDirectoryListBox::EntryDoubleClicked(QListWidgetItem* entry) {
    platform::Guarded([&] { SetDirectory(EntryDirectory(row(entry))); });
}
