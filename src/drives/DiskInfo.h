// What the program learns about a drive: total and free bytes by drive
// number, the availability test, and the disk information component that
// holds cluster geometry, byte counts, label, serial, file system and type
// of one drive at a time. Every query asks the platform afresh.
#pragma once

#include <QChar>
#include <QObject>
#include <QString>
#include <cstdint>

#include "platform/Platform.h"

// Total bytes of drive number `drive` (1 = A .. 26 = Z); -1 when the drive
// does not answer (no medium, no such drive, no access) or the number is
// out of range.
std::int64_t DiskSize(int drive);
// Free bytes available to the caller (quotas applied); -1 as for DiskSize.
std::int64_t DiskFree(int drive);
// Whether the drive of a letter (either case) answers a size query. Asked
// with critical-error boxes suppressed.
bool DriveAvailable(QChar letter);

// The text of a fixed-size zero-terminated buffer of `size` characters: up
// to the first zero, at most size - 1 characters.
QString BufferText(const QString& text, int size);

// Sets the error mode "fail critical errors" for its lifetime and restores
// the previous mode when it ends, also when an exception passes.
class TErrorModeGuard {
public:
    TErrorModeGuard();
    ~TErrorModeGuard();
    TErrorModeGuard(const TErrorModeGuard&) = delete;
    TErrorModeGuard& operator=(const TErrorModeGuard&) = delete;

private:
    Platform& platform_;
    unsigned previous_;
};

// The disk information component: assign Drive, then read the figures.
// Cluster counts are 64-bit, so volumes of more than 2^32 clusters keep exact
// counts and byte products.
class TDiskInfo : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Drive READ Drive WRITE setDrive)
    Q_PROPERTY(quint32 SectorsPerCluster READ SectorsPerCluster)
    Q_PROPERTY(quint32 BytesPerSector READ BytesPerSector)
    Q_PROPERTY(quint64 FreeClusters READ FreeClusters)
    Q_PROPERTY(quint64 Clusters READ Clusters)
    Q_PROPERTY(qint64 DiskFreeSpace READ DiskFreeSpace)
    Q_PROPERTY(qint64 TotalDiskSpace READ TotalDiskSpace)
    Q_PROPERTY(QString DriveType READ DriveType)
    Q_PROPERTY(QString VolumeName READ VolumeName)
    Q_PROPERTY(QString SerialNumber READ SerialNumber)
    Q_PROPERTY(QString FileSystemType READ FileSystemType)

public:
    // Queries drive C at once.
    explicit TDiskInfo(QObject* owner = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString& name) { setObjectName(name); }

    QString Drive() const { return drive_; }
    // Keeps the first character of the text and queries that drive: a failed
    // cluster query keeps the previous drive's six cluster figures; a failed
    // volume query gives an empty label and file system and "00000000".
    void setDrive(const QString& drive);

    std::uint32_t SectorsPerCluster() const { return sectorsPerCluster_; }
    std::uint32_t BytesPerSector() const { return bytesPerSector_; }
    std::uint64_t FreeClusters() const { return freeClusters_; }
    std::uint64_t Clusters() const { return clusters_; }
    // FreeClusters x BytesPerSector x SectorsPerCluster.
    std::int64_t DiskFreeSpace() const { return diskFreeSpace_; }
    // Clusters x BytesPerSector x SectorsPerCluster.
    std::int64_t TotalDiskSpace() const { return totalDiskSpace_; }
    // Asks the drive type afresh on every read.
    QString DriveType() const;
    QString VolumeName() const { return volumeName_; }
    // Eight upper-case hexadecimal digits.
    QString SerialNumber() const { return serialNumber_; }
    QString FileSystemType() const { return fileSystemType_; }

private:
    QString drive_;
    std::uint32_t sectorsPerCluster_ = 0;
    std::uint32_t bytesPerSector_ = 0;
    std::uint64_t freeClusters_ = 0;
    std::uint64_t clusters_ = 0;
    std::int64_t diskFreeSpace_ = 0;
    std::int64_t totalDiskSpace_ = 0;
    QString volumeName_;
    QString serialNumber_ = QStringLiteral("00000000");
    QString fileSystemType_;
};
