#include "cxDrive10.h"

#include "DiskInfo.h"
#include "platform/Platform.h"

namespace {

const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// The buffers of the volume query and of the shell's record hold 260
// characters.
constexpr int kPathBuffer = 260;

} // namespace

TDriveShellInfo::TDriveShellInfo(const QString& rootPath)
{
    QString name;
    if (!rootPath.isEmpty() && CurrentPlatform().ShellDisplayName(rootPath, name))
        displayName_ = BufferText(name, kPathBuffer).trimmed();
}

TDriveInfo::TDriveInfo(int driveIndex)
    : driveIndex_(driveIndex)
{
    if (driveIndex < 0 || driveIndex >= 26)
        return;
    rootPath_ = QStringLiteral("%1:\\").arg(QLatin1Char(kLetters[driveIndex]));
    TErrorModeGuard quiet;
    VolumeInformation v;
    if (CurrentPlatform().GetVolumeInformation(rootPath_, v)) {
        volumeLabel_ = BufferText(v.VolumeName, kPathBuffer).trimmed();
        serialNumber_ = v.SerialNumber;
        maxComponentLength_ = v.MaximumComponentLength;
        fileSystemFlags_ = v.FileSystemFlags;
        fileSystemName_ = BufferText(v.FileSystemName, kPathBuffer).trimmed();
    }
}

std::shared_ptr<TDriveShellInfo> TDriveInfo::ShellInfo() const
{
    if (!shellInfo_)
        shellInfo_ = std::make_shared<TDriveShellInfo>(rootPath_);
    return shellInfo_;
}

std::shared_ptr<TDriveInfo> TcxDriveInfo::Drives(int index) const
{
    return std::make_shared<TDriveInfo>(index);
}

TcxDriveInfo& cxDriveInfo()
{
    static TcxDriveInfo collection;
    return collection;
}
