#include "controls/QZkompo.h"

#include <cstdint>

#include "fileutils/FileUtils.h"
#include "messages/QZdialog.h"
#include "platform/Find.h"

namespace {

std::string RootOf(char letter) {
    return std::string(1, letter) + ":\\";
}

constexpr char kFallbackDrive = 'c';

} // namespace

TQZDriveComboBox::TQZDriveComboBox(QWidget* parent) : TDriveComboBox(parent) {
    LastDrive = Drive();
}

void TQZDriveComboBox::Change() {
    if (!DirectoryExists(RootOf(Drive()))) {
        ShowError("Disk in drive " + std::string(1, Drive()) + ":\r\ncant't be read.");
        // Unless the letter is the one selected now, this runs the whole
        // check again, nested, for the drive we fall back to.
        SetDrive(DirectoryExists(RootOf(LastDrive)) ? LastDrive : kFallbackDrive);
    }
    LastDrive = Drive();
    TDriveComboBox::Change();
}

std::uint32_t PackDosDateTime(const std::tm& t) {
    const int year = t.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return 0;
    const std::uint32_t date = std::uint32_t((year - 1980) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
    const std::uint32_t time = std::uint32_t(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
    return date << 16 | time;
}

std::tm UnpackDosDateTime(std::uint32_t packed) {
    const std::uint32_t date = packed >> 16, time = packed & 0xFFFF;
    std::tm t{};
    t.tm_year = int(date >> 9) + 80;
    t.tm_mon = int(date >> 5 & 0x0F) - 1;
    t.tm_mday = int(date & 0x1F);
    t.tm_hour = int(time >> 11);
    t.tm_min = int(time >> 5 & 0x3F);
    t.tm_sec = int(time & 0x1F) * 2;
    t.tm_isdst = -1;
    return t;
}

std::time_t FileDateTime(std::string_view fileName) {
    platform::TSearchRec rec;
    const int found = platform::FindFirst(fileName, platform::faAnyFile, rec);
    platform::FindClose(rec);
    if (found != 0)
        return -1;
    const std::time_t written = rec.Time();
    std::tm local{};
    if (!localtime_r(&written, &local))
        return -1;
    const std::uint32_t packed = PackDosDateTime(local);
    if (packed == 0)
        return -1;
    std::tm unpacked = UnpackDosDateTime(packed);
    return std::mktime(&unpacked);
}
