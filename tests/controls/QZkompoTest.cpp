#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <utime.h>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "controls/QZkompo.h"

namespace {

using testsupport::ModalAnswer;

class QZDriveComboBoxTest : public testing::Test {
protected:
    QZDriveComboBoxTest() {
        drives.WriteFile("x.bmp", "x");
        // D: and E: hold a file each; F: is a drive without a medium.
        std::ofstream(drives.AddDrive('D') / "d.txt") << "d";
        std::ofstream(drives.AddDrive('E') / "e.txt") << "e";
        drives.AddDrive('F');
    }
    void Watch(TQZDriveComboBox& combo) {
        QObject::connect(&combo, &TDriveComboBox::OnChange,
                         [this, &combo] { changes += char(combo.Drive()); });
    }
    testsupport::TempDrives drives;
    std::string changes; // the drive each OnChange saw
};

TEST_F(QZDriveComboBoxTest, AReadableDriveIsTakenWithOneChange) {
    TQZDriveComboBox combo;
    EXPECT_EQ(combo.Drive(), 'C'); // as the current directory reports it
    EXPECT_EQ(combo.LastDrive, 'C');
    EXPECT_TRUE(combo.currentText().startsWith("c:"));
    Watch(combo);
    combo.SetDrive('D');
    EXPECT_EQ(changes, "d");
    EXPECT_EQ(combo.LastDrive, 'd');
    EXPECT_TRUE(combo.currentText().startsWith("d:"));
    combo.SetDrive('d'); // the same drive: no check, no change
    combo.SetDrive('D');
    EXPECT_EQ(changes, "d");
}

TEST_F(QZDriveComboBoxTest, AnUnreadableDriveIsReportedAndThePreviousOneComesBack) {
    TQZDriveComboBox combo;
    combo.SetDrive('e');
    Watch(combo);
    ModalAnswer answer;
    answer.Press("OK");
    combo.SetDrive('F');
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].caption, "Error");
    EXPECT_EQ(answer.Seen()[0].text, "Disk in drive f:\r\ncant't be read.");
    EXPECT_EQ(combo.Drive(), 'e');
    EXPECT_EQ(combo.LastDrive, 'e');
    EXPECT_EQ(changes, "ee"); // the nested change, then the outer one
    EXPECT_TRUE(combo.currentText().startsWith("e:"));
}

TEST_F(QZDriveComboBoxTest, WhenThePreviousDriveIsGoneTooDriveCIsTheFallback) {
    TQZDriveComboBox combo;
    combo.SetDrive('e');
    std::filesystem::remove(drives.Root().parent_path() / "E" / "e.txt");
    Watch(combo);
    ModalAnswer answer;
    answer.Press("OK");
    combo.SetDrive('f');
    EXPECT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(combo.Drive(), 'c');
    EXPECT_EQ(changes, "cc");

    // Neither the previous drive nor the fallback can be read: two messages,
    // then the selection stays on the fallback drive.
    std::filesystem::remove(drives.Host("x.bmp"));
    std::filesystem::remove_all(drives.Host("prog"));
    combo.SetDrive('D');
    changes.clear();
    std::filesystem::remove(drives.Root().parent_path() / "D" / "d.txt");
    answer.Press("OK").Press("OK");
    combo.SetDrive('F');
    ASSERT_EQ(answer.Seen().size(), 3u);
    EXPECT_EQ(answer.Seen()[1].text, "Disk in drive f:\r\ncant't be read.");
    EXPECT_EQ(answer.Seen()[2].text, "Disk in drive c:\r\ncant't be read.");
    EXPECT_EQ(combo.Drive(), 'c');
    EXPECT_EQ(combo.LastDrive, 'c');
    EXPECT_EQ(changes, "cc");
}

// Years from 1900 and months from 0, as struct tm counts them.
std::tm Tm(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year;
    t.tm_mon = month;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(FileDateTimeTest, PacksIntoMsDosFieldsSoSecondsAreEven) {
    const struct {
        std::tm in;
        std::uint32_t packed;
        int secondsBack;
    } cases[] = {
        {Tm(123, 10, 14, 22, 13, 21),
         (43u << 25 | 11u << 21 | 14u << 16 | 22u << 11 | 13u << 5 | 10u), 20},
        {Tm(80, 0, 1, 0, 0, 0),
         (1u << 21 | 1u << 16), 0},
        {Tm(207, 11, 31, 23, 59, 59),
         (127u << 25 | 12u << 21 | 31u << 16 | 23u << 11 | 59u << 5 | 29u), 58},
        {Tm(79, 11, 31, 0, 0, 0), 0, -1},
        {Tm(208, 0, 1, 0, 0, 0), 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PackDosDateTime(c.in), c.packed) << c.in.tm_year;
        if (c.packed) {
            const std::tm back = UnpackDosDateTime(c.packed);
            EXPECT_EQ(back.tm_sec, c.secondsBack);
            EXPECT_EQ(back.tm_year, c.in.tm_year);
            EXPECT_EQ(back.tm_mday, c.in.tm_mday);
        }
    }

    testsupport::TempDrives drives;
    const auto file = drives.WriteFile("f.bmp", "x");
    for (const std::time_t t : {std::time_t(1700000001), std::time_t(1700000000)}) {
        const utimbuf times{t, t};
        ASSERT_EQ(utime(file.c_str(), &times), 0);
        EXPECT_EQ(FileDateTime("C:\\f.bmp"), 1700000000); // TZ=UTC in tests
    }
    const utimbuf old{100, 100}; // 1970: no MS-DOS form
    ASSERT_EQ(utime(file.c_str(), &old), 0);
    EXPECT_EQ(FileDateTime("C:\\f.bmp"), -1);
    EXPECT_EQ(FileDateTime("C:\\missing.bmp"), -1);
}

} // namespace
