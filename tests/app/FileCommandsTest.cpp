// Renaming, deleting and copying glyphs through the window's menu commands,
// with the real dialogs answered as a user would.
#include "MainWindowFixture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <fstream>
#include <map>

#include "ModalAnswer.h"
#include "fileutils/FileUtils.h"
#include "fileutils/IoErrorText.h"
#include "platform/Codepage.h"
#include "platform/ui/Label.h"
#include "platform/ui/PopupMenu.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ModalAnswer;

class FileCommandsTest : public MainWindowTest {
protected:
    // Glyphs under C:\g, each a bitmap of its own so a test can tell which
    // file ended up under which name.
    TFormMainWindow& OpenOn(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            QImage img(16, 16, QImage::Format_RGB888);
            img.fill(QColor::fromRgb(static_cast<QRgb>(std::hash<std::string>{}(name))));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            img.save(&buffer, "BMP");
            written_[name] = bytes.toStdString();
            drives_.WriteFile("g/" + name, written_[name]);
        }
        WriteSettings("[options]\r\ndir=C:\\g\r\n");
        return Open();
    }
    // Which glyph written by OpenOn the file holds now, or "?".
    std::string Content(const std::string& file) const {
        std::ifstream in(drives_.Host("g/" + file), std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        for (const auto& [name, written] : written_)
            if (written == bytes)
                return name;
        return "?";
    }
    void Run(TMenuItem* item, TSpeedButton* on) {
        window_->PopUpMenuGlyphs->SetPopupComponent(on);
        item->Click();
    }
    void Rename(TSpeedButton* on) { Run(window_->Rename1, on); }
    static std::vector<std::string> Texts(const ModalAnswer& answer) {
        std::vector<std::string> texts;
        for (const auto& seen : answer.Seen())
            if (seen.caption != "Rename File")
                texts.push_back(seen.text);
        return texts;
    }
    static std::string LastText(const ModalAnswer& answer) {
        const auto texts = Texts(answer);
        return texts.empty() ? std::string() : texts.back();
    }
    std::string Label() const { return window_->LabelAnzahl->Caption(); }

    std::map<std::string, std::string> written_;
};

// Queues the input box's answer: `typed` (UTF-8) entered and OK pressed.
ModalAnswer& Type(ModalAnswer& answer, const std::string& typed) {
    answer.Inspect([typed](QWidget* box) {
        box->findChild<QLineEdit*>("Edit")->setText(QString::fromUtf8(typed));
    });
    return answer.Press("OK");
}

// A button's caption, or "Escape".
ModalAnswer& Answer(ModalAnswer& answer, const std::string& what) {
    return what == "Escape" ? answer.Escape() : answer.Press(what);
}

const char* const kRefused = "Can only rename in same directory.";

std::string AppendQuestion(const std::string& name) {
    return "Extension .bmp for new file name required.\r\nAppend to " + name + " ?";
}

TEST_F(FileCommandsTest, RenameTakesOnlyAnAcceptableNewName) {
    struct Case {
        std::string typed;              // UTF-8, as typed
        std::vector<std::string> then;  // answers after the input box
        std::vector<std::string> texts; // messages shown
        std::string result;             // the file's name afterwards
    };
    const std::string long255(255, 'x');
    const std::vector<Case> cases = {
        {"open.bmp", {}, {}, "open.bmp"},
        {"Open.BMP", {}, {}, "open.bmp"}, // a change of case alone is not carried out
        {"sub\\x.bmp", {"OK"}, {kRefused}, "open.bmp"},
        {"c:x.bmp", {"OK"}, {kRefused}, "open.bmp"},
        {"a/x.bmp", {"OK"}, {kRefused}, "open.bmp"},
        {"Open", {"Yes"}, {AppendQuestion("Open")}, "open.bmp"}, // equal once extended
        {"icon", {"No"}, {AppendQuestion("icon")}, "open.bmp"},
        {"a.ico", {"Yes"}, {AppendQuestion("a.ico")}, "a.ico.bmp"},
        {"icon", {"Escape"}, {AppendQuestion("icon")}, "icon.bmp"}, // Escape means Yes
        {".bmp", {}, {}, ".bmp"}, // a name of its own, still listed
        {"Open2.BmP", {}, {}, "Open2.BmP"},
        {"日本.bmp", {"OK"}, {"Error renaming\r\nOpen2.BmP to\r\n??.bmp"}, "Open2.BmP"},
        {long255 + "yy",
         {"Yes", "OK"}, // the box takes 255 characters
         {AppendQuestion(long255), "Error renaming\r\nOpen2.BmP to\r\n" + long255 + ".bmp"},
         "Open2.BmP"},
    };
    auto& w = OpenOn({"open.bmp"});
    TSpeedButton* button = Glyph(1);
    for (const Case& c : cases) {
        ModalAnswer answer;
        Type(answer, c.typed);
        for (const std::string& a : c.then)
            Answer(answer, a);
        Rename(button);
        EXPECT_EQ(Texts(answer), c.texts) << c.typed;
        EXPECT_EQ(answer.Pending(), 0u) << c.typed;
        EXPECT_EQ(button->Hint(), c.result) << c.typed;
        EXPECT_EQ(Content(c.result), "open.bmp") << c.typed;
        EXPECT_EQ(fs::directory_iterator(drives_.Host("g"))->path().filename(), c.result);
        EXPECT_EQ(w.Pages().GlyphCount(), 1);
    }
    ModalAnswer cancel;
    cancel.Press("Cancel");
    Rename(button);
    EXPECT_EQ(button->Hint(), "Open2.BmP");
    w.LoadDirectory(CurrentDir());
    EXPECT_EQ(ShownHints(), std::vector<std::string>{"Open2.BmP"});
}

TEST_F(FileCommandsTest, RenameOntoAnotherGlyphReplacesItOnlyWhenAllowed) {
    auto& w = OpenOn({"a.bmp", "b.bmp", "c.bmp"});
    for (const char* no : {"No", "Escape"}) {
        ModalAnswer answer;
        Answer(Type(answer, "B.BMP"), no);
        Rename(Glyph(1));
        EXPECT_EQ(Texts(answer),
                  std::vector<std::string>{"File B.BMP\r\nalready exists. Overwrite?"});
        EXPECT_EQ(Content("a.bmp"), "a.bmp");
        EXPECT_EQ(Content("b.bmp"), "b.bmp");
    }
    Glyph(1)->SetDown(true);
    ModalAnswer yes;
    Type(yes, "B.BMP").Press("Yes");
    Rename(Glyph(1));
    EXPECT_EQ(Glyph(1)->Hint(), "B.BMP");
    EXPECT_TRUE(Glyph(1)->Down()); // keeps its place and push state
    EXPECT_TRUE(Glyph(2)->isHidden());
    EXPECT_EQ(Content("B.BMP"), "a.bmp"); // spelled as typed
    EXPECT_FALSE(fs::exists(drives_.Host("g/b.bmp")));
    EXPECT_FALSE(fs::exists(drives_.Host("g/a.bmp")));
    EXPECT_EQ(Label(), "2 Glyph(s)");
    EXPECT_EQ(w.Pages().LastShown(), 2);
    EXPECT_FALSE(w.Pages().RefillPending());
}

TEST_F(FileCommandsTest, RenameOntoAGlyphOffThePageCountsItButHidesNothing) {
    WriteGlyphs("g", 40);
    WriteSettings("[options]\r\ndir=C:\\g\r\n");
    auto& w = Open();
    ModalAnswer yes;
    Type(yes, "g0040.bmp").Press("Yes");
    Rename(Glyph(1));
    EXPECT_EQ(Glyph(1)->Hint(), "g0040.bmp");
    EXPECT_EQ(ShownHints().size(), 32u);
    EXPECT_EQ(w.Pages().GlyphCount(), 39);
    EXPECT_EQ(w.Pages().LastShown(), 31);
    EXPECT_EQ(Label(), "39 Glyph(s)");
}

// Whatever goes wrong, both files stay whole and the count stays.
TEST_F(FileCommandsTest, AFailedRenameLosesNoFile) {
    auto& w = OpenOn({"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
    const std::string denied = "Error deleting\r\nb.bmp\r\n" + IoErrorText(5);
    testsupport::SetReadOnly(drives_.Host("g/b.bmp"));
    ModalAnswer readOnly;
    Type(readOnly, "b.bmp").Press("Yes").Press("OK");
    Rename(Glyph(1));
    EXPECT_EQ(LastText(readOnly), denied);
    testsupport::SetReadOnly(drives_.Host("g/b.bmp"), false);

    fs::remove(drives_.Host("g/a.bmp")); // behind the program's back
    ModalAnswer gone;
    Type(gone, "b.bmp").Press("Yes").Press("OK");
    Rename(Glyph(1));
    EXPECT_EQ(LastText(gone), "Error renaming\r\na.bmp to\r\nb.bmp");
    EXPECT_FALSE(Glyph(2)->isHidden());

    fs::create_directory(drives_.Host("g/a.bmp")); // a directory in the glyph's place
    fs::create_directory(drives_.Host("g/e.bmp"));
    struct Case {
        int from;
        std::string to;
        std::vector<std::string> then;
    };
    for (const Case& c :
         {Case{1, "x.bmp", {"OK"}}, Case{1, "c.bmp", {"Yes", "OK"}}, Case{4, "e.bmp", {"OK"}}}) {
        ModalAnswer answer;
        Type(answer, c.to);
        for (const std::string& a : c.then)
            Answer(answer, a);
        const std::string name = Glyph(c.from)->Hint();
        Rename(Glyph(c.from));
        EXPECT_EQ(LastText(answer), "Error renaming\r\n" + name + " to\r\n" + c.to);
        EXPECT_EQ(answer.Pending(), 0u) << c.to;
    }
    EXPECT_TRUE(fs::is_directory(drives_.Host("g/a.bmp")));
    EXPECT_TRUE(fs::is_directory(drives_.Host("g/e.bmp")));
    EXPECT_FALSE(fs::exists(drives_.Host("g/x.bmp")));
    for (const char* f : {"b.bmp", "c.bmp", "d.bmp"})
        EXPECT_EQ(Content(f), f);
    EXPECT_EQ(Label(), "4 Glyph(s)");
    EXPECT_EQ(w.Pages().GlyphCount(), 4);
}

// The host's look-up folds é and É though the program's own comparison does
// not: the new name finds the glyph itself, which must not be "replaced".
TEST_F(FileCommandsTest, RenameToAnAccentedCapitalChangesOnlyTheSpelling) {
    auto& w = OpenOn({"\xc3\xa9t\xc3\xa9.bmp"});
    ModalAnswer answer;
    Type(answer, "\xc3\x89t\xc3\xa9.bmp");
    Rename(Glyph(1));
    EXPECT_TRUE(Texts(answer).empty());
    EXPECT_EQ(Glyph(1)->Hint(), "\xc9t\xe9.bmp");
    EXPECT_EQ(Content("\xc3\x89t\xc3\xa9.bmp"), "\xc3\xa9t\xc3\xa9.bmp");
    EXPECT_EQ(w.Pages().GlyphCount(), 1);
}

TEST_F(FileCommandsTest, ThisGlyphDeletesTheMenusGlyphAndNextPageClosesTheGap) {
    auto& w = OpenOn({"a.bmp", "b.bmp", "c.bmp"});
    Glyph(1)->SetDown(true);
    for (const char* no : {"No", "Escape"}) {
        ModalAnswer answer;
        Answer(answer, no);
        Run(w.ThisGlyph1, Glyph(2));
        EXPECT_EQ(Texts(answer), std::vector<std::string>{"Delete b.bmp.\r\nAre you sure?"});
    }
    EXPECT_EQ(Content("b.bmp"), "b.bmp");

    ModalAnswer yes;
    yes.Press("Yes");
    Run(w.ThisGlyph1, Glyph(2)); // not pushed; the pushed one is left alone
    EXPECT_FALSE(fs::exists(drives_.Host("g/b.bmp")));
    EXPECT_TRUE(Glyph(1)->Down());
    EXPECT_EQ(ShownHints(), (std::vector<std::string>{"a.bmp", "c.bmp"}));
    EXPECT_TRUE(fs::exists(drives_.Host("g/a.bmp")));
    EXPECT_EQ(Label(), "2 Glyph(s)");
    EXPECT_TRUE(w.Pages().RefillPending());

    w.SpeedButtonNext->Click();
    EXPECT_FALSE(Glyph(2)->isHidden());
    EXPECT_EQ(Glyph(2)->Hint(), "c.bmp");
    EXPECT_TRUE(Glyph(3)->isHidden());
    EXPECT_EQ(w.Pages().LastShown(), 2);

    testsupport::SetReadOnly(drives_.Host("g/c.bmp"));
    fs::remove(drives_.Host("g/a.bmp"));
    fs::create_directory(drives_.Host("g/a.bmp"));
    for (int n : {1, 2}) {
        ModalAnswer error;
        error.Press("Yes").Press("OK");
        Run(w.ThisGlyph1, Glyph(n));
        EXPECT_EQ(LastText(error),
                  "Error deleting\r\n" + Glyph(n)->Hint() + "\r\n" + IoErrorText(5));
        EXPECT_FALSE(Glyph(n)->isHidden());
    }
    EXPECT_TRUE(fs::is_directory(drives_.Host("g/a.bmp")));
    EXPECT_EQ(Content("c.bmp"), "c.bmp");
    EXPECT_EQ(Label(), "2 Glyph(s)");
}

TEST_F(FileCommandsTest, AllPushedDeletesInPageOrderAndAsksOnEachFailure) {
    struct Case {
        const char* onError; // answer to the read-only second file
        bool thirdDeleted;
        const char* label;
    };
    for (const Case& c : {Case{"Ignore", true, "2 Glyph(s)"}, Case{"Escape", true, "2 Glyph(s)"},
                          Case{"Abort", false, "3 Glyph(s)"}}) {
        window_.reset();
        fs::remove_all(drives_.Host("g"));
        auto& w = OpenOn({"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
        {
            ModalAnswer nothing; // none pushed: no question at all
            Run(w.AllPushed1, Glyph(4));
        }
        for (int n : {1, 2, 3})
            Glyph(n)->SetDown(true);
        testsupport::SetReadOnly(drives_.Host("g/b.bmp"));
        ModalAnswer answer;
        Answer(answer.Press("Yes"), c.onError);
        Run(w.AllPushed1, Glyph(4));
        EXPECT_EQ(Texts(answer),
                  (std::vector<std::string>{"Really delete 3 glyph(s)",
                                            "Error deleting\r\nb.bmp\r\n" + IoErrorText(5)}));
        EXPECT_EQ(answer.Seen().at(1).caption, "Error");
        EXPECT_FALSE(fs::exists(drives_.Host("g/a.bmp")));
        EXPECT_EQ(fs::exists(drives_.Host("g/c.bmp")), !c.thirdDeleted) << c.onError;
        EXPECT_EQ(Label(), c.label) << c.onError;
        EXPECT_TRUE(Glyph(1)->isHidden());

        // A deleted glyph's button, still down, is not counted again.
        Glyph(4)->SetDown(true);
        ModalAnswer again;
        again.Press("No");
        Run(w.AllPushed1, Glyph(4));
        EXPECT_EQ(Texts(again).at(0),
                  c.thirdDeleted ? "Really delete 2 glyph(s)" : "Really delete 3 glyph(s)");
        testsupport::SetReadOnly(drives_.Host("g/b.bmp"), false);
    }
}

TEST_F(FileCommandsTest, CopiesReplaceEverythingOnTheClipboard) {
    drives_.WriteFile("g/\xc3\xa4pfel.bmp", "");
    QImage states(64, 16, QImage::Format_RGB32); // four images side by side
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 16; ++y)
            states.setPixel(x, y, qRgb(x * 4, y * 16, 7));
    ASSERT_TRUE(states.save(QString::fromStdString(drives_.Host("g/four.bmp").string())));
    WriteSettings("[options]\r\ndir=C:\\g\r\n");
    auto& w = Open();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(QImage(3, 3, QImage::Format_RGB32));

    Run(w.AsName1, Glyph(2)); // listed after four.bmp
    EXPECT_EQ(clipboard->text(), QString::fromUtf8("C:\\g\\äpfel.bmp"));
    EXPECT_FALSE(clipboard->mimeData()->hasImage());

    TSpeedButton* four = Glyph(1);
    Run(w.AsBitmap1, four);
    const QImage copied = clipboard->image();
    EXPECT_EQ(copied.size(), QSize(64, 16));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), states);
    EXPECT_FALSE(clipboard->mimeData()->hasText());

    clipboard->clear();
    EXPECT_EQ(four->Glyph().convertToFormat(QImage::Format_RGB32), states);
}

// A folder of Japanese, Cyrillic, Greek and odd names: every glyph shows,
// named with question marks, and each command acts on the glyph's own file,
// never on another shown with the same marks ("??.bmp" three times here).
TEST_F(FileCommandsTest, NamesWithoutAWesternFormShowAndActOnTheirOwnFile) {
    const std::string japanese = "\xe6\x97\xa5\xe6\x9c\xac.bmp", cyrillic = "\xd0\x94\xd0\xb0.bmp";
    const std::string greek = "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1.bmp", marks = "??.bmp";
    ModalAnswer none;
    auto& w = OpenOn({japanese, cyrillic, greek, marks, "plain.bmp"});
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_EQ(Label(), "5 Glyph(s)");
    std::map<std::string, TSpeedButton*> by; // host name -> its button
    for (int n = 1; n <= 5; ++n) {
        by[platform::AnsiToUtf8(Glyph(n)->Hint())] = Glyph(n);
        const QRgb colour =
            static_cast<QRgb>(std::hash<std::string>{}(platform::AnsiToUtf8(Glyph(n)->Hint()))) |
            0xFF000000;
        EXPECT_EQ(Glyph(n)->Glyph().pixel(5, 5), colour) << n; // its own file's picture
    }
    ASSERT_EQ(by.size(), 5u);
    EXPECT_EQ(platform::ToQt(by[japanese]->Hint()), "??.bmp");
    EXPECT_EQ(platform::ToQt(by[cyrillic]->Hint()), "??.bmp");

    Run(w.AsName1, by[japanese]);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("C:\\g\\" + japanese));

    ModalAnswer unchanged; // OK on the name as offered: nothing to do
    unchanged.Press("OK");
    Rename(by[cyrillic]);
    EXPECT_EQ(Texts(unchanged), std::vector<std::string>{});
    ModalAnswer renamed;
    Type(renamed, "da.bmp");
    Rename(by[cyrillic]);
    EXPECT_EQ(Content("da.bmp"), cyrillic);
    EXPECT_EQ(by[cyrillic]->Hint(), "da.bmp");

    ModalAnswer deleted;
    deleted.Press("Yes");
    Run(w.ThisGlyph1, by[japanese]);
    EXPECT_EQ(Texts(deleted), std::vector<std::string>{"Delete ??.bmp.\r\nAre you sure?"});
    EXPECT_FALSE(fs::exists(drives_.Host("g/" + japanese)));
    for (const std::string& kept : {greek, marks, std::string("plain.bmp")})
        EXPECT_EQ(Content(kept), kept);
    EXPECT_EQ(Label(), "4 Glyph(s)");
}

// A remembered folder with such a name is shown again at the next start.
TEST_F(FileCommandsTest, AFolderWithoutAWesternFormIsRememberedAcrossAStart) {
    WriteGlyphs("\xd0\x9f\xd0\xb0\xd0\xbf\xd0\xba\xd0\xb0", 3);
    auto& w = Open();
    w.LoadDirectory("C:\\" + platform::Utf8ToAnsi("\xd0\x9f\xd0\xb0\xd0\xbf\xd0\xba\xd0\xb0"));
    const std::string shown = CurrentDir();
    w.close();
    window_.reset();
    Open();
    EXPECT_EQ(CurrentDir(), shown);
    EXPECT_EQ(Label(), "3 Glyph(s)");
}

} // namespace
