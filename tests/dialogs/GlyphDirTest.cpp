#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <utime.h>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "platform/Codepage.h"
#include "controls/QZkompo.h"
#include "dialogs/Glyph_Dir.h"
#include "fileutils/FileUtils.h"
#include "fileutils/FormatSettings.h"
#include "platform/CurrentDirs.h"
#include "platform/Paths.h"
#include "platform/ui/Button.h"
#include "platform/ui/DirectoryListBox.h"
#include "platform/ui/FileListBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/SysColors.h"

namespace {

using testsupport::ModalAnswer;
namespace fs = std::filesystem;

QStringList Entries(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void SetTime(const fs::path& p, std::time_t t) {
    const utimbuf times{t, t};
    ASSERT_EQ(utime(p.c_str(), &times), 0);
}

class GlyphDirTest : public testing::Test {
protected:
    void SetUp() override {
        InitFormatSettings();
        drives.WriteFile("glyphs/a.bmp", std::string(1234, 'a'));
        drives.WriteFile("glyphs/b.bmp", "bb");
        drives.WriteFile("glyphs/tool.exe", std::string(1234567, 'x'));
        drives.WriteFile("glyphs/notes.txt", "n");
        drives.MakeDir("glyphs/sub");
        dialog = std::make_unique<TOSDialog>();
        dialog->SetStartDirectory("C:\\glyphs\\");
    }

    // The extract command's call, or the directory command's with mode 2.
    int Run(int mode = 0, const std::string& filter = "*.exe", int helpContext = 11,
            int requiredFree = 0, int attributes = 63) {
        return dialog->Execute(mode,
                               mode == 2 ? "Select Directory" : "Extract bitmaps from .EXE file",
                               filter, attributes, helpContext, requiredFree);
    }
    // Queues: type a name into the edit, then press OK with Enter.
    void TypeThenEnter(ModalAnswer& answer, const std::string& name) {
        answer.Inspect([this, name](QWidget*) {
            dialog->EditDateiName->setFocus();
            dialog->EditDateiName->setText(QString::fromStdString(name));
        });
        answer.Enter();
    }

    testsupport::TempDrives drives;
    std::unique_ptr<TOSDialog> dialog;
};

TEST(CommaTextTest, SplitsAtCommasAndBlanksAndKeepsQuotedItemsWhole) {
    const struct {
        const char* text;
        std::vector<std::string> items;
    } cases[] = {
        {"*.exe", {"*.exe"}},
        {"*.bmp,*.exe", {"*.bmp", "*.exe"}},
        {"  *.bmp  *.exe ", {"*.bmp", "*.exe"}},
        {"\"My Files*.exe\",*.dll", {"My Files*.exe", "*.dll"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"*.bmp,", {"*.bmp", ""}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommaTextItems(c.text), c.items) << c.text;
}

TEST_F(GlyphDirTest, DirectoryModeGreysTheFileControlsAndReturnsTheDirectory) {
    ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        TOSDialog& d = *dialog;
        EXPECT_EQ(d.windowTitle(), "Select Directory");
        EXPECT_EQ(d.ButtonOK->text(), "Open");
        EXPECT_FALSE(d.ButtonHilfe->isVisible());
        for (QWidget* w :
             {static_cast<QWidget*>(d.ComboBoxFilter), static_cast<QWidget*>(d.FileListBox1),
              static_cast<QWidget*>(d.EditDateiName)}) {
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
            EXPECT_EQ(w->palette().color(QPalette::Base),
                      platform::GetSysColor(platform::COLOR_INACTIVEBORDER));
        }
        // The files still show, by the first mask.
        EXPECT_EQ(Entries(d.FileListBox1), QStringList({"a.bmp", "b.bmp"}));
        EXPECT_EQ(d.LabelPfad->Caption(), "C:\\glyphs");
        EXPECT_EQ(Entries(d.DirectoryListBox1), QStringList({"c:\\", "glyphs", "sub"}));
        // Into sub by double-click, then back up to the root.
        QListWidget* dirs = d.DirectoryListBox1;
        emit dirs->itemDoubleClicked(dirs->item(2));
        EXPECT_EQ(d.DirectoryListBox1->Directory(), "C:\\glyphs\\sub");
        EXPECT_EQ(d.LabelPfad->Caption(), "C:\\glyphs\\sub");
        emit dirs->itemDoubleClicked(dirs->item(0));
    });
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(2, "*.bmp", 0), 1);
    EXPECT_EQ(dialog->ResultPath(), "C:\\");
    EXPECT_EQ(dialog->LastMask(), ""); // directory mode never remembers a mask

    // A directory comes back without its backslash; the process follows it.
    answer.Inspect([this](QWidget*) {
        emit dialog->DirectoryListBox1->itemDoubleClicked(dialog->DirectoryListBox1->item(1));
    });
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(2, "*.bmp", 0), 1);
    EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs");
    EXPECT_EQ(platform::GetCurrentDir(), "C:\\glyphs");
}

TEST_F(GlyphDirTest, OpenModeShowsTheChosenFilesDateTimeAndSize) {
    SetTime(drives.Host("glyphs/tool.exe"), 1700000001); // 2023-11-14 22:13:21 UTC, odd seconds
    ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        TOSDialog& d = *dialog;
        EXPECT_TRUE(d.ButtonHilfe->isVisible());
        EXPECT_EQ(d.ButtonOK->text(), "Open");
        EXPECT_EQ(d.Label1->Caption(), "File Name:");
        EXPECT_EQ(d.ButtonAbbruch->text(), "Cancel");
        EXPECT_EQ(d.ComboBoxFilter->currentText(), "*.exe");
        EXPECT_EQ(Entries(d.FileListBox1), QStringList({"tool.exe"}));
        EXPECT_EQ(d.EditDateiName->text(), "");
        d.FileListBox1->setCurrentRow(0);
        EXPECT_EQ(d.EditDateiName->text(), "tool.exe");
        EXPECT_EQ(d.LabelDatum->Caption(), "11-14-23");
        EXPECT_EQ(d.LabelUhrzeit->Caption(), "10:13:20p"); // even seconds
        EXPECT_EQ(d.LabelGroesse->Caption(), "1,234,567 Byte");
        // Another mask reads the list again: nothing chosen, labels empty.
        d.ComboBoxFilter->setEditText("*.bmp;*.txt");
        EXPECT_EQ(Entries(d.FileListBox1), QStringList({"a.bmp", "b.bmp", "notes.txt"}));
        EXPECT_EQ(d.EditDateiName->text(), "");
        EXPECT_EQ(d.LabelDatum->Caption(), "");
        EXPECT_EQ(d.LabelGroesse->Caption(), "");
        d.FileListBox1->setCurrentRow(0);
    });
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs\\a.bmp");
    EXPECT_EQ(dialog->LastMask(), "*.bmp;*.txt");
}

TEST_F(GlyphDirTest, TypedNamesAreExpandedAgainstTheShownDirectory) {
    drives.WriteFile("glyphs/sub/deep.exe", "MZ");
    drives.WriteFile("top.exe", "MZ");
    const struct {
        const char* typed;
        const char* result;
    } cases[] = {
        {"tool.exe", "C:\\glyphs\\tool.exe"},
        {"  tool.exe\t", "C:\\glyphs\\tool.exe"},
        {"sub\\deep.exe", "C:\\glyphs\\sub\\deep.exe"},
        {"sub/deep.exe", "C:\\glyphs\\sub\\deep.exe"},
        {"..\\top.exe", "C:\\top.exe"},
        {"\\top.exe", "C:\\top.exe"},
        {"C:top.exe", "C:\\glyphs\\top.exe"}, // missing: reported, see below
        {"C:\\glyphs\\TOOL.EXE", "C:\\glyphs\\TOOL.EXE"},
        {"*.exe", "C:\\glyphs\\*.exe"}, // wildcards pass when something matches
    };
    for (const auto& c : cases) {
        ModalAnswer answer;
        TypeThenEnter(answer, c.typed);
        const bool exists = std::string(c.typed) != "C:top.exe";
        if (!exists)
            answer.Press("OK").Press("ButtonAbbruch");
        EXPECT_EQ(Run(), exists ? 1 : 2) << c.typed;
        if (exists) {
            EXPECT_EQ(dialog->ResultPath(), c.result) << c.typed;
        }
    }
}

TEST_F(GlyphDirTest, EnterWithAMissingNameReportsItOnceAndFocusesTheFileList) {
    ModalAnswer answer;
    TypeThenEnter(answer, "missing.exe");
    answer.Press("OK");
    answer.Inspect([this](QWidget*) {
        EXPECT_EQ(dialog->focusWidget(), dialog->FileListBox1);
        EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs\\missing.exe");
        EXPECT_EQ(dialog->LastMask(), "*.exe");
    });
    answer.Press("ButtonAbbruch");
    EXPECT_EQ(Run(), 2);
    ASSERT_EQ(answer.Seen().size(), 5u);
    EXPECT_EQ(answer.Seen()[2].caption, "Error");
    EXPECT_EQ(answer.Seen()[2].text, "File missing.exe not found!");
    EXPECT_EQ(dialog->ResultPath(), ""); // Cancel empties it
}

TEST_F(GlyphDirTest, LeavingTheEditChecksTheNameOnlyOnTheWayToOkOrTheFilter) {
    ModalAnswer answer;
    // Quiet ways out of the edit: no message.
    for (const char* quiet : {"FileListBox1", "DirectoryListBox1", "ButtonAbbruch"}) {
        answer.Inspect([this, quiet](QWidget*) {
            dialog->EditDateiName->setFocus();
            dialog->EditDateiName->setText("missing.exe");
            dialog->findChild<QWidget*>(quiet)->setFocus(Qt::TabFocusReason);
        });
    }
    // Tabbing to OK checks at once, and the focus comes back to the edit.
    answer.Inspect([this](QWidget*) {
        dialog->EditDateiName->setFocus();
        dialog->EditDateiName->setText("  missing.exe ");
        dialog->ButtonOK->setFocus(Qt::TabFocusReason);
    });
    answer.Press("OK");
    answer.Inspect([this](QWidget*) {
        EXPECT_EQ(dialog->focusWidget(), dialog->EditDateiName);
        EXPECT_EQ(dialog->EditDateiName->text(), "missing.exe");
        EXPECT_EQ(dialog->EditDateiName->selectedText(), "missing.exe");
        EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs\\missing.exe");
    });
    answer.Escape(); // no Escape button: ignored
    answer.CloseBox();
    EXPECT_EQ(Run(), 2);
    std::vector<std::string> messages;
    for (const auto& seen : answer.Seen())
        if (seen.className == "TMessageForm")
            messages.push_back(seen.text);
    EXPECT_EQ(messages, std::vector<std::string>{"File missing.exe not found!"});
    EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs\\missing.exe"); // the close box keeps it
}

TEST_F(GlyphDirTest, ClickingOkWithAMissingNameEndsWithTheCheckNotWithOk) {
    ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        dialog->EditDateiName->setFocus();
        dialog->EditDateiName->setText("missing.exe");
        QTest::mouseClick(dialog->ButtonOK, Qt::LeftButton);
    });
    answer.Press("OK");
    answer.Inspect([this](QWidget*) {
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), dialog->EditDateiName);
    });
    answer.Press("ButtonAbbruch");
    EXPECT_EQ(Run(), 2);
    int messages = 0;
    for (const auto& seen : answer.Seen())
        messages += seen.className == "TMessageForm";
    EXPECT_EQ(messages, 1);
}

TEST_F(GlyphDirTest, TheLastMaskComesBackWhereTheNewFilterHoldsIt) {
    ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        dialog->ComboBoxFilter->setEditText("*.ex");
        dialog->EditDateiName->setText("tool.exe");
    });
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(dialog->LastMask(), "*.ex");

    const struct {
        const char* filter;
        const char* shown;
    } cases[] = {{"*.EXE", "*.ex"}, {"*.bmp,*.exe", "*.ex"}, {"*.bmp", "*.bmp"}};
    for (const auto& c : cases) {
        answer.Inspect([this, &c](QWidget*) {
            EXPECT_EQ(dialog->ComboBoxFilter->currentText().toStdString(), c.shown) << c.filter;
            EXPECT_EQ(dialog->FileListBox1->Mask(), c.shown) << c.filter;
        });
        answer.Press("ButtonAbbruch");
        EXPECT_EQ(Run(0, c.filter), 2);
    }
}

TEST_F(GlyphDirTest, AttributesDecideWhetherHiddenFilesAreListed) {
    drives.WriteFile("glyphs/.hidden.exe", "MZ");
    testsupport::SetReadOnly(drives.WriteFile("glyphs/locked.exe", "MZ"));
    for (const int attributes : {63, 0}) {
        ModalAnswer answer;
        answer.Inspect([this, attributes](QWidget*) {
            const QStringList expected = attributes == 63
                                             ? QStringList{".hidden.exe", "locked.exe", "tool.exe"}
                                             : QStringList{"locked.exe", "tool.exe"};
            EXPECT_EQ(Entries(dialog->FileListBox1), expected) << attributes;
        });
        answer.Press("ButtonAbbruch");
        EXPECT_EQ(Run(0, "*.exe", 11, 0, attributes), 2);
    }
}

TEST_F(GlyphDirTest, SaveModeAsksBeforeOverwritingAndChecksFreeSpace) {
    ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        EXPECT_EQ(dialog->ButtonOK->text(), "Save");
        dialog->EditDateiName->setText("tool.exe");
    });
    answer.Press("ButtonOK").Press("No"); // stays open
    answer.Press("ButtonOK").Press("Yes");
    EXPECT_EQ(Run(1, "*.exe", 0), 1);
    ASSERT_GE(answer.Seen().size(), 3u);
    EXPECT_EQ(answer.Seen()[2].text, "File tool.exe\r\nalready exists. Overwrite?");
    EXPECT_EQ(answer.Seen()[2].caption, "Confirmation");

    // A drive without a medium has no free space to offer; the message names
    // the drive as it was typed.
    drives.AddDrive('D');
    answer.Inspect([this](QWidget*) { dialog->EditDateiName->setText("d:\\new.bmp"); });
    answer.Press("ButtonOK").Press("OK").Press("ButtonAbbruch");
    EXPECT_EQ(Run(1, "*.bmp", 0, 1), 2);
    EXPECT_EQ(answer.Seen().back().answer, "Press ButtonAbbruch");
    EXPECT_EQ(answer.Seen()[answer.Seen().size() - 2].text, "Not enough memory on drive d:");

    // Room enough on C: passes without a question for a new file.
    answer.Inspect([this](QWidget*) { dialog->EditDateiName->setText("new.bmp"); });
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(1, "*.bmp", 0, 1), 1);
    EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs\\new.bmp");
}

TEST_F(GlyphDirTest, BadNamesGetAClearMessageAndTheDialogStaysUsable) {
    const std::string tooLong(300, 'x');
    const struct {
        std::string typed;
        std::string message;
    } cases[] = {
        {tooLong, "Name too long:\r\n" + tooLong.substr(0, 60) + "..."},
        {"..\\..\\..\\..\\..", "File  not found!"},
        {"a:b:c.exe", "File c.exe not found!"},
    };
    for (const auto& c : cases) {
        ModalAnswer answer;
        TypeThenEnter(answer, c.typed);
        answer.Press("OK");
        answer.Inspect([this](QWidget*) { dialog->EditDateiName->setText("tool.exe"); });
        answer.Press("ButtonOK");
        EXPECT_EQ(Run(), 1) << c.typed;
        ASSERT_GE(answer.Seen().size(), 3u);
        EXPECT_EQ(answer.Seen()[2].text, c.message) << c.typed;
        EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs\\tool.exe");
    }
}

TEST_F(GlyphDirTest, DirectoriesThatVanishOrCannotBeReadGiveAMessage) {
    drives.MakeDir("glyphs/locked");
    fs::permissions(drives.Host("glyphs/locked"), fs::perms::owner_read, fs::perm_options::remove);
    ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        QListWidget* dirs = dialog->DirectoryListBox1;
        ASSERT_EQ(Entries(dirs), QStringList({"c:\\", "glyphs", "locked", "sub"}));
        emit dirs->itemDoubleClicked(dirs->item(2));
    });
    answer.Press("OK");
    answer.Inspect([this](QWidget*) {
        EXPECT_EQ(dialog->DirectoryListBox1->Directory(), "C:\\glyphs");
        // sub vanishes behind the dialog's back, then is double-clicked.
        fs::remove(drives.Host("glyphs/sub"));
        emit dialog->DirectoryListBox1->itemDoubleClicked(dialog->DirectoryListBox1->item(3));
    });
    answer.Press("OK");
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(2, "*.bmp", 0), 1);
    ASSERT_GE(answer.Seen().size(), 4u);
    EXPECT_EQ(answer.Seen()[1].text,
              "Cannot open directory \"C:\\glyphs\\locked\": access denied.");
    EXPECT_EQ(answer.Seen()[3].text,
              "Cannot open directory \"C:\\glyphs\\sub\": it does not exist.");
    EXPECT_EQ(dialog->ResultPath(), "C:\\glyphs");

    // The shown directory itself goes: the next showing starts from its parent.
    fs::permissions(drives.Host("glyphs/locked"), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(drives.Host("glyphs"));
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(2, "*.bmp", 0), 1);
    EXPECT_EQ(dialog->ResultPath(), "C:\\");
}

// Listed with a question mark, a name without a Western form still leads to
// exactly its own entry: the directory is entered, the file is the result,
// and neither is another entry shown with the same question marks.
TEST_F(GlyphDirTest, ANameWithoutAWesternFormShowsAQuestionMarkAndOpensItsOwnEntry) {
    drives.MakeDir("glyphs/\xe6\x97\xa5"); // a CJK character
    drives.MakeDir("glyphs/\xd0\x96");     // a Cyrillic one, also shown as "?"
    drives.WriteFile("glyphs/\xe6\x97\xa5/x\xe6\x97\xa5.exe", "MZ");
    drives.WriteFile("glyphs/\xe6\x97\xa5/x\xd0\x96.exe", "MZ");
    const std::string cjk = platform::Utf8ToAnsi("\xe6\x97\xa5");
    ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        const QStringList dirs = Entries(dialog->DirectoryListBox1);
        ASSERT_EQ(dirs.count("?"), 2);
        // The first "?" is the Cyrillic one in listing order (U+0416 < U+65E5).
        const int row = int(dirs.lastIndexOf("?"));
        emit dialog->DirectoryListBox1->itemDoubleClicked(dialog->DirectoryListBox1->item(row));
        EXPECT_EQ(Entries(dialog->FileListBox1), QStringList({"x?.exe", "x?.exe"}));
        dialog->FileListBox1->setCurrentRow(1);
        EXPECT_EQ(dialog->EditDateiName->text(), "x?.exe");
    });
    answer.Press("ButtonOK");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(platform::GetCurrentDir(), "C:\\glyphs\\" + cjk);
    EXPECT_EQ(platform::AnsiToUtf8(dialog->ResultPath()),
              "C:\\glyphs\\\xe6\x97\xa5\\x\xe6\x97\xa5.exe");
}

TEST_F(GlyphDirTest, TheDriveComboMovesTheListsAndRefusesADriveWithoutAMedium) {
    std::ofstream(drives.AddDrive('D') / "d.exe") << "MZ";
    drives.AddDrive('E'); // empty: no medium
    const auto choose = [this](char letter) {
        QComboBox* combo = dialog->QZDriveComboBox1;
        const int index = combo->findText(QString(QChar(letter)) + ":", Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << letter;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    };
    ModalAnswer answer;
    answer.Inspect([&](QWidget*) {
        choose('d');
        EXPECT_EQ(dialog->LabelPfad->Caption(), "D:\\");
        EXPECT_EQ(Entries(dialog->FileListBox1), QStringList({"d.exe"}));
        choose('e');
    });
    answer.Press("OK");
    answer.Inspect([&](QWidget*) {
        EXPECT_EQ(dialog->QZDriveComboBox1->Drive(), 'd');
        EXPECT_TRUE(dialog->QZDriveComboBox1->currentText().startsWith("d:"));
        EXPECT_EQ(dialog->LabelPfad->Caption(), "D:\\");
        choose('c'); // back to the directory left on C:
        EXPECT_EQ(dialog->LabelPfad->Caption(), "C:\\glyphs");
    });
    answer.Press("ButtonAbbruch");
    EXPECT_EQ(Run(), 2);
    ASSERT_GE(answer.Seen().size(), 2u);
    EXPECT_EQ(answer.Seen()[1].text, "Disk in drive e:\r\ncant't be read.");
}

TEST_F(GlyphDirTest, HelpButtonShowsOnlyWithAHelpContext) {
    for (const int context : {11, 0, -1}) {
        ModalAnswer answer;
        answer.Inspect([this, context](QWidget*) {
            EXPECT_EQ(dialog->ButtonHilfe->isVisible(), context > 0) << context;
            EXPECT_EQ(dialog->HelpContext(), context);
        });
        answer.Press("ButtonAbbruch");
        EXPECT_EQ(Run(0, "*.exe", context), 2);
    }
}

} // namespace
