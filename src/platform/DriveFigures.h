// What the Linux platform answers about a mapped drive, worked out from the
// map and the drive's statvfs record. Qt-free, so that kestrix-drives prints
// exactly what the program shows without loading Qt.
#pragma once

#include <cstdint>
#include <string>

#include "DriveMap.h"

struct statvfs;

// Whether the drive's filesystem answers statvfs without ever blocking: a
// block-backed filesystem or a RAM disk (tmpfs, ramfs). Network and FUSE
// filesystems can hang, so they are asked on a helper with a time limit.
bool AnswersAtOnce(const MappedDrive& drive);

// Free bytes available to the caller (f_bavail) and total bytes (f_blocks),
// each times the fragment size and held at the largest signed 64-bit value
// instead of wrapping (some FUSE filesystems report absurd block counts).
void SpaceFigures(const struct statvfs& st, std::int64_t& freeToCaller, std::int64_t& total);

// The cluster (fragment size) in sectors of the disk's logical block size
// (512 without a disk); a cluster smaller than a sector or not a whole
// number of them counts as one sector, so that sectors x bytes = cluster.
// False for a cluster of 0 or beyond 32 bits.
bool ClusterGeometry(const MappedDrive& drive, const struct statvfs& st, std::uint32_t& bytesPerSector,
                     std::uint32_t& sectorsPerCluster);

// The Windows file-system flags of the volume record: case handling by
// file system, read-only from the mount.
std::uint32_t FileSystemFlags(const std::string& fsType, const struct statvfs& st);

// The volume serial number of a volume: the first 32 bits of its UUID (the
// UUID's first eight hex digits; "ABCD-1234" of a FAT volume gives
// 0xABCD1234). An NTFS UUID, 16 hex digits without dashes, is a 64-bit
// serial of which Windows shows the low 32 bits, so those are taken. Without
// a usable UUID, the low 32 bits of the filesystem id (statvfs f_fsid).
std::uint32_t VolumeSerial(const std::string& uuid, unsigned long fsid);

// The shell's display name of a drive, in UTF-8: its label, else the mount
// folder's name ("/" for the root), else for a drive without medium a name
// by type ("CD Drive", ...); then " (X:)".
std::string DisplayName(const MappedDrive& drive, const DriveMapSnapshot& map);
