// Drive type codes and their texts, Qt-free so that the drive map and
// kestrix-drives can use them without Qt.
#pragma once

// Drive type codes, as the design numbers them.
enum DriveTypeCode : unsigned {
    DRIVE_UNKNOWN = 0,     // type cannot be determined
    DRIVE_NO_ROOT_DIR = 1, // root path does not exist
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

// The text of a drive type code, as the drive information shows it ("Fixed",
// "CDROM", ...); codes above 6 read "No Type Information".
inline const char* DriveTypeText(unsigned code)
{
    switch (code) {
    case DRIVE_NO_ROOT_DIR: return "Root Directory does not exist";
    case DRIVE_REMOVABLE: return "Removable";
    case DRIVE_FIXED: return "Fixed";
    case DRIVE_REMOTE: return "Remote";
    case DRIVE_CDROM: return "CDROM";
    case DRIVE_RAMDISK: return "RamDisk";
    default: return "No Type Information";
    }
}
