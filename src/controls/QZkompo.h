#pragma once
// QZkompo: the drive combo box that refuses drives it cannot read, and the
// last-write time of a file as the file system's date and time fields
// hold it.
#include <cstdint>
#include <ctime>
#include <string_view>

#include "platform/ui/DriveComboBox.h"

// Whenever the selected drive changes, it first checks that the drive's root
// can be read. If not, it says so and goes back to the last good drive, or
// else to drive "c"; the owner's OnChange then sees that drive (twice: once
// from the nested change, once from the outer one).
class TQZDriveComboBox : public TDriveComboBox {
    Q_OBJECT
public:
    explicit TQZDriveComboBox(QWidget* parent = nullptr);

    // The letter selected when the last change notification finished.
    char LastDrive = 0;

protected:
    void Change() override;
};

// The file's last write in local time, packed into the 32-bit MS-DOS date and
// time (years 1980 to 2107, seconds in steps of two) and unpacked again, so
// the seconds are always even. -1 when the file is not found or its time has
// no MS-DOS form.
std::time_t FileDateTime(std::string_view fileName);

// The packing itself, for a local broken-down time; 0 when it has no form.
std::uint32_t PackDosDateTime(const std::tm& local);
std::tm UnpackDosDateTime(std::uint32_t packed);
