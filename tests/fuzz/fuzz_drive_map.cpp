// KESTRIX_DRIVES and the drive map on any mount table and sysfs facts. The
// input is the value of KESTRIX_DRIVES, a 00 byte, the mountinfo text, a 00
// byte, and the sysfs facts: one byte per device of a fixed set of disks
// and partitions (SATA, USB, MMC, NVMe, CD/DVD, device mapper, zram) telling
// whether it exists, its "removable" text, its logical block size and the
// bus above it; the bytes after them are a logical block size as text. An
// empty KESTRIX_DRIVES means discovery. A mountinfo text that starts with
// the byte 01 is a table in short: four bytes a mount (mount point, type,
// device and source, root), each picking from lists of the usual ones, so
// that the fuzzer builds well-formed tables of many mounts at once.
//
// Properties of the KESTRIX_DRIVES parser: every non-empty entry is either
// taken or reported, naming it; letters are unique and upper case; a folder
// is absolute; a drive without folder has a type; writing the entries out
// again and parsing that gives the same entries and no report.
//
// Properties of the map, by discovery: C: is "/", letters follow without a
// gap and end by Z:; the mounted drives come in byte order of their mount
// point, then the optical drives without medium; no drive is a pseudo or
// system mount or a second mount of another drive's filesystem; every
// mount of the table has a letter or a reason why not. By KESTRIX_DRIVES:
// exactly the letters given, their types, folders written in normal form.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <fcntl.h>
#include <libmount/libmount.h>
#include <sanitizer/common_interface_defs.h>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "FuzzSupport.h"
#include "platform/DriveMap.h"
#include "platform/Platform.h"

using namespace kestrix::fuzz;

namespace {

struct Device {
    const char* name;
    const char* dev;    // major:minor
    const char* parent; // the disk of a partition
    const char* host;   // the device folder above the disk, below devices/
};

constexpr Device kDevices[] = {
    {"sda", "8:0", nullptr, "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0"},
    {"sda1", "8:1", "sda", nullptr},
    {"sdb", "8:16", nullptr, "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host2/target2:0:0/2:0:0:0"},
    {"sdb1", "8:17", "sdb", nullptr},
    {"mmcblk0", "179:0", nullptr, "platform/mmc0/mmc0:0001"},
    {"mmcblk0p1", "179:1", "mmcblk0", nullptr},
    {"nvme0n1", "259:0", nullptr, "pci0000:00/0000:00:1d.0/nvme/nvme0"},
    {"nvme0n1p2", "259:2", "nvme0n1", nullptr},
    {"sr0", "11:0", nullptr, "pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0"},
    {"sr1", "11:1", nullptr, "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host3/target3:0:0/3:0:0:0"},
    {"dm-0", "253:0", nullptr, "virtual"},
    {"zram0", "252:0", nullptr, "virtual"},
};
constexpr const char* kRemovable[] = {"0\n", "1\n", " 1 ", "yes"};
constexpr const char* kBuses[] = {"pci", "usb", "mmc", "scsi", "ieee1394", "pcmcia", "firewire", nullptr};

void Put(const std::string& path, const std::string& text)
{
    PutFile(QString::fromStdString(path), QByteArray::fromStdString(text));
}

void Link(const std::string& target, const std::string& link)
{
    QDir().mkpath(QString::fromStdString(link.substr(0, link.rfind('/'))));
    Check(::symlink(target.c_str(), link.c_str()) == 0, "cannot link " + link);
}

// A sysfs tree of the devices the facts name.
void BuildSysfs(const std::string& sys, const QByteArray& facts)
{
    QDir(QString::fromStdString(sys)).removeRecursively();
    const std::string lbsText = facts.size() > qsizetype(std::size(kDevices)) ? facts.mid(std::size(kDevices)).toStdString() : "";
    std::string diskDir[std::size(kDevices)];
    for (std::size_t i = 0; i < std::size(kDevices); ++i) {
        const Device& d = kDevices[i];
        const unsigned char f = i < std::size_t(facts.size()) ? static_cast<unsigned char>(facts[qsizetype(i)]) : 0;
        if (!(f & 1))
            continue;
        std::string dir;
        if (d.parent) {
            std::size_t p = 0;
            while (std::string(kDevices[p].name) != d.parent)
                ++p;
            if (diskDir[p].empty())
                continue; // a partition of a disk that is not there
            dir = diskDir[p] + "/" + d.name;
            QDir().mkpath(QString::fromStdString(dir));
            Put(dir + "/partition", "1\n");
        } else {
            const std::string host = sys + "/devices/" + d.host;
            dir = host + "/block/" + d.name;
            QDir().mkpath(QString::fromStdString(dir + "/queue"));
            diskDir[i] = dir;
            Put(dir + "/removable", kRemovable[(f >> 1) & 3]);
            const unsigned lbs = (f >> 3) & 3;
            Put(dir + "/queue/logical_block_size", lbs == 0 ? "512\n" : lbs == 1 ? "4096\n" : lbs == 2 ? "0\n" : lbsText);
            if (const char* bus = kBuses[(f >> 5) & 7]) {
                // The bus of the folder two levels above the disk's host.
                const std::string above = host.substr(0, host.rfind('/', host.rfind('/') - 1));
                if (above.size() > sys.size() + 9)
                    Link(sys + "/bus/" + bus, above + "/subsystem");
            }
            if (std::string(d.name).rfind("sr", 0) == 0) {
                QDir().mkpath(QString::fromStdString(sys + "/block"));
                Link(dir, sys + "/block/" + d.name);
            }
        }
        Put(dir + "/dev", std::string(d.dev) + "\n");
        Link(dir, sys + "/dev/block/" + d.dev);
        Link(dir, sys + "/class/block/" + d.name);
    }
    // The device mapper's device stands on the USB or the SATA partition.
    if (!diskDir[10].empty()) {
        const unsigned char f = facts.size() > 10 ? static_cast<unsigned char>(facts[10]) : 0;
        QDir().mkpath(QString::fromStdString(diskDir[10] + "/slaves"));
        Link(sys + "/class/block/" + (f & 0x80 ? "sdb1" : "sda1"), diskDir[10] + "/slaves/" + (f & 0x80 ? "sdb1" : "sda1"));
    }
}

// A well-formed mount table from four bytes per mount.
QByteArray ShortTable(const QByteArray& code)
{
    static const char* const points[] = {
        "/", "/home", "/media/u/USB", "/media/u/backup", "/mnt/data", "/proc", "/sys/fs/cgroup", "/dev/shm",
        "/run/user/1000", "/run/media/u/X", "/tmp", "/var/tmp", "/snap/core/1", "/boot/efi", "/etc/hosts",
        "/mnt/nfs", "/srv", "/home/u/sub", "/mnt/with\\040space", "/media/cd", "/var/lib/docker", "/opt"};
    static const char* const types[] = {"ext4", "vfat", "btrfs", "xfs", "tmpfs", "ramfs", "proc", "sysfs",
                                        "overlay", "squashfs", "nfs4", "cifs", "fuse.sshfs", "iso9660", "udf",
                                        "devtmpfs", "autofs", "fuse.gvfsd-fuse", "9p", "exfat", "zfs", "fuse"};
    static const char* const devices[][2] = {
        {"8:1", "/dev/sda1"},   {"8:17", "/dev/sdb1"},         {"179:1", "/dev/mmcblk0p1"},
        {"259:2", "/dev/nvme0n1p2"}, {"11:0", "/dev/sr0"},     {"11:1", "/dev/sr1"},
        {"253:0", "/dev/mapper/crypt"}, {"252:0", "/dev/zram0"}, {"0:40", "server:/export"},
        {"0:41", "//host/share"}, {"0:42", "tmpfs"},            {"0:43", "none"},
        {"8:0", "/dev/sda"},    {"7:0", "/dev/loop0"},          {"0:44", "sshfs#u@h:/"}, {"8:1", "/dev/disk/by-label/x"}};
    static const char* const roots[] = {"/", "/", "/", "/sub", "/@home", "/data/x"};
    QByteArray text;
    for (qsizetype i = 0; i + 3 < code.size(); i += 4) {
        const auto at = [&](qsizetype k) { return static_cast<unsigned char>(code[i + k]); };
        const char* const* device = devices[at(2) % std::size(devices)];
        QByteArray point = points[at(0) % std::size(points)];
        if (at(0) >= 0xC0 && point != "/")
            point += "/d" + QByteArray::number(at(0) & 7); // more mounts below
        text += QByteArray::number(100 + i / 4) + " 1 " + device[0] + " " + roots[at(3) % std::size(roots)] + " " + point
                + (at(3) & 0x80 ? " ro" : " rw") + " - " + types[at(1) % std::size(types)] + " " + device[1] + " rw\n";
    }
    return text;
}

// The mounts libmount reads from the table, as the map sees them.
std::size_t MountsIn(const std::string& path)
{
    std::size_t count = 0;
    struct libmnt_table* tb = mnt_new_table();
    mnt_table_set_parser_errcb(tb, [](struct libmnt_table*, const char*, int) { return 1; });
    if (mnt_table_parse_file(tb, path.c_str()) == 0) {
        struct libmnt_iter* it = mnt_new_iter(MNT_ITER_FORWARD);
        struct libmnt_fs* fs = nullptr;
        while (mnt_table_next_fs(tb, it, &fs) == 0)
            if (const char* target = mnt_fs_get_target(fs); target && *target)
                ++count;
        mnt_free_iter(it);
    }
    mnt_unref_table(tb);
    return count;
}

bool AtOrBelow(const std::string& path, const std::string& folder)
{
    if (folder == "/")
        return path.rfind('/', 0) == 0;
    return path == folder || path.rfind(folder + "/", 0) == 0;
}

bool NormalForm(const std::string& p)
{
    if (p.empty() || p[0] != '/')
        return false;
    if (p == "/")
        return true;
    if (p.back() == '/' || p.find("//") != std::string::npos)
        return false;
    for (const char* dots : {"/./", "/../"})
        if ((p + "/").find(dots) != std::string::npos)
            return false;
    return true;
}

std::string LastComponent(const std::string& p)
{
    return p == "/" ? "/" : p.substr(p.rfind('/') + 1);
}

const char* TypeName(unsigned type)
{
    switch (type) {
    case DRIVE_FIXED: return "fixed";
    case DRIVE_REMOVABLE: return "removable";
    case DRIVE_REMOTE: return "remote";
    case DRIVE_CDROM: return "cdrom";
    case DRIVE_RAMDISK: return "ramdisk";
    default: return "unknown";
    }
}

std::string Trimmed(const std::string& s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

bool ValidType(unsigned t)
{
    return t <= DRIVE_RAMDISK && t != DRIVE_NO_ROOT_DIR;
}

void CheckSpecs(const std::string& value, const std::vector<DriveSpec>& specs, const std::vector<std::string>& errors)
{
    std::size_t entries = 0;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(';', start), value.size());
        const std::string entry = Trimmed(value.substr(start, end - start));
        if (!entry.empty()) {
            ++entries;
            const bool taken = std::any_of(specs.begin(), specs.end(), [&](const DriveSpec& s) {
                return s.Letter == (entry[0] & ~0x20) && entry.size() >= 2 && entry[1] == '=';
            });
            const bool reported = std::any_of(errors.begin(), errors.end(), [&](const std::string& e) {
                return e.find("\"" + entry + "\"") != std::string::npos;
            });
            Check(taken || reported, "entry \"" + entry + "\" is taken or reported");
        }
        start = end + 1;
    }
    Check(specs.size() + errors.size() == entries, "each entry is taken or reported once");
    std::set<char> letters;
    std::string again;
    for (const DriveSpec& s : specs) {
        Check(s.Letter >= 'C' && s.Letter <= 'Z' && letters.insert(s.Letter).second, "letters are unique, upper case, C to Z");
        Check(s.Path.empty() || s.Path[0] == '/', "a folder is absolute");
        Check(!s.Path.empty() || s.Type, "a drive without folder has a type");
        Check(!s.Type || ValidType(*s.Type), "a type is one of the six");
        again += std::string(again.empty() ? "" : ";") + s.Letter + "=" + s.Path + (s.Type ? std::string("@") + TypeName(*s.Type) : "");
    }
    std::vector<std::string> errorsAgain;
    const std::vector<DriveSpec> reparsed = ParseDriveSpecs(again, &errorsAgain);
    Check(errorsAgain.empty(), "the entries written out parse without report: " + again);
    Check(reparsed.size() == specs.size(), "the entries written out give as many entries: " + again);
    for (std::size_t i = 0; i < specs.size() && i < reparsed.size(); ++i)
        Check(reparsed[i].Letter == specs[i].Letter && reparsed[i].Path == specs[i].Path && reparsed[i].Type == specs[i].Type,
              "the entries written out give the same entries: " + again);
}

void CheckCommon(const DriveMapSnapshot& map)
{
    char previous = 0;
    for (const MappedDrive& d : map.Drives) {
        Check(d.Letter > previous && d.Letter >= 'C' && d.Letter <= 'Z', "letters C..Z in order");
        previous = d.Letter;
        Check(ValidType(d.Type), "a drive type is one of the six");
        Check(map.Find(d.Letter) == &d && map.Find(char(d.Letter | 0x20)) == &d, "Find gives the letter's drive");
        if (!d.Path.empty()) {
            // Discovery takes the kernel's folders as they are; the kernel
            // writes them in normal form, a fuzzed table need not.
            Check(d.Explicit ? NormalForm(d.Path) : d.Path[0] == '/', "a folder is absolute, given ones in normal form: " + d.Path);
            Check(!d.Explicit || d.FolderName == LastComponent(d.Path), "the folder name is the folder's last component");
        }
    }
    for (char c = 'A'; c <= 'Z'; ++c)
        if (const MappedDrive* d = map.Find(c))
            Check(d->Letter == c, "Find gives no other letter");
}

void CheckDiscovery(const DriveMapSnapshot& map, std::size_t mounts)
{
    Check(!map.Drives.empty() && map.Drives[0].Letter == 'C' && map.Drives[0].Path == "/", "C: is the root");
    std::size_t lettered = map.Drives[0].Mount.MountPoint.empty() ? 0 : 1;
    bool optical = false;
    std::set<std::string> devices;
    for (std::size_t i = 0; i < map.Drives.size(); ++i) {
        const MappedDrive& d = map.Drives[i];
        Check(d.Letter == char('C' + i), "letters follow without a gap");
        if (i == 0)
            continue;
        if (d.Path.empty()) {
            optical = true;
            Check(d.Type == DRIVE_CDROM && d.DeviceNode.rfind("/dev/sr", 0) == 0 && devices.insert(d.DeviceNode).second,
                  "a drive without medium is an optical drive, once");
            continue;
        }
        Check(!optical, "optical drives without medium come after the mounted ones");
        ++lettered;
        const MountRecord& m = d.Mount;
        Check(d.Path == m.MountPoint, "a mounted drive's folder is its mount point");
        Check(i == 1 || map.Drives[i - 1].Path < d.Path, "mount points in byte order: " + d.Path);
        Check(ExclusionReason(m).empty(), "no drive is a mount left out: " + d.Path);
        Check(!AtOrBelow(m.MountPoint, "/proc") && !AtOrBelow(m.MountPoint, "/sys") && !AtOrBelow(m.MountPoint, "/dev"),
              "no drive is a system folder: " + d.Path);
        for (std::size_t j = 0; j < i; ++j) {
            const MountRecord& o = map.Drives[j].Mount;
            if (o.MountPoint.empty())
                continue;
            Check(!(o.Major == m.Major && o.Minor == m.Minor && o.Source == m.Source
                    && (AtOrBelow(m.Root, o.Root) || AtOrBelow(o.Root, m.Root))),
                  "no drive is a second mount of another's filesystem: " + d.Path);
        }
    }
    std::size_t leftOut = 0;
    for (const LeftOutMount& l : map.LeftOut) {
        Check(!l.Reason.empty(), "a mount left out says why");
        if (!l.MountPoint.empty())
            ++leftOut;
    }
    Check(lettered + leftOut == mounts, "every mount has a letter or a reason: " + std::to_string(lettered) + " + "
                                            + std::to_string(leftOut) + " of " + std::to_string(mounts));
}

// The map reports malformed entries on stderr; the run would drown in them.
// Sanitizer reports go to the real stderr all the same.
int QuietStderr()
{
    static const int saved = [] {
        const int fd = ::dup(2);
        __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(fd)));
        return fd;
    }();
    static const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(null, 2);
    return saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const QList<QByteArray> parts = input.split('\0');
    const std::string drives = parts.value(0).toStdString();
    const QByteArray mountinfo =
        parts.value(1).startsWith('\x01') ? ShortTable(parts.value(1).mid(1)) : parts.value(1);
    const QByteArray facts = parts.value(2);

    std::vector<std::string> errors;
    const std::vector<DriveSpec> specs = ParseDriveSpecs(drives, &errors);
    CheckSpecs(drives, specs, errors);

    const std::string folder = ScratchFolder().toStdString();
    const std::string sys = folder + "/sys";
    BuildSysfs(sys, facts);
    DriveMap::Options options;
    options.MountInfo = folder + "/mountinfo";
    options.Sysfs = sys;
    options.Drives = drives;
    Put(options.MountInfo, mountinfo.toStdString());
    DriveMap driveMap(options);
    const int stderrFd = QuietStderr();
    const std::shared_ptr<const DriveMapSnapshot> map = driveMap.Current();
    ::dup2(stderrFd, 2);
    Check(map != nullptr, "a map is built");
    CheckCommon(*map);

    if (Trimmed(drives).empty()) {
        CheckDiscovery(*map, MountsIn(options.MountInfo));
        return 0;
    }
    Check(map->Drives.size() == specs.size(), "one drive per entry of KESTRIX_DRIVES");
    std::vector<DriveSpec> sorted = specs;
    std::sort(sorted.begin(), sorted.end(), [](const DriveSpec& a, const DriveSpec& b) { return a.Letter < b.Letter; });
    for (std::size_t i = 0; i < sorted.size() && i < map->Drives.size(); ++i) {
        const MappedDrive& d = map->Drives[i];
        const DriveSpec& s = sorted[i];
        Check(d.Letter == s.Letter && d.Explicit, "the letters given");
        Check(!s.Type || d.Type == *s.Type, "the type given");
        Check(d.Path.empty() == s.Path.empty(), "a folder where one is given");
        Check(!d.Path.empty() || d.DeviceNode.empty(), "a drive without medium has no device");
    }
    return 0;
}
