// The drive information collection: a record of one drive's volume identity,
// filled once when it is handed out, and the shell's display name of the
// drive. Records are shared and freed when the last holder lets go.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

// The shell's information on a drive's root: the display name, trimmed at
// both ends (empty when the shell has none).
class TDriveShellInfo {
public:
    explicit TDriveShellInfo(const QString& rootPath);

    QString DisplayName() const { return displayName_; }

private:
    QString displayName_;
};

// One drive's volume identity. A failed volume query leaves label and file
// system empty and the numbers 0.
class TDriveInfo {
public:
    // Index 0 = A .. 25 = Z; an index outside that range names no drive and
    // asks nothing.
    explicit TDriveInfo(int driveIndex);

    int DriveIndex() const { return driveIndex_; }
    // "C:\" for index 2.
    QString RootPath() const { return rootPath_; }
    QString VolumeLabel() const { return volumeLabel_; }
    std::uint32_t SerialNumber() const { return serialNumber_; }
    std::uint32_t MaxComponentLength() const { return maxComponentLength_; }
    std::uint32_t FileSystemFlags() const { return fileSystemFlags_; }
    QString FileSystemName() const { return fileSystemName_; }

    // The shell's information on the root, asked the first time it is wanted.
    std::shared_ptr<TDriveShellInfo> ShellInfo() const;

private:
    int driveIndex_;
    QString rootPath_;
    QString volumeLabel_;
    std::uint32_t serialNumber_ = 0;
    std::uint32_t maxComponentLength_ = 0;
    std::uint32_t fileSystemFlags_ = 0;
    QString fileSystemName_;
    mutable std::shared_ptr<TDriveShellInfo> shellInfo_;
};

class TcxDriveInfo {
public:
    // A fresh record of the drive at an index (0 = A .. 25 = Z).
    std::shared_ptr<TDriveInfo> Drives(int index) const;
};

// The program's one collection, created on first use and kept to the end.
TcxDriveInfo& cxDriveInfo();
