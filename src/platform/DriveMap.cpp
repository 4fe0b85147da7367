#include "DriveMap.h"

#include "DriveTypes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <blkid/blkid.h>
#include <libmount/libmount.h>
#include <libudev.h>

namespace {

// --- small path helpers (mount points are raw bytes, compared as such)

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// Whether `path` is `folder` or lies below it.
bool AtOrBelow(std::string_view path, std::string_view folder)
{
    if (folder == "/")
        return StartsWith(path, "/");
    return path == folder || (StartsWith(path, folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

bool AtOrBelowAny(std::string_view path, std::initializer_list<std::string_view> folders)
{
    return std::any_of(folders.begin(), folders.end(), [&](std::string_view f) { return AtOrBelow(path, f); });
}

bool HasComponent(std::string_view path, std::string_view name)
{
    std::size_t i = 0;
    while (i < path.size()) {
        const std::size_t end = std::min(path.find('/', i), path.size());
        if (path.substr(i, end - i) == name)
            return true;
        i = end + 1;
    }
    return false;
}

std::string BaseName(const std::string& path)
{
    if (path == "/")
        return "/";
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    const std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string ParentOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Lexically normalised absolute path: no "." or ".." components, no double
// or trailing slashes. The file system is not asked (a path on a dead
// network mount must not hang us), so symbolic links stay as written.
std::string NormalizePath(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= path.size()) {
        const std::size_t end = std::min(path.find('/', i), path.size());
        const std::string part = path.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = end + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::string Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string ReadSmallFile(const std::string& path)
{
    std::string out;
    FILE* f = std::fopen(path.c_str(), "re");
    if (!f)
        return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return out;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string RealPath(const std::string& path)
{
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

std::string ReadLinkBase(const std::string& path)
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return BaseName(std::string(buf, std::size_t(n)));
}

// "sr" followed by digits: a SCSI CD/DVD drive.
bool IsOpticalName(std::string_view name)
{
    return name.size() > 2 && StartsWith(name, "sr")
        && std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsRamFs(const std::string& type)
{
    return type == "tmpfs" || type == "ramfs";
}

bool IsSquashImage(const std::string& type)
{
    return type == "squashfs" || type == "fuse.squashfuse" || type == "fuse.snapfuse";
}

// libmount's judgement of a filesystem type.
bool LibmountSays(const std::string& type, int (*predicate)(struct libmnt_fs*))
{
    struct libmnt_fs* fs = mnt_new_fs();
    if (!fs)
        return false;
    mnt_fs_set_fstype(fs, type.c_str());
    const bool yes = predicate(fs) != 0;
    mnt_unref_fs(fs);
    return yes;
}

// Pseudo and system filesystems: never a drive. libmount knows more of
// them; this list keeps the rule independent of the library's version.
bool IsPseudoFs(const std::string& type)
{
    static const std::array<std::string_view, 42> names = {
        "proc", "sysfs", "cgroup", "cgroup2", "devpts", "devtmpfs", "debugfs", "tracefs", "securityfs",
        "pstore", "bpf", "autofs", "mqueue", "hugetlbfs", "configfs", "fusectl", "binfmt_misc", "efivarfs",
        "nsfs", "overlay", "aufs", "fuse.gvfsd-fuse", "fuse.gvfs-fuse-daemon", "fuse.portal",
        "fuse.xdg-document-portal", "fuse.lxcfs", "rpc_pipefs", "nfsd", "selinuxfs", "smackfs",
        "apparmorfs", "sockfs", "pipefs", "anon_inodefs", "bdev", "rootfs", "devfs", "usbfs", "xenfs",
        "resctrl", "cpuset", "pidfs"};
    if (std::find(names.begin(), names.end(), type) != names.end())
        return true;
    return !IsRamFs(type) && LibmountSays(type, mnt_fs_is_pseudofs);
}

bool IsNetworkFs(const std::string& type)
{
    static const std::array<std::string_view, 12> names = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs",
                                                            "9p", "afs", "ceph", "glusterfs", "fuse.glusterfs",
                                                            "fuse.rclone"};
    return std::find(names.begin(), names.end(), type) != names.end() || LibmountSays(type, mnt_fs_is_netfs);
}

// "host:path" or "//host/share".
bool IsNetworkSource(const std::string& source)
{
    if (StartsWith(source, "//") && source.size() > 2)
        return true;
    const std::size_t colon = source.find(':');
    return colon != std::string::npos && colon > 0 && source.find('/') > colon;
}

// A FUSE filesystem that stands on no block device (fuseblk does).
bool IsDevicelessFuse(const std::string& type)
{
    return type == "fuse" || StartsWith(type, "fuse.");
}

// A FUSE filesystem mounted without a subtype shows the plain type "fuse",
// which libmount counts among the pseudo filesystems. With a real source (a
// folder or device, as bindfs gives it, or a network source) it is a
// filesystem a user mounted; the desktop's own FUSE mounts name a program
// ("portal", "gvfsd-fuse") and keep being left out.
bool IsUserFuseMount(const MountRecord& mount)
{
    if (mount.FsType != "fuse")
        return false;
    const std::string& source = mount.Source;
    if (StartsWith(source, "/"))
        return source != "/dev/fuse";
    return IsNetworkSource(source);
}

// The mount table, read by libmount. Lines it cannot parse are skipped.
std::vector<MountRecord> ReadMountTable(const std::string& path)
{
    std::vector<MountRecord> out;
    struct libmnt_table* tb = mnt_new_table();
    if (!tb)
        return out;
    mnt_table_set_parser_errcb(tb, [](struct libmnt_table*, const char*, int) { return 1; });
    if (mnt_table_parse_file(tb, path.c_str()) == 0) {
        struct libmnt_iter* it = mnt_new_iter(MNT_ITER_FORWARD);
        struct libmnt_fs* fs = nullptr;
        while (it && mnt_table_next_fs(tb, it, &fs) == 0) {
            MountRecord r;
            const auto str = [](const char* s) { return s ? std::string(s) : std::string(); };
            r.MountPoint = str(mnt_fs_get_target(fs));
            if (r.MountPoint.empty())
                continue;
            r.Source = str(mnt_fs_get_source(fs));
            r.Root = str(mnt_fs_get_root(fs));
            if (r.Root.empty())
                r.Root = "/";
            r.FsType = str(mnt_fs_get_fstype(fs));
            const dev_t dev = mnt_fs_get_devno(fs);
            r.Major = major(dev);
            r.Minor = minor(dev);
            const char* vfs = mnt_fs_get_vfs_options(fs);
            r.ReadOnly = vfs && mnt_optstr_get_option(vfs, "ro", nullptr, nullptr) == 0;
            out.push_back(std::move(r));
        }
        mnt_free_iter(it);
    }
    mnt_unref_table(tb);
    return out;
}

// Index of the mount that holds `path` (the one with the longest mount point
// at or above it; the later of two on one folder), or -1.
int HoldingMount(const std::vector<MountRecord>& records, const std::string& path)
{
    int best = -1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!AtOrBelow(path, records[i].MountPoint))
            continue;
        if (best < 0 || records[i].MountPoint.size() >= records[std::size_t(best)].MountPoint.size())
            best = int(i);
    }
    return best;
}

struct OpticalDrive {
    std::string Name; // "sr0"
    std::string Dev;  // "11:0"
};

// The optical drives sysfs knows, in natural order (sr2 before sr10).
std::vector<OpticalDrive> ListOpticalDrives(const std::string& sysfs)
{
    std::vector<OpticalDrive> out;
    DIR* d = ::opendir((sysfs + "/block").c_str());
    if (!d)
        return out;
    while (const struct dirent* e = ::readdir(d)) {
        if (IsOpticalName(e->d_name))
            out.push_back({e->d_name, Trim(ReadSmallFile(sysfs + "/block/" + e->d_name + "/dev"))});
    }
    ::closedir(d);
    std::sort(out.begin(), out.end(), [](const OpticalDrive& a, const OpticalDrive& b) {
        return a.Name.size() != b.Name.size() ? a.Name.size() < b.Name.size() : a.Name < b.Name;
    });
    return out;
}

std::vector<std::string> OpticalNames(const std::vector<OpticalDrive>& drives)
{
    std::vector<std::string> names;
    for (const OpticalDrive& d : drives)
        names.push_back(d.Name + "=" + d.Dev);
    return names;
}

// Whether a device hangs below a hot-pluggable bus, read from the
// "subsystem" link of each ancestor in sysfs.
bool BelowHotplugBus(const std::string& deviceDir, const std::string& devicesRoot)
{
    for (std::string d = deviceDir; AtOrBelow(d, devicesRoot) && d != devicesRoot; d = ParentOf(d)) {
        const std::string subsystem = ReadLinkBase(d + "/subsystem");
        if (subsystem == "usb" || subsystem == "mmc" || subsystem == "ieee1394" || subsystem == "firewire"
            || subsystem == "pcmcia")
            return true;
    }
    return false;
}

BlockFacts FactsOfSysfsDir(const std::string& sysfs, const std::string& dir, int depth);

// A device-mapper or md device is removable when any device below it is
// (an encrypted USB stick).
bool AnySlaveRemovable(const std::string& sysfs, const std::string& diskDir, int depth)
{
    if (depth > 4)
        return false;
    DIR* d = ::opendir((diskDir + "/slaves").c_str());
    if (!d)
        return false;
    bool removable = false;
    while (const struct dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        const std::string dir = RealPath(sysfs + "/class/block/" + e->d_name);
        if (!dir.empty() && FactsOfSysfsDir(sysfs, dir, depth + 1).Removable)
            removable = true;
    }
    ::closedir(d);
    return removable;
}

BlockFacts FactsOfSysfsDir(const std::string& sysfs, const std::string& dir, int depth)
{
    BlockFacts f;
    f.Found = true;
    f.Name = BaseName(dir);
    const std::string disk = Exists(dir + "/partition") ? ParentOf(dir) : dir;
    f.DiskName = BaseName(disk);
    const std::string devicesRoot = RealPath(sysfs + "/devices");
    f.Removable = Trim(ReadSmallFile(disk + "/removable")) == "1"
        || (!devicesRoot.empty() && BelowHotplugBus(disk, devicesRoot)) || AnySlaveRemovable(sysfs, disk, depth);
    const std::string lbs = Trim(ReadSmallFile(disk + "/queue/logical_block_size"));
    char* end = nullptr;
    const unsigned long v = std::strtoul(lbs.c_str(), &end, 10);
    if (!lbs.empty() && end && *end == 0 && v > 0 && v <= 65536)
        f.LogicalBlockSize = std::uint32_t(v);
    return f;
}

std::string DeviceNodeOf(const MountRecord& mount, const BlockFacts& facts)
{
    if (facts.Found)
        return "/dev/" + facts.Name;
    return StartsWith(mount.Source, "/dev/") && !IsDevicelessFuse(mount.FsType) ? mount.Source : std::string();
}

} // namespace

// --- KESTRIX_DRIVES

std::optional<unsigned> DriveTypeFromName(const std::string& name)
{
    std::string n;
    for (char c : name)
        n += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (n == "fixed")
        return DRIVE_FIXED;
    if (n == "removable")
        return DRIVE_REMOVABLE;
    if (n == "remote")
        return DRIVE_REMOTE;
    if (n == "cdrom")
        return DRIVE_CDROM;
    if (n == "ramdisk")
        return DRIVE_RAMDISK;
    if (n == "unknown")
        return DRIVE_UNKNOWN;
    return std::nullopt;
}

std::vector<DriveSpec> ParseDriveSpecs(const std::string& value, std::vector<std::string>* errors)
{
    std::vector<DriveSpec> out;
    const auto fail = [&](const std::string& entry, const char* why) {
        if (errors)
            errors->push_back("KESTRIX_DRIVES: ignoring \"" + entry + "\": " + why);
    };
    std::size_t i = 0;
    while (i <= value.size()) {
        const std::size_t end = std::min(value.find(';', i), value.size());
        const std::string entry = Trim(std::string_view(value).substr(i, end - i));
        i = end + 1;
        if (entry.empty())
            continue;
        const char c = entry[0];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (entry.size() < 2 || !letter || entry[1] != '=') {
            fail(entry, "expected X=/path, X=/path@type or X=@type");
            continue;
        }
        DriveSpec spec;
        spec.Letter = char(c >= 'a' ? c - 'a' + 'A' : c);
        std::string rest = entry.substr(2);
        // The text after the last "@" is a type unless it runs on into the
        // path ("/mnt/me@host/data").
        const std::size_t at = rest.rfind('@');
        if (at != std::string::npos && rest.find('/', at) == std::string::npos) {
            spec.Type = DriveTypeFromName(rest.substr(at + 1));
            if (!spec.Type) {
                fail(entry, "unknown type (fixed, removable, remote, cdrom, ramdisk or unknown)");
                continue;
            }
            rest.resize(at);
        }
        if (rest.empty() && !spec.Type) {
            fail(entry, "no folder and no type");
            continue;
        }
        if (!rest.empty() && rest[0] != '/') {
            fail(entry, "the folder must be an absolute path");
            continue;
        }
        if (std::any_of(out.begin(), out.end(), [&](const DriveSpec& s) { return s.Letter == spec.Letter; })) {
            fail(entry, "letter already given");
            continue;
        }
        spec.Path = rest;
        out.push_back(spec);
    }
    return out;
}

// --- classification

BlockFacts ReadBlockFacts(const std::string& sysfsRoot, const MountRecord& mount)
{
    std::string dir;
    if (mount.Major != 0)
        dir = RealPath(sysfsRoot + "/dev/block/" + std::to_string(mount.Major) + ":" + std::to_string(mount.Minor));
    if (dir.empty() && StartsWith(mount.Source, "/dev/")) {
        // /dev/mapper/x and /dev/disk/by-*/ links name the kernel device
        // through their target.
        const std::string node = RealPath(mount.Source);
        dir = RealPath(sysfsRoot + "/class/block/" + BaseName(node.empty() ? mount.Source : node));
    }
    if (dir.empty())
        return {};
    return FactsOfSysfsDir(sysfsRoot, dir, 0);
}

unsigned ClassifyMount(const MountRecord& mount, const BlockFacts& facts)
{
    const std::string device = facts.Found ? facts.DiskName : BaseName(mount.Source);
    if (IsOpticalName(device) || mount.FsType == "iso9660" || mount.FsType == "udf")
        return DRIVE_CDROM;
    if (facts.Found && facts.Removable)
        return DRIVE_REMOVABLE;
    if (IsNetworkFs(mount.FsType) || IsNetworkSource(mount.Source))
        return DRIVE_REMOTE;
    if (IsRamFs(mount.FsType) || (facts.Found && StartsWith(facts.DiskName, "zram")))
        return DRIVE_RAMDISK;
    // (A FUSE filesystem's source is whatever its program says; bindfs of a
    // folder under /dev is no disk.)
    if (facts.Found || mount.Major != 0 || (StartsWith(mount.Source, "/dev/") && !IsDevicelessFuse(mount.FsType)))
        return DRIVE_FIXED;
    return DRIVE_UNKNOWN;
}

std::string ExclusionReason(const MountRecord& mount)
{
    const std::string& mp = mount.MountPoint;
    if (mp == "/")
        return {};
    if (IsPseudoFs(mount.FsType) && !IsUserFuseMount(mount))
        return "pseudo filesystem";
    if (AtOrBelowAny(mp, {"/proc", "/sys", "/dev"}) || (AtOrBelow(mp, "/run") && !AtOrBelow(mp, "/run/media")))
        return "system folder";
    // Containers bind single files (hosts, resolv.conf) onto /etc.
    if (AtOrBelow(mp, "/etc"))
        return "system folder";
    // snapd mounts its images under /snap or /var/lib/snapd/snap.
    if (IsSquashImage(mount.FsType) && HasComponent(mp, "snap"))
        return "snap image";
    // A RAM filesystem for the system's own use (/tmp, /var/run, docker's
    // shm, ...); one a user mounts elsewhere, even below /tmp, is a RAM disk.
    if (IsRamFs(mount.FsType)
        && (mp == "/tmp" || AtOrBelowAny(mp, {"/var", "/usr", "/boot", "/lib", "/lib32", "/lib64", "/libx32", "/bin",
                                              "/sbin", "/snap", "/opt"})))
        return "RAM filesystem in a system folder";
    return {};
}

// --- volume identity

VolumeIdentity ProbeVolumeIdentity(const std::string& deviceNode)
{
    VolumeIdentity id;
    if (deviceNode.empty())
        return id;
    // A probe of the device itself: exact, and what works as root on
    // machines without udev.
    if (blkid_probe pr = blkid_new_probe_from_filename(deviceNode.c_str())) {
        blkid_probe_enable_superblocks(pr, 1);
        blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
        if (blkid_do_safeprobe(pr) == 0) {
            const char* v = nullptr;
            if (blkid_probe_lookup_value(pr, "LABEL", &v, nullptr) == 0 && v)
                id.Label = v;
            if (blkid_probe_lookup_value(pr, "UUID", &v, nullptr) == 0 && v)
                id.Uuid = v;
        }
        blkid_free_probe(pr);
        return id;
    }
    // Not readable (an ordinary user): libblkid's cache, as a root run of
    // blkid left it.
    blkid_cache cache = nullptr;
    if (blkid_get_cache(&cache, nullptr) == 0) {
        if (blkid_dev dev = blkid_get_dev(cache, deviceNode.c_str(), BLKID_DEV_FIND)) {
            blkid_tag_iterate iter = blkid_tag_iterate_begin(dev);
            const char* type = nullptr;
            const char* value = nullptr;
            while (iter && blkid_tag_next(iter, &type, &value) == 0) {
                if (std::strcmp(type, "LABEL") == 0)
                    id.Label = value;
                else if (std::strcmp(type, "UUID") == 0)
                    id.Uuid = value;
            }
            blkid_tag_iterate_end(iter);
        }
        blkid_put_cache(cache);
    }
    if (!id.Label.empty() || !id.Uuid.empty())
        return id;
    // The udev database, where a udev daemon keeps one.
    struct stat st;
    if (::stat(deviceNode.c_str(), &st) != 0 || !S_ISBLK(st.st_mode))
        return id;
    if (struct udev* udev = udev_new()) {
        if (struct udev_device* dev = udev_device_new_from_devnum(udev, 'b', st.st_rdev)) {
            if (const char* v = udev_device_get_property_value(dev, "ID_FS_LABEL"))
                id.Label = v;
            if (const char* v = udev_device_get_property_value(dev, "ID_FS_UUID"))
                id.Uuid = v;
            udev_device_unref(dev);
        }
        udev_unref(udev);
    }
    return id;
}

// --- the snapshot

const MappedDrive* DriveMapSnapshot::Find(char letter) const
{
    if (letter >= 'a' && letter <= 'z')
        letter = char(letter - 'a' + 'A');
    for (const MappedDrive& d : Drives)
        if (d.Letter == letter)
            return &d;
    return nullptr;
}

VolumeIdentity DriveMapSnapshot::Identity(const std::string& deviceNode) const
{
    std::lock_guard<std::mutex> lock(identityMutex_);
    auto it = identities_.find(deviceNode);
    if (it == identities_.end())
        it = identities_.emplace(deviceNode, ProbeVolumeIdentity(deviceNode)).first;
    return it->second;
}

// --- the map

DriveMap::DriveMap() : DriveMap(Options()) {}

DriveMap::DriveMap(Options options) : options_(std::move(options))
{
    // The kernel flags a change of the mount table on this file with
    // POLLPRI; opened before the first parse, so no change slips between.
    if (StartsWith(options_.MountInfo, "/proc/"))
        pollFd_ = ::open(options_.MountInfo.c_str(), O_RDONLY | O_CLOEXEC);
}

DriveMap::~DriveMap()
{
    if (pollFd_ >= 0)
        ::close(pollFd_);
}

unsigned long DriveMap::Generations() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return generations_;
}

bool DriveMap::Changed(const std::optional<std::string>& drives)
{
    bool changed = !current_ || drives != builtDrives_;
    if (StartsWith(options_.MountInfo, "/proc/")) {
        if (pollFd_ < 0)
            return true; // cannot watch it: never trust a cached map
        struct pollfd p = {pollFd_, POLLPRI, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLPRI | POLLERR)))
            changed = true;
    } else {
        // A plain file (tests): its contents are the signature.
        const std::string contents = ReadSmallFile(options_.MountInfo);
        if (contents != fileSignature_) {
            fileSignature_ = contents;
            changed = true;
        }
    }
    const bool discovery = !drives || Trim(*drives).empty();
    const auto now = std::chrono::steady_clock::now();
    if (discovery && !changed && now - opticalListed_ >= options_.OpticalRescan) {
        // Optical drives come and go without a change of the mount table.
        opticalListed_ = now;
        if (OpticalNames(ListOpticalDrives(options_.Sysfs)) != builtOptical_)
            changed = true;
    }
    return changed;
}

std::shared_ptr<const DriveMapSnapshot> DriveMap::Current()
{
    std::optional<std::string> drives = options_.Drives;
    if (!drives) {
        if (const char* env = std::getenv("KESTRIX_DRIVES"))
            drives = std::string(env);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (Changed(drives)) {
        current_ = Build(drives);
        builtDrives_ = drives;
        ++generations_;
    }
    return current_;
}

std::shared_ptr<const DriveMapSnapshot> DriveMap::Build(const std::optional<std::string>& drives)
{
    auto snap = std::make_shared<DriveMapSnapshot>();
    const std::vector<MountRecord> records = ReadMountTable(options_.MountInfo);

    // A mount hidden under a later one on the same folder is not reachable.
    std::vector<bool> visible(records.size(), true);
    for (std::size_t i = 0; i < records.size(); ++i)
        for (std::size_t j = i + 1; j < records.size(); ++j)
            if (records[j].MountPoint == records[i].MountPoint)
                visible[i] = false;

    const auto describe = [&](const MountRecord& mount, const std::string& folder, char letter) {
        MappedDrive d;
        d.Letter = letter;
        d.Path = folder;
        d.Mount = mount;
        const BlockFacts facts = ReadBlockFacts(options_.Sysfs, mount);
        d.Type = mount.MountPoint.empty() ? unsigned(DRIVE_UNKNOWN) : ClassifyMount(mount, facts);
        d.DeviceNode = DeviceNodeOf(mount, facts);
        d.LogicalBlockSize = facts.LogicalBlockSize;
        d.FolderName = BaseName(folder);
        return d;
    };

    if (drives && !Trim(*drives).empty()) {
        std::vector<std::string> errors;
        const std::vector<DriveSpec> specs = ParseDriveSpecs(*drives, &errors);
        std::vector<MountRecord> reachable;
        for (std::size_t i = 0; i < records.size(); ++i)
            if (visible[i])
                reachable.push_back(records[i]);
        if (*drives != reportedDrives_) {
            for (const std::string& e : errors)
                std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, e.c_str());
            reportedDrives_ = *drives;
        }
        for (const DriveSpec& spec : specs) {
            MappedDrive d;
            if (spec.Path.empty()) {
                d.Letter = spec.Letter;
            } else {
                const std::string path = NormalizePath(spec.Path);
                const int holder = HoldingMount(reachable, path);
                d = describe(holder >= 0 ? reachable[std::size_t(holder)] : MountRecord(), path, spec.Letter);
            }
            d.Explicit = true;
            if (spec.Type)
                d.Type = *spec.Type;
            snap->Drives.push_back(d);
        }
        std::sort(snap->Drives.begin(), snap->Drives.end(),
                  [](const MappedDrive& a, const MappedDrive& b) { return a.Letter < b.Letter; });
        return snap;
    }

    // Discovery. The root first, then the other mounts in table order (the
    // order they were mounted in), so that of two mounts of one filesystem
    // the first keeps its place and the later one counts as the duplicate.
    std::vector<std::size_t> order;
    for (std::size_t i = records.size(); i-- > 0;)
        if (records[i].MountPoint == "/" && visible[i]) {
            order.push_back(i);
            break;
        }
    const bool haveRoot = !order.empty();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].MountPoint != "/")
            order.push_back(i);
        else if (!visible[i])
            snap->LeftOut.push_back({"/", records[i].FsType, records[i].Source,
                                     "covered by a later mount on the same folder"});

    std::vector<std::size_t> kept;
    for (std::size_t i : order) {
        const MountRecord& r = records[i];
        std::string reason = ExclusionReason(r);
        if (reason.empty() && !visible[i])
            reason = "covered by a later mount on the same folder";
        if (reason.empty()) {
            // A second mount of a filesystem already kept: the same device
            // and source, showing the same tree, a part of it (a bind
            // mount) or a tree that holds it (btrfs' top level mounted
            // beside its subvolumes). Sibling btrfs subvolumes show
            // different trees and each keep their letter. The device
            // number keeps apart filesystems without a device path
            // ("tmpfs").
            for (std::size_t k : kept) {
                const MountRecord& o = records[k];
                if (o.Major == r.Major && o.Minor == r.Minor && o.Source == r.Source
                    && (AtOrBelow(r.Root, o.Root) || AtOrBelow(o.Root, r.Root))) {
                    reason = "second mount of the filesystem on " + o.MountPoint;
                    break;
                }
            }
        }
        if (!reason.empty()) {
            snap->LeftOut.push_back({r.MountPoint, r.FsType, r.Source, reason});
            continue;
        }
        kept.push_back(i);
    }

    std::vector<std::size_t> others(kept.begin() + (haveRoot ? 1 : 0), kept.end());
    std::sort(others.begin(), others.end(),
              [&](std::size_t a, std::size_t b) { return records[a].MountPoint < records[b].MountPoint; });

    if (haveRoot) {
        snap->Drives.push_back(describe(records[kept.front()], "/", 'C'));
    } else {
        // No entry for "/" (a chroot): the letter stays, its type unknown.
        MappedDrive d = describe(MountRecord(), "/", 'C');
        snap->Drives.push_back(d);
    }
    char next = 'D';
    for (std::size_t i : others) {
        const MountRecord& r = records[i];
        if (next > 'Z') {
            snap->LeftOut.push_back({r.MountPoint, r.FsType, r.Source, "no letter left"});
            continue;
        }
        snap->Drives.push_back(describe(r, r.MountPoint, next++));
    }

    // Optical drives whose medium is not mounted: a letter after the
    // mounted drives, answering no query.
    const std::vector<OpticalDrive> optical = ListOpticalDrives(options_.Sysfs);
    builtOptical_ = OpticalNames(optical);
    opticalListed_ = std::chrono::steady_clock::now();
    for (const OpticalDrive& o : optical) {
        const bool mounted = std::any_of(records.begin(), records.end(), [&](const MountRecord& r) {
            return std::to_string(r.Major) + ":" + std::to_string(r.Minor) == o.Dev
                || r.Source == "/dev/" + o.Name;
        });
        if (mounted)
            continue;
        if (next > 'Z') {
            snap->LeftOut.push_back({"", "", "/dev/" + o.Name, "no letter left"});
            continue;
        }
        MappedDrive d;
        d.Letter = next++;
        d.Type = DRIVE_CDROM;
        d.DeviceNode = "/dev/" + o.Name;
        snap->Drives.push_back(d);
    }
    return snap;
}
