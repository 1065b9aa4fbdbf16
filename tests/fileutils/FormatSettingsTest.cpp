// Dates, times and numbers as the program writes them once start-up has
// fixed its formats.
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>

#include "fileutils/FormatSettings.h"

namespace {

std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return timegm(&tm);
}

// Regional settings of a user far from ours, to show start-up overrides them.
void SetForeignSettings() {
    TFormatSettings& s = FormatSettings();
    s.ShortDateFormat = "dd.mm.yyyy";
    s.DateSeparator = '.';
    s.LongTimeFormat = "hh:nn:ss";
    s.ShortTimeFormat = "hh:nn";
    s.TimeSeparator = '.';
    s.ThousandSeparator = '.';
    s.DecimalSeparator = ',';
}

class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            saved_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        setenv("TZ", saved_.c_str(), 1);
        tzset();
    }

private:
    std::string saved_ = "UTC";
};

} // namespace

TEST(FormatSettings, StartUpFixesDatesAndTimesOnTheTwelveHourClock) {
    SetForeignSettings();
    InitFormatSettings();
    struct Case {
        std::time_t when;
        const char *date, *longTime, *shortTime;
    };
    const Case cases[] = {
        {Utc(1996, 12, 31, 0, 30, 5), "12-31-96", "12:30:05a", "12:30a"}, // midnight hour is 12
        {Utc(1996, 3, 7, 15, 4, 9), "03-07-96", "03:04:09p", "03:04p"},
        {Utc(2000, 1, 1, 12, 0, 0), "01-01-00", "12:00:00p", "12:00p"}, // noon is 12, p
        {Utc(2005, 6, 9, 11, 59, 59), "06-09-05", "11:59:59a", "11:59a"},
        {Utc(2024, 2, 29, 23, 7, 0), "02-29-24", "11:07:00p", "11:07p"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateToStr(c.when), c.date);
        EXPECT_EQ(TimeToStr(c.when), c.longTime);
        EXPECT_EQ(ShortTimeToStr(c.when), c.shortTime);
    }
    EXPECT_EQ(FormatSettings().ShortDayNames[0], "Su");
    EXPECT_EQ(FormatSettings().ShortDayNames[6], "Sa");
    EXPECT_EQ(FormatThousands(0, 1234567), "1,234,567");
}

TEST(FormatSettings, TimesAreLocal) {
    InitFormatSettings();
    TimeZone eastern("EST5");
    const std::time_t when = Utc(1997, 1, 1, 3, 15, 0); // 22:15 the evening before
    EXPECT_EQ(DateToStr(when), "12-31-96");
    EXPECT_EQ(TimeToStr(when), "10:15:00p");
}

TEST(FormatSettings, OtherElementsOfAFormat) {
    InitFormatSettings();
    const std::time_t when = Utc(1996, 12, 31, 14, 5, 9); // a Tuesday
    const std::pair<const char*, const char*> cases[] = {
        {"ddd d/m/yyyy", "Tu 31-12-1996"}, {"h:n:s", "14:5:9"},  // no a/p: 24-hour clock
        {"h:mm AMPM", "2:05 PM"},          {"hh'h'nn", "14h05"}, // quoted text stays as it is
        {"HH:MM A/P", "02:05 P"},          {"hh:mm am/pm", "02:05 pm"},
    };
    for (const auto& [format, text] : cases)
        EXPECT_EQ(FormatDateTime(format, when), text) << format;
}

TEST(FormatThousands, GroupsAndPads) {
    InitFormatSettings();
    struct Case {
        int width;
        std::int64_t value;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "0"},
        {0, 999, "999"},
        {0, 1000, "1,000"},
        {0, -999, "-999"},
        {0, -12345, "-12,345"},
        {0, -100000, "-100,000"},
        {8, 1000, "   1,000"},
        {8, -1000, "  -1,000"},
        {3, 123456, "123,456"}, // a narrow field never cuts the number
        {-8, 1000, "1,000   "},
        {0, 3221225472LL, "3,221,225,472"},
        {0, std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatThousands(c.width, c.value), c.text) << c.width << " " << c.value;
}
