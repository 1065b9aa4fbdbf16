#include "platform/ui/FileListBox.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <vector>

#include "platform/Codepage.h"
#include "platform/CurrentDirs.h"
#include "platform/Find.h"
#include "platform/Paths.h"
#include "platform/ui/EditText.h"
#include "platform/ui/ListRowDelegate.h"

namespace {

constexpr int kItemHeight = 16;

std::vector<std::string> SplitMask(const std::string& mask) {
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= mask.size()) {
        std::size_t end = mask.find(';', start);
        if (end == std::string::npos)
            end = mask.size();
        std::string pattern = mask.substr(start, end - start);
        while (!pattern.empty() && pattern.front() == ' ')
            pattern.erase(pattern.begin());
        while (!pattern.empty() && pattern.back() == ' ')
            pattern.pop_back();
        if (!pattern.empty())
            patterns.push_back(pattern);
        start = end + 1;
    }
    return patterns;
}

bool MatchesAny(const std::string& name, const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns)
        if (platform::MatchesMask(name, pattern))
            return true;
    return false;
}

bool IsProgram(const QString& name) {
    for (const char* ext : {".exe", ".com", ".bat", ".dll"})
        if (name.endsWith(QLatin1String(ext), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) {
    auto* rows = new TListRowDelegate(kItemHeight, this);
    const QIcon document = style()->standardIcon(QStyle::SP_FileIcon);
    const QIcon program = style()->standardIcon(QStyle::SP_ComputerIcon);
    rows->SetIconFor([=](const QString& name) { return IsProgram(name) ? program : document; });
    setItemDelegate(rows);
    setUniformItemSizes(true);
    directory_ = platform::GetCurrentDir();
    connect(this, &QListWidget::itemSelectionChanged, this, &TFileListBox::SelectionChanged);
}

void TFileListBox::SetDirectory(const std::string& dir) {
    directory_ = dir;
    ReadFileNames();
}

void TFileListBox::SetMask(const std::string& mask) {
    if (mask == mask_)
        return;
    mask_ = mask;
    ReadFileNames();
}

void TFileListBox::SetFileType(int fileType) {
    if (fileType == fileType_)
        return;
    fileType_ = fileType;
    ReadFileNames();
}

void TFileListBox::Update() {
    ReadFileNames();
}

std::string TFileListBox::FileName() const {
    const QListWidgetItem* selected = currentItem();
    if (!selected || !selected->isSelected())
        return {};
    const std::string dir = directory_.size() == 3 ? directory_ : directory_ + "\\";
    return dir + names_[static_cast<std::size_t>(row(selected))];
}

// Normal files are every file neither hidden nor system; hidden and system
// files need their own type in the set.
bool TFileListBox::Admits(int attr) const {
    if ((attr & platform::faDirectory) && !(fileType_ & ftDirectory))
        return false;
    if ((attr & platform::faHidden) && !(fileType_ & ftHidden))
        return false;
    if ((attr & platform::faSysFile) && !(fileType_ & ftSystem))
        return false;
    if (fileType_ & ftNormal)
        return true;
    return attr & fileType_ & (ftReadOnly | ftHidden | ftSystem | ftArchive | ftDirectory);
}

TFileListBox::UpdateBatch::~UpdateBatch() {
    if (--list_->batchDepth_ == 0 && list_->readPending_)
        list_->ReadNow();
}

void TFileListBox::ReadFileNames() {
    if (batchDepth_ > 0)
        readPending_ = true;
    else
        ReadNow();
}

void TFileListBox::ReadNow() {
    readPending_ = false;
    {
        const QSignalBlocker quiet(this);
        clear();
        names_.clear();
        QStringList shown;
        const std::vector<std::string> patterns = SplitMask(mask_);
        const int asked = fileType_ & (ftHidden | ftSystem | ftDirectory);
        const std::string all = directory_.size() == 3 ? directory_ + "*.*" : directory_ + "\\*.*";
        platform::TSearchRec rec;
        for (int found = platform::FindFirst(all, asked, rec); found == 0;
             found = platform::FindNext(rec)) {
            if (rec.Name == "." || rec.Name == ".." || !Admits(rec.Attr()) ||
                !MatchesAny(rec.Name, patterns))
                continue;
            names_.push_back(rec.Name);
            shown << platform::ToQt(rec.Name);
        }
        platform::FindClose(rec);
        addItems(shown);
        setCurrentRow(-1);
    }
    SelectionChanged();
}

void TFileListBox::SelectionChanged() {
    if (fileEdit_) {
        const QListWidgetItem* selected = currentItem();
        platform::SetEditText(fileEdit_, selected && selected->isSelected()
                                             ? names_[static_cast<std::size_t>(row(selected))]
                                             : mask_);
        fileEdit_->selectAll();
    }
    emit OnChange();
}
