#include "fileutils/FormatSettings.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

// What a stock installation writes until start-up fixes our own formats.
TFormatSettings StockSettings() {
    TFormatSettings s;
    s.ShortDateFormat = "m/d/yyyy";
    s.DateSeparator = '/';
    s.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    s.ShortTimeFormat = "h:mm AMPM";
    s.LongTimeFormat = "h:mm:ss AMPM";
    s.TimeSeparator = ':';
    s.ThousandSeparator = ',';
    s.DecimalSeparator = '.';
    return s;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i])
            return false;
    return true;
}

// An a/p or am/pm element anywhere outside quotes puts every hour on the
// 12-hour clock.
bool UsesTwelveHourClock(std::string_view format) {
    char quote = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (StartsWithNoCase(format, i, "a/p") || StartsWithNoCase(format, i, "am/pm") ||
                   StartsWithNoCase(format, i, "ampm")) {
            return true;
        }
    }
    return false;
}

std::string Number(int value, std::size_t digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", static_cast<int>(digits), value);
    return text;
}

std::size_t RunLength(std::string_view format, std::size_t at) {
    const int c = std::tolower(static_cast<unsigned char>(format[at]));
    std::size_t n = 1;
    while (at + n < format.size() && std::tolower(static_cast<unsigned char>(format[at + n])) == c)
        ++n;
    return n;
}

// Writes one am/pm-style element if one starts at `at`; returns its length
// or 0.
std::size_t WriteHalfDay(std::string_view format, std::size_t at, const std::tm& tm,
                         std::string& out) {
    const bool pm = tm.tm_hour >= 12;
    if (StartsWithNoCase(format, at, "am/pm")) {
        const bool upper = std::isupper(static_cast<unsigned char>(format[at]));
        out += upper ? (pm ? "PM" : "AM") : (pm ? "pm" : "am");
        return 5;
    }
    if (StartsWithNoCase(format, at, "a/p")) {
        const bool upper = std::isupper(static_cast<unsigned char>(format[at]));
        out += upper ? (pm ? 'P' : 'A') : (pm ? 'p' : 'a');
        return 3;
    }
    if (StartsWithNoCase(format, at, "ampm")) {
        out += pm ? "PM" : "AM";
        return 4;
    }
    return 0;
}

} // namespace

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = StockSettings();
    return settings;
}

void InitFormatSettings() {
    TFormatSettings& s = FormatSettings();
    s.ShortDateFormat = "mm-dd-yy";
    s.DateSeparator = '-';
    s.ShortDayNames = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
    s.ShortTimeFormat = "hh:mma/p";
    s.LongTimeFormat = "hh:mm:ssa/p";
    s.TimeSeparator = ':';
    s.ThousandSeparator = ',';
    s.DecimalSeparator = '.';
}

std::string FormatDateTime(std::string_view format, std::time_t t) {
    std::tm tm{};
    if (!localtime_r(&t, &tm))
        return {};
    const TFormatSettings& s = FormatSettings();
    const bool twelveHour = UsesTwelveHourClock(format);
    std::string out;
    bool afterHour = false; // an "m" right after an hour means minutes
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '"' || c == '\'') {
            const std::size_t end = format.find(c, i + 1);
            const std::size_t stop = end == std::string_view::npos ? format.size() : end;
            out.append(format.substr(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        if (const std::size_t n = WriteHalfDay(format, i, tm, out)) {
            i += n;
            continue;
        }
        const std::size_t run = (lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' ||
                                 lower == 'n' || lower == 's')
                                    ? RunLength(format, i)
                                    : 1;
        const std::size_t digits = run >= 2 ? 2 : 1;
        switch (lower) {
        case 'd':
            out += run >= 3 ? s.ShortDayNames[tm.tm_wday] : Number(tm.tm_mday, digits);
            afterHour = false;
            break;
        case 'm':
            out += afterHour ? Number(tm.tm_min, digits) : Number(tm.tm_mon + 1, digits);
            afterHour = false;
            break;
        case 'y':
            out += run <= 2 ? Number((tm.tm_year + 1900) % 100, 2) : Number(tm.tm_year + 1900, 4);
            afterHour = false;
            break;
        case 'h': {
            int hour = tm.tm_hour;
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12; // midnight and noon are 12
            out += Number(hour, digits);
            afterHour = true;
            break;
        }
        case 'n':
            out += Number(tm.tm_min, digits);
            afterHour = false;
            break;
        case 's':
            out += Number(tm.tm_sec, digits);
            afterHour = false;
            break;
        case '/':
            out += s.DateSeparator;
            break;
        case ':':
            out += s.TimeSeparator;
            break;
        default:
            out += c;
            break;
        }
        i += run;
    }
    return out;
}

std::string DateToStr(std::time_t t) {
    return FormatDateTime(FormatSettings().ShortDateFormat, t);
}

std::string TimeToStr(std::time_t t) {
    return FormatDateTime(FormatSettings().LongTimeFormat, t);
}

std::string ShortTimeToStr(std::time_t t) {
    return FormatDateTime(FormatSettings().ShortTimeFormat, t);
}

std::string FormatThousands(int width, std::int64_t value) {
    // Whole numbers are grouped from their exact digits; going through a
    // double first would round sizes beyond 2^53 for no gain.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits += FormatSettings().ThousandSeparator;
            inGroup = 0;
        }
        digits += static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++inGroup;
    } while (magnitude != 0);
    if (value < 0)
        digits += '-';
    std::string text(digits.rbegin(), digits.rend());

    // A negative width is the "-" flag of a field: the text is padded on the
    // right instead.
    const std::size_t field = static_cast<std::size_t>(std::abs(static_cast<long long>(width)));
    if (text.size() < field) {
        const std::string pad(field - text.size(), ' ');
        text = width < 0 ? text + pad : pad + text;
    }
    return text;
}
