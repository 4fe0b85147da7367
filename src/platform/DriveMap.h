// The drive map: which folder stands behind each drive letter on Linux.
//
// Letters are dealt afresh from the mount table: C: is "/", D: .. Z: go to
// the other real filesystems in byte order of their mount point, optical
// drives without a mounted medium follow, and past Z: nothing. The variable
// KESTRIX_DRIVES replaces discovery with an explicit map.
//
// Building the map parses the mount table and reads sysfs, which is too slow
// to repeat for every one of the dozens of queries of a refresh. A built map
// (a "generation") is therefore kept until the mount table, the set of
// optical drives or KESTRIX_DRIVES changes. Each query checks the mount
// table (the kernel flags changes on /proc/self/mountinfo) and the variable,
// so a refresh always sees mounts that came and went. Optical drives without
// a medium change no mount; listing them costs more than all the rest, so
// sysfs is looked at for them at most every half second.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// One mount of the mount table with the facts the map needs.
struct MountRecord {
    std::string MountPoint; // decoded bytes
    std::string Source;     // device, "server:/export", "//host/share", "tmpfs", ...
    std::string Root;       // the part of the filesystem mounted there ("/" for all of it)
    std::string FsType;     // as the mount table gives it ("ext4", "fuse.sshfs", ...)
    unsigned Major = 0;
    unsigned Minor = 0;
    bool ReadOnly = false;
};

// What sysfs says about the block device behind a mount.
struct BlockFacts {
    bool Found = false;             // the device has a sysfs entry
    std::string Name;               // kernel name of the device or partition ("sda1")
    std::string DiskName;           // kernel name of the whole disk ("sda")
    bool Removable = false;         // removable = 1, or below a usb/mmc/ieee1394/pcmcia device
    std::uint32_t LogicalBlockSize = 0; // bytes; 0 when sysfs does not say
};

// A letter of the map.
struct MappedDrive {
    char Letter = 0;
    // The folder behind the letter (queried with statvfs, listed by the
    // walk); empty for a drive without medium.
    std::string Path;
    unsigned Type = 0; // DriveTypeCode
    bool Explicit = false; // from KESTRIX_DRIVES
    // The mount that holds Path (its mount point is empty when none is known).
    MountRecord Mount;
    // Device node for volume identity ("/dev/sda1"); empty when the
    // filesystem has no block device.
    std::string DeviceNode;
    std::uint32_t LogicalBlockSize = 0; // 0: unknown
    // The folder name shown when the volume has no label: the last component
    // of Path, "/" for the root.
    std::string FolderName;
};

// A mount that got no letter, and why (for kestrix-drives --verbose and the
// tests).
struct LeftOutMount {
    std::string MountPoint;
    std::string FsType;
    std::string Source;
    std::string Reason;
};

// Volume label and UUID of a device, as libblkid (or udev) knows them.
struct VolumeIdentity {
    std::string Label;
    std::string Uuid;
};

// One generation of the map. Immutable once built, apart from the volume
// identity cache, which fills as devices are asked for.
class DriveMapSnapshot {
public:
    std::vector<MappedDrive> Drives; // in letter order
    std::vector<LeftOutMount> LeftOut;

    // The drive of a letter (either case); nullptr when the letter is not mapped.
    const MappedDrive* Find(char letter) const;

    // Label and UUID of a device node, probed once per generation.
    VolumeIdentity Identity(const std::string& deviceNode) const;

private:
    mutable std::mutex identityMutex_;
    mutable std::map<std::string, VolumeIdentity> identities_;
};

// One entry of KESTRIX_DRIVES: "X=/path", "X=/path@type" or "X=@type".
struct DriveSpec {
    char Letter = 0;
    std::string Path;          // empty: a drive without medium
    std::optional<unsigned> Type; // DriveTypeCode when given
};

// Parses a KESTRIX_DRIVES value. Entries are separated by ";" and trimmed of
// blanks; empty entries are skipped. Letters may be lower case; a letter
// given twice keeps its first entry. Every malformed entry is left out and
// described in `errors` (one line each, naming the entry).
std::vector<DriveSpec> ParseDriveSpecs(const std::string& value, std::vector<std::string>* errors);

// The type named in KESTRIX_DRIVES ("fixed", "removable", "remote",
// "cdrom", "ramdisk", "unknown"; any case); nullopt for another word.
std::optional<unsigned> DriveTypeFromName(const std::string& name);

// The sysfs facts of the block device behind a mount; Found is false when
// the mount has no block device known to sysfs.
BlockFacts ReadBlockFacts(const std::string& sysfsRoot, const MountRecord& mount);

// The drive type of a mount, from its filesystem type, source and device.
unsigned ClassifyMount(const MountRecord& mount, const BlockFacts& facts);

// Why discovery gives no letter to a mount by itself (pseudo filesystem,
// system folder, snap image, ...); empty when it qualifies. Duplicates are
// decided by the map, which sees all mounts.
std::string ExclusionReason(const MountRecord& mount);

// Label and UUID of a device: libblkid's probe where the device is readable
// (root), else libblkid's cache, else the udev database.
VolumeIdentity ProbeVolumeIdentity(const std::string& deviceNode);

class DriveMap {
public:
    struct Options {
        std::string MountInfo = "/proc/self/mountinfo";
        std::string Sysfs = "/sys";
        // nullopt: read KESTRIX_DRIVES from the environment on every query;
        // otherwise this value stands in for it (an empty one: discovery).
        std::optional<std::string> Drives;
        // How long a listing of the optical drives stays good.
        std::chrono::milliseconds OpticalRescan{500};
    };

    DriveMap();
    explicit DriveMap(Options options);
    ~DriveMap();
    DriveMap(const DriveMap&) = delete;
    DriveMap& operator=(const DriveMap&) = delete;

    // The map as it is now: the cached generation while nothing changed,
    // else a freshly built one.
    std::shared_ptr<const DriveMapSnapshot> Current();

    // How many generations were built (tests check the caching with it).
    unsigned long Generations() const;

private:
    bool Changed(const std::optional<std::string>& drives);
    std::shared_ptr<const DriveMapSnapshot> Build(const std::optional<std::string>& drives);

    Options options_;
    mutable std::mutex mutex_;
    std::shared_ptr<const DriveMapSnapshot> current_;
    std::optional<std::string> builtDrives_; // the KESTRIX_DRIVES value of current_
    std::string reportedDrives_;             // the value whose faults went to stderr
    std::vector<std::string> builtOptical_;  // the optical drives seen for current_
    std::chrono::steady_clock::time_point opticalListed_;
    int pollFd_ = -1;                        // the kernel's mount table, polled for changes
    std::string fileSignature_;              // of a mount table file that cannot be polled
    unsigned long generations_ = 0;
};
