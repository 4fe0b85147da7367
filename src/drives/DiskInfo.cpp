#include "DiskInfo.h"

#include <algorithm>
#include <limits>

namespace {

// The volume query's buffers hold 255 characters.
constexpr int kVolumeBuffer = 255;

// clusters x bytes per sector x sectors per cluster, exact; a product beyond
// the signed 64-bit range (which no real volume reaches) stays at its top.
std::int64_t ClusterBytes(std::uint64_t clusters, std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster)
{
    const unsigned __int128 bytes
        = static_cast<unsigned __int128>(clusters) * bytesPerSector * sectorsPerCluster;
    constexpr auto top = static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max());
    return bytes > top ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(bytes);
}

QString RootPath(const QString& letter)
{
    return letter + QStringLiteral(":\\");
}

// Free bytes for the caller and total bytes of drive number n: the Ex form
// where the platform offers it, else the cluster form.
bool QuerySpace(int drive, std::int64_t& freeToCaller, std::int64_t& total)
{
    if (drive < 1 || drive > 26)
        return false;
    Platform& platform = CurrentPlatform();
    const QString root = RootPath(QString(QLatin1Char(char('A' + drive - 1))));
    if (platform.OffersDiskFreeSpaceEx())
        return platform.GetDiskFreeSpaceEx(root, freeToCaller, total);
    ClusterInfo c;
    if (!platform.GetDiskFreeSpace(root, c))
        return false;
    freeToCaller = ClusterBytes(c.NumberOfFreeClusters, c.BytesPerSector, c.SectorsPerCluster);
    total = ClusterBytes(c.TotalNumberOfClusters, c.BytesPerSector, c.SectorsPerCluster);
    return true;
}

} // namespace

std::int64_t DiskSize(int drive)
{
    std::int64_t freeToCaller = 0;
    std::int64_t total = 0;
    return QuerySpace(drive, freeToCaller, total) ? total : -1;
}

std::int64_t DiskFree(int drive)
{
    std::int64_t freeToCaller = 0;
    std::int64_t total = 0;
    return QuerySpace(drive, freeToCaller, total) ? freeToCaller : -1;
}

bool DriveAvailable(QChar letter)
{
    const int drive = int(letter.toUpper().unicode()) - 64;
    TErrorModeGuard quiet;
    return DiskSize(drive) != -1;
}

QString BufferText(const QString& text, int size)
{
    qsizetype end = text.indexOf(QChar(0));
    if (end < 0)
        end = text.size();
    return text.left(std::min<qsizetype>(end, size - 1));
}

TErrorModeGuard::TErrorModeGuard()
    : platform_(CurrentPlatform())
    , previous_(platform_.SetErrorMode(SEM_FAILCRITICALERRORS))
{
}

TErrorModeGuard::~TErrorModeGuard()
{
    platform_.SetErrorMode(previous_);
}

TDiskInfo::TDiskInfo(QObject* owner)
    : QObject(owner)
{
    setDrive(QStringLiteral("C"));
}

void TDiskInfo::setDrive(const QString& drive)
{
    drive_ = drive.left(1);
    Platform& platform = CurrentPlatform();
    const QString root = RootPath(drive_);

    ClusterInfo c;
    if (platform.GetDiskFreeSpace(root, c)) {
        sectorsPerCluster_ = c.SectorsPerCluster;
        bytesPerSector_ = c.BytesPerSector;
        freeClusters_ = c.NumberOfFreeClusters;
        clusters_ = c.TotalNumberOfClusters;
        diskFreeSpace_ = ClusterBytes(freeClusters_, bytesPerSector_, sectorsPerCluster_);
        totalDiskSpace_ = ClusterBytes(clusters_, bytesPerSector_, sectorsPerCluster_);
    }

    VolumeInformation v;
    if (platform.GetVolumeInformation(root, v)) {
        volumeName_ = BufferText(v.VolumeName, kVolumeBuffer);
        fileSystemType_ = BufferText(v.FileSystemName, kVolumeBuffer);
        serialNumber_ = QStringLiteral("%1").arg(v.SerialNumber, 8, 16, QLatin1Char('0')).toUpper();
    } else {
        volumeName_.clear();
        fileSystemType_.clear();
        serialNumber_ = QStringLiteral("00000000");
    }
}

QString TDiskInfo::DriveType() const
{
    return QString::fromLatin1(DriveTypeText(CurrentPlatform().GetDriveType(RootPath(drive_))));
}
