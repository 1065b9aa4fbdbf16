#pragma once
// The program-wide date, time and number formats, and the formatting that
// uses them. InitFormatSettings fixes them at start-up, whatever the host's
// regional settings are.
//
// Format elements: "d"/"dd" day, "ddd" short day name, "m"/"mm" month (or
// minutes right after an hour element), "yy"/"yyyy" year, "h"/"hh" hour,
// "n"/"nn" minutes, "s"/"ss" seconds, "a/p" and "am/pm" (which also switch
// the hours to the 12-hour clock), "ampm" ("AM"/"PM"), "/" the date
// separator, ":" the time separator, text in '...' or "..." as is.
#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

struct TFormatSettings {
    std::string ShortDateFormat;
    char DateSeparator = '/';
    std::array<std::string, 7> ShortDayNames; // Sunday first
    std::string ShortTimeFormat;
    std::string LongTimeFormat;
    char TimeSeparator = ':';
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
};

// The settings in force. Until InitFormatSettings runs they hold the
// defaults of a stock installation ("m/d/yyyy", "h:mm:ss AMPM").
TFormatSettings& FormatSettings();

// Short date "mm-dd-yy", long time "hh:mm:ssa/p", short time "hh:mma/p",
// separators "-", ":", "," and ".".
void InitFormatSettings();

// `t` in local time, written after `format`.
std::string FormatDateTime(std::string_view format, std::time_t t);
std::string DateToStr(std::time_t t);      // short date
std::string TimeToStr(std::time_t t);      // long time
std::string ShortTimeToStr(std::time_t t); // short time

// A whole number with the thousands separator, right-aligned in `width`
// characters when the text is shorter (width 0: no padding).
std::string FormatThousands(int width, std::int64_t value);
