#include "DriveFigures.h"

#include <limits>
#include <sys/statvfs.h>

#include "DriveTypes.h"

namespace {

// Windows file-system flags the volume record carries.
constexpr std::uint32_t FILE_CASE_SENSITIVE_SEARCH = 0x1;
constexpr std::uint32_t FILE_CASE_PRESERVED_NAMES = 0x2;
constexpr std::uint32_t FILE_UNICODE_ON_DISK = 0x4;
constexpr std::uint32_t FILE_READ_ONLY_VOLUME = 0x80000;

// a * b in bytes, held at the largest signed 64-bit value instead of wrapping.
std::int64_t Bytes(std::uint64_t count, std::uint64_t unit)
{
    const unsigned __int128 v = static_cast<unsigned __int128>(count) * unit;
    return v > static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max())
        ? std::numeric_limits<std::int64_t>::max() : std::int64_t(v);
}

std::uint64_t FragmentSize(const struct statvfs& st)
{
    return st.f_frsize ? st.f_frsize : st.f_bsize;
}

const char* DefaultName(unsigned type)
{
    switch (type) {
    case DRIVE_REMOVABLE: return "Removable Disk";
    case DRIVE_CDROM: return "CD Drive";
    case DRIVE_REMOTE: return "Network Drive";
    case DRIVE_RAMDISK: return "RAM Disk";
    default: return "Local Disk";
    }
}

bool CaseInsensitiveFs(const std::string& type)
{
    return type == "vfat" || type == "msdos" || type == "exfat" || type == "ntfs" || type == "ntfs3";
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool AnswersAtOnce(const MappedDrive& drive)
{
    const std::string& type = drive.Mount.FsType;
    return !drive.DeviceNode.empty() || type == "tmpfs" || type == "ramfs";
}

void SpaceFigures(const struct statvfs& st, std::int64_t& freeToCaller, std::int64_t& total)
{
    // f_bavail: the blocks an unprivileged caller may still use (reserved
    // blocks and quotas left out), as the free space "available to the caller".
    freeToCaller = Bytes(st.f_bavail, FragmentSize(st));
    total = Bytes(st.f_blocks, FragmentSize(st));
}

bool ClusterGeometry(const MappedDrive& drive, const struct statvfs& st, std::uint32_t& bytesPerSector,
                     std::uint32_t& sectorsPerCluster)
{
    const std::uint64_t cluster = FragmentSize(st);
    if (cluster == 0 || cluster > std::numeric_limits<std::uint32_t>::max())
        return false;
    std::uint32_t sector = drive.LogicalBlockSize ? drive.LogicalBlockSize : 512;
    if (cluster % sector != 0)
        sector = std::uint32_t(cluster);
    bytesPerSector = sector;
    sectorsPerCluster = std::uint32_t(cluster / sector);
    return true;
}

std::uint32_t FileSystemFlags(const std::string& fsType, const struct statvfs& st)
{
    std::uint32_t flags = CaseInsensitiveFs(fsType) ? FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK
                                                    : FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
    if (st.f_flag & ST_RDONLY)
        flags |= FILE_READ_ONLY_VOLUME;
    return flags;
}

std::uint32_t VolumeSerial(const std::string& uuid, unsigned long fsid)
{
    std::string hex;
    for (char c : uuid) {
        if (c == '-')
            continue;
        if (HexValue(c) < 0)
            break;
        hex += c;
    }
    const bool ntfsSerial = hex.size() == 16 && uuid.size() == 16;
    if (ntfsSerial)
        hex = hex.substr(8);
    if (hex.size() < 8)
        return std::uint32_t(fsid & 0xFFFFFFFFu);
    std::uint32_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 4) | std::uint32_t(HexValue(hex[std::size_t(i)]));
    return v;
}

std::string DisplayName(const MappedDrive& drive, const DriveMapSnapshot& map)
{
    std::string base;
    if (!drive.DeviceNode.empty())
        base = map.Identity(drive.DeviceNode).Label;
    if (base.empty())
        base = drive.Path.empty() ? DefaultName(drive.Type) : drive.FolderName;
    return base + " (" + drive.Letter + ":)";
}
