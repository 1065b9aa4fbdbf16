#include "dialogs/Glyph_Dir.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>

#include "controls/QZkompo.h"
#include "fileutils/FileUtils.h"
#include "fileutils/FormatSettings.h"
#include "fileutils/PathParts.h"
#include "messages/QZdialog.h"
#include "platform/Codepage.h"
#include "platform/Find.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/DirectoryListBox.h"
#include "platform/ui/EditText.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/FocusedControl.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Label.h"
#include "platform/ui/PlaceControl.h"
#include "platform/ui/SysColors.h"

namespace {

// The client area of the designed 420 x 373 window with its sizeable frame.
constexpr int kClientWidth = 412;
constexpr int kClientHeight = 346;

QFont LabelFont() {
    return platform::DesignFont("Courier New", -13); // 10 points
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::u32string Folded(const std::string& text) {
    std::u32string folded;
    for (unsigned char c : text)
        folded += platform::FoldForCompare(c);
    return folded;
}

// An existing file and not a directory, as find-first sees the name.
bool IsExistingFile(const std::string& name, platform::TSearchRec& rec) {
    const bool found = platform::FindFirst(name, platform::faAnyFile, rec) == 0 &&
                       !(rec.Attr() & platform::faDirectory);
    platform::FindClose(rec);
    return found;
}

void Paint(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, colour);
    control->setPalette(palette);
}

// Eats one mouse press and its release on a widget: the click whose press
// moved the focus there when the name check sent the focus back to the edit.
class SwallowClick : public QObject {
public:
    explicit SwallowClick(QWidget* target) : QObject(target) { target->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            deleteLater();
            return true;
        }
        return false;
    }
};

} // namespace

std::vector<std::string> CommaTextItems(const std::string& text) {
    std::vector<std::string> items;
    std::size_t p = 0;
    const auto skipBlanks = [&] {
        while (p < text.size() && text[p] != '\0' && IsBlankOrControl(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < text.size()) {
        std::string item;
        if (text[p] == '"') {
            for (++p; p < text.size(); ++p) {
                if (text[p] == '"' && p + 1 < text.size() && text[p + 1] == '"')
                    item += text[++p];
                else if (text[p] == '"') {
                    ++p;
                    break;
                } else
                    item += text[p];
            }
        } else {
            while (p < text.size() && !IsBlankOrControl(text[p]) && text[p] != ',')
                item += text[p++];
        }
        items.push_back(item);
        skipBlanks();
        if (p < text.size() && text[p] == ',') {
            if (p + 1 == text.size())
                items.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return items;
}

TOSDialog::TOSDialog(QWidget* parent) : TForm(parent) {
    setObjectName("OSDialog");
    // A sizeable frame with a caption but none of the title bar's buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(platform::DefaultFormFont());
    resize(kClientWidth, kClientHeight);
    SetPosition(TFormPosition::ScreenCenter);
    CreateControls();
    ConnectHandlers();
    FormCreate();
}

void TOSDialog::CreateControls() {
    const auto fileLabel = [&](const char* name, int left, int top, int width) {
        auto* label = platform::PlaceControl<TLabel>(this, name, {left, top, width, 16});
        label->setFont(LabelFont());
        label->SetCaption("");
        return label;
    };
    const auto button = [&](const char* name, int left) {
        return platform::PlaceControl<TButton>(this, name, {left, 295, 75, 25});
    };

    DirectoryListBox1 =
        platform::PlaceControl<TDirectoryListBox>(this, "DirectoryListBox1", {15, 50, 170, 131});
    FileListBox1 = platform::PlaceControl<TFileListBox>(this, "FileListBox1", {230, 49, 170, 132});
    LabelPfad = fileLabel("LabelPfad", 17, 190, 184);
    LabelDatum = fileLabel("LabelDatum", 230, 240, 40);
    LabelUhrzeit = fileLabel("LabelUhrzeit", 333, 240, 64);
    LabelGroesse = fileLabel("LabelGroesse", 230, 260, 88);
    ButtonOK = button("ButtonOK", 15);
    ButtonOK->setDefault(true);
    ButtonAbbruch = button("ButtonAbbruch", 110);
    EditDateiName = platform::PlaceControl<QLineEdit>(this, "EditDateiName", {230, 215, 170, 24});
    EditDateiName->setFont(LabelFont());
    Label1 = platform::PlaceControl<TLabel>(this, "Label1", {160, 220, 54, 13});
    QZDriveComboBox1 =
        platform::PlaceControl<TQZDriveComboBox>(this, "QZDriveComboBox1", {15, 22, 170, 19});
    ComboBoxFilter = platform::PlaceControl<QComboBox>(this, "ComboBoxFilter", {230, 20, 170, 21});
    ComboBoxFilter->setEditable(true);
    ComboBoxFilter->setInsertPolicy(QComboBox::NoInsert);
    ButtonHilfe = button("ButtonHilfe", 210);

    DirectoryListBox1->SetFileList(FileListBox1);
    FileListBox1->SetFileEdit(EditDateiName);

    // The designed tab order: directories, filter, files, name, then the buttons.
    const QWidget* order[] = {DirectoryListBox1, ComboBoxFilter, FileListBox1,  EditDateiName,
                              ButtonOK,          ButtonHilfe,    ButtonAbbruch, QZDriveComboBox1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

void TOSDialog::ConnectHandlers() {
    using platform::GuardedCall;
    connect(QZDriveComboBox1, &TQZDriveComboBox::OnChange, this,
            GuardedCall(this, &TOSDialog::QZDriveComboBox1Change));
    connect(DirectoryListBox1, &TDirectoryListBox::OnChange, this,
            GuardedCall(this, &TOSDialog::DirectoryListBox1Change));
    connect(FileListBox1, &TFileListBox::OnChange, this,
            GuardedCall(this, &TOSDialog::FileListBox1Change));
    connect(FileListBox1, &QListWidget::clicked, this,
            GuardedCall(this, &TOSDialog::FileListBox1Click));
    connect(ComboBoxFilter, &QComboBox::editTextChanged, this,
            GuardedCall(this, &TOSDialog::ComboBoxFilterChange));
    connect(ButtonOK, &QPushButton::clicked, this, GuardedCall(this, &TOSDialog::ButtonOKClick));
    connect(ButtonAbbruch, &QPushButton::clicked, this,
            GuardedCall(this, &TOSDialog::ButtonAbbruchClick));
    connect(ButtonHilfe, &QPushButton::clicked, this,
            GuardedCall(this, &TOSDialog::ButtonHilfeClick));
    // The edit's exit: the focus moves from it to another control of this
    // dialog (not to a message box or another window).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old == EditDateiName && now && now->window() == this && isVisible())
            platform::Guarded([&] { EditDateiNameExit(now); });
    });
}

void TOSDialog::FormCreate() {
    LastMask_.clear();
    LabelPfad->SetCaption(DirectoryListBox1->Directory());
    SetHelpContext(0);
}

void TOSDialog::SetStartDirectory(const std::string& dir) {
    if (!DirectoryExists(dir))
        return;
    const std::string drive = DrivePart(dir);
    platform::Guarded([&] {
        QZDriveComboBox1->SetDrive(drive.empty() ? '\0' : drive[0]);
        DirectoryListBox1->SetDirectory(RemoveBackslash(dir));
    });
}

int TOSDialog::Execute(int mode, const std::string& title, const std::string& filter,
                       int attributes, int helpContext, int requiredFree) {
    QZDriveComboBox1->BuildList(); // volumes come and go between showings
    {
        // Directory, mask and file types all change below: read the files once.
        const TFileListBox::UpdateBatch oneReading(FileListBox1);
        PrepareLists(mode, filter, attributes);
    }
    SetHelpContext(helpContext);
    ButtonHilfe->setVisible(helpContext > 0);
    RequiredFree_ = requiredFree;
    setWindowTitle(platform::ToQt(title));

    EditDateiName->clear();
    Label1->SetCaption("File Name:");
    ButtonAbbruch->SetCaption("Cancel");
    ButtonHilfe->SetCaption("Help");
    return exec();
}

// The lists, the filter box and the mode's look; steps of Execute before the
// dialog shows.
void TOSDialog::PrepareLists(int mode, const std::string& filter, int attributes) {
    DirectoryListBox1->Update();
    FileListBox1->Update();
    EditDateiName->clear();

    Mode_ = mode;
    ButtonOK->SetCaption(mode == 0 || mode == 2 ? "Open" : "Save");
    SetFileControls(mode != 2);

    const std::vector<std::string> masks = CommaTextItems(filter);
    ComboBoxFilter->clear();
    for (const std::string& mask : masks)
        ComboBoxFilter->addItem(platform::ToQt(mask));
    // A mask typed last time comes back when the new filter holds it anywhere.
    const bool lastMaskFits =
        !LastMask_.empty() && Folded(filter).find(Folded(LastMask_)) != std::u32string::npos;
    const std::string firstItem = masks.empty() ? std::string() : masks.front();
    ComboBoxFilter->setEditText(platform::ToQt(lastMaskFits ? LastMask_ : firstItem));
    FileListBox1->SetMask(platform::FromQt(ComboBoxFilter->currentText()));

    // Normal files always; read-only, hidden, system and archive files as asked.
    int fileType = ftNormal;
    for (const int kind : {ftReadOnly, ftHidden, ftSystem, ftArchive})
        if (attributes & kind)
            fileType |= kind;
    FileListBox1->SetFileType(fileType);
}

// Directory mode has no use for the file controls: they stay visible, but
// disabled and grey.
void TOSDialog::SetFileControls(bool enabled) {
    const QColor colour =
        platform::GetSysColor(enabled ? platform::COLOR_WINDOW : platform::COLOR_INACTIVEBORDER);
    for (QWidget* control :
         {static_cast<QWidget*>(ComboBoxFilter), static_cast<QWidget*>(FileListBox1),
          static_cast<QWidget*>(EditDateiName)}) {
        control->setEnabled(enabled);
        Paint(control, colour);
    }
}

void TOSDialog::QZDriveComboBox1Change() {
    DirectoryListBox1->SetDrive(QZDriveComboBox1->Drive());
}

void TOSDialog::DirectoryListBox1Change() {
    LabelPfad->SetCaption(DirectoryListBox1->Directory());
}

void TOSDialog::ComboBoxFilterChange() {
    FileListBox1->SetMask(platform::FromQt(ComboBoxFilter->currentText()));
}

void TOSDialog::FileListBox1Change() {
    const std::string name = FileListBox1->FileName();
    platform::SetEditText(EditDateiName, NamePart(name));
    Anzeige(name);
}

void TOSDialog::FileListBox1Click() {
    FileListBox1Change();
}

void TOSDialog::Anzeige(const std::string& name) {
    platform::TSearchRec rec;
    if (!IsExistingFile(name, rec)) {
        LabelDatum->SetCaption("");
        LabelUhrzeit->SetCaption("");
        LabelGroesse->SetCaption("");
        return;
    }
    // A time before 1980 has no place in the file system's date fields.
    const std::time_t written = FileDateTime(name);
    LabelDatum->SetCaption(written == -1 ? "" : DateToStr(written));
    LabelUhrzeit->SetCaption(written == -1 ? "" : TimeToStr(written));
    LabelGroesse->SetCaption(FormatThousands(0, FileSizeByName(name)) + " Byte");
}

std::string TOSDialog::TrimmedEditText() {
    std::string text = platform::EditText(EditDateiName);
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlankOrControl);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlankOrControl).base();
    text = first < last ? std::string(first, last) : std::string();
    platform::SetEditText(EditDateiName, text);
    return text;
}

bool TOSDialog::TakeResultPath(const std::string& text) {
    std::string full;
    const int error = platform::ExpandPath(text, full);
    if (error == 0) {
        ResultPath_ = full;
        return true;
    }
    ResultPath_.clear();
    const std::string shown = platform::WindowsLength(text) > 60
                                  ? std::string(platform::WindowsPrefix(text, 60)) + "..."
                                  : text;
    ShowError((error == platform::ERROR_FILENAME_EXCED_RANGE ? "Name too long:\r\n"
                                                             : "Not a valid file name:\r\n") +
              shown);
    return false;
}

void TOSDialog::EditDateiNameExit(QWidget* now) {
    std::string focused = FocusedControlName();
    if (focused.empty())
        focused = platform::FromQt(now->objectName());
    for (const char* quiet :
         {"ButtonAbbruch", "ButtonHilfe", "FileListBox1", "QZDriveComboBox1", "DirectoryListBox1"})
        if (focused == quiet)
            return;
    const std::string text = TrimmedEditText();
    if (text.empty())
        return;
    bool refused = !TakeResultPath(text);
    if (!refused) {
        Anzeige(ResultPath_);
        platform::TSearchRec rec;
        if (Mode_ == 0 && !IsExistingFile(ResultPath_, rec)) {
            ShowError("File " + NamePart(ResultPath_) + " not found!");
            refused = true;
        }
    }
    if (!refused)
        return;
    // A click that brought the focus here ends with the message: the user
    // answered it, and the name is to be mended first.
    if (QApplication::mouseButtons() != Qt::NoButton)
        new SwallowClick(now);
    EditDateiName->setFocus(Qt::OtherFocusReason);
    EditDateiName->selectAll();
}

void TOSDialog::ButtonOKClick() {
    if (Mode_ == 2) {
        ResultPath_ = DirectoryListBox1->Directory();
        done(mrOk);
        return;
    }
    const std::string text = TrimmedEditText();
    if (text.empty())
        return;
    LastMask_ = FileListBox1->Mask();
    if (!TakeResultPath(text))
        return;
    if (Mode_ == 0) {
        if (FileExists(ResultPath_)) {
            done(mrOk);
            return;
        }
        ShowError("File " + NamePart(ResultPath_) + " not found!");
        FileListBox1->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!EnoughSpace())
        return;
    if (FileExists(ResultPath_) &&
        !Confirm(OverwriteQuestion(NamePart(ResultPath_)), MessageButton::No))
        return;
    done(mrOk);
}

bool TOSDialog::EnoughSpace() {
    if (RequiredFree_ <= 0)
        return true;
    const std::string drive = DrivePart(ResultPath_);
    const char letter = drive.empty() ? '\0' : drive[0];
    if (DriveFreeSpace(letter) >= RequiredFree_)
        return true;
    ShowError("Not enough memory on drive " + std::string(1, letter) + ":");
    return false;
}

void TOSDialog::ButtonAbbruchClick() {
    ResultPath_.clear();
    done(mrCancel);
}

void TOSDialog::ButtonHilfeClick() {
    platform::Application().HelpContext(HelpContext());
}
