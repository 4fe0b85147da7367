// The drive map on mount tables of real machines (fixture files) and sysfs
// trees laid out as the kernel does: which mounts get letters, in which
// order, of which type, and which are left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "PlatformTestSupport.h"
#include "platform/DriveMap.h"
#include "platform/Platform.h"

using namespace platformtest;

namespace {

struct Expect {
    char Letter;
    std::string Path;
    unsigned Type;
};

void ExpectDrives(const DriveMapSnapshot& map, const std::vector<Expect>& expected)
{
    ASSERT_EQ(map.Drives.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(std::string(1, expected[i].Letter) + ": " + expected[i].Path);
        EXPECT_EQ(map.Drives[i].Letter, expected[i].Letter);
        EXPECT_EQ(map.Drives[i].Path, expected[i].Path);
        EXPECT_EQ(map.Drives[i].Type, expected[i].Type);
    }
}

const LeftOutMount* LeftOut(const DriveMapSnapshot& map, const std::string& mountPoint)
{
    for (const LeftOutMount& m : map.LeftOut)
        if (m.MountPoint == mountPoint)
            return &m;
    return nullptr;
}

std::size_t CountMountLines(const std::string& file)
{
    std::ifstream in(file);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);)
        n += line.find(" - ") != std::string::npos;
    return n;
}

// The laptop: NVMe disk with three partitions, a USB stick, a USB disk that
// calls itself not removable (4 KiB sectors), an SD card, a SATA DVD writer
// with a disc and an empty USB DVD drive, five snap loop devices.
void BuildLaptopSysfs(SysfsTree& t)
{
    const std::string pci = "pci0000:00";
    t.Bus(pci + "/0000:00:06.0", "pci");
    t.Bus(pci + "/0000:00:06.0/0000:02:00.0", "pci");
    t.Bus(pci + "/0000:00:06.0/0000:02:00.0/nvme/nvme0", "nvme");
    const std::string nvme = t.Disk(pci + "/0000:00:06.0/0000:02:00.0/nvme/nvme0", "nvme0n1", "259:0", false);
    t.Partition(nvme, "nvme0n1p1", "259:1");
    t.Partition(nvme, "nvme0n1p2", "259:2");
    t.Partition(nvme, "nvme0n1p3", "259:3");

    const std::string usb = pci + "/0000:00:14.0/usb2";
    t.Bus(pci + "/0000:00:14.0", "pci");
    t.Bus(usb, "usb");
    for (const char* port : {"2-1", "2-2", "2-3"}) {
        t.Bus(usb + "/" + port, "usb");
        t.Bus(usb + "/" + port + "/" + port + ":1.0", "usb");
    }
    t.Bus(usb + "/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0", "scsi");
    const std::string stick = t.Disk(usb + "/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0", "sdb", "8:16", true);
    t.Partition(stick, "sdb1", "8:17");
    t.Bus(usb + "/2-2/2-2:1.0/host7/target7:0:0/7:0:0:0", "scsi");
    const std::string disk = t.Disk(usb + "/2-2/2-2:1.0/host7/target7:0:0/7:0:0:0", "sdc", "8:32", false, 4096);
    t.Partition(disk, "sdc1", "8:33");
    t.Bus(usb + "/2-3/2-3:1.0/host8/target8:0:0/8:0:0:0", "scsi");
    t.Disk(usb + "/2-3/2-3:1.0/host8/target8:0:0/8:0:0:0", "sr1", "11:1", true, 2048);

    t.Bus(pci + "/0000:00:14.3/mmc_host/mmc0", "mmc_host");
    t.Bus(pci + "/0000:00:14.3/mmc_host/mmc0/mmc0:aaaa", "mmc");
    const std::string card = t.Disk(pci + "/0000:00:14.3/mmc_host/mmc0/mmc0:aaaa", "mmcblk0", "179:0", false);
    t.Partition(card, "mmcblk0p1", "179:1");

    t.Bus(pci + "/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0", "scsi");
    t.Disk(pci + "/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0", "sr0", "11:0", true, 2048);

    for (int i = 0; i < 5; ++i)
        t.Disk("virtual", "loop" + std::to_string(i), "7:" + std::to_string(i), false);
}

// The workstation: btrfs root and /home on one NVMe partition, a USB stick
// with a plain and an encrypted partition, a zram disk, an empty SATA DVD
// drive, a snap loop device.
void BuildWorkstationSysfs(SysfsTree& t)
{
    const std::string pci = "pci0000:00";
    t.Bus(pci + "/0000:00:1d.0/0000:3d:00.0/nvme/nvme0", "nvme");
    const std::string nvme = t.Disk(pci + "/0000:00:1d.0/0000:3d:00.0/nvme/nvme0", "nvme0n1", "259:0", false);
    t.Partition(nvme, "nvme0n1p1", "259:1");
    t.Partition(nvme, "nvme0n1p2", "259:2");
    t.Partition(nvme, "nvme0n1p3", "259:3");
    t.Bus(pci + "/0000:00:14.0/usb1", "usb");
    t.Bus(pci + "/0000:00:14.0/usb1/1-4", "usb");
    t.Bus(pci + "/0000:00:14.0/usb1/1-4/1-4:1.0", "usb");
    const std::string stick = t.Disk(pci + "/0000:00:14.0/usb1/1-4/1-4:1.0/host2/target2:0:0/2:0:0:0", "sda", "8:0", true);
    t.Partition(stick, "sda1", "8:1");
    t.Partition(stick, "sda2", "8:2");
    const std::string dm = t.Disk("virtual", "dm-0", "253:0", false);
    t.Slave(dm, "sda2");
    t.Disk("virtual", "zram1", "252:1", false, 4096);
    t.Disk(pci + "/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0", "sr0", "11:0", true, 2048);
    t.Disk("virtual", "loop0", "7:0", false);
}

DriveMap::Options FixtureOptions(const std::string& mountinfo, const std::string& sysfs)
{
    DriveMap::Options o;
    o.MountInfo = mountinfo;
    o.Sysfs = sysfs;
    o.Drives = std::string(); // discovery, whatever the environment says
    o.OpticalRescan = std::chrono::milliseconds(0);
    return o;
}

} // namespace

TEST(DriveMapDiscovery, LaptopGetsLettersInByteOrderOfMountPoints)
{
    SysfsTree sys;
    BuildLaptopSysfs(sys);
    DriveMap map(FixtureOptions(Fixture("laptop.mountinfo"), sys.Root()));
    const auto snap = map.Current();
    // Byte order: upper case before lower case ("USBSTICK" < "backup drive"),
    // "\040" in the table is a blank; the empty USB DVD drive comes last.
    ExpectDrives(*snap, {{'C', "/", DRIVE_FIXED},
                         {'D', "/boot/efi", DRIVE_FIXED},
                         {'E', "/home", DRIVE_FIXED},
                         {'F', "/media/user/SDCARD", DRIVE_REMOVABLE},
                         {'G', "/media/user/UBUNTU_22", DRIVE_CDROM},
                         {'H', "/media/user/USBSTICK", DRIVE_REMOVABLE},
                         {'I', "/media/user/backup drive", DRIVE_REMOVABLE},
                         {'J', "/mnt/nas", DRIVE_REMOTE},
                         {'K', "/mnt/ramdisk", DRIVE_RAMDISK},
                         {'L', "/mnt/win", DRIVE_REMOTE},
                         {'M', "", DRIVE_CDROM}});
    EXPECT_EQ(snap->Find('c')->DeviceNode, "/dev/nvme0n1p2");
    EXPECT_EQ(snap->Find('C')->LogicalBlockSize, 512u);
    EXPECT_EQ(snap->Find('I')->DeviceNode, "/dev/sdc1");
    EXPECT_EQ(snap->Find('I')->LogicalBlockSize, 4096u);
    EXPECT_EQ(snap->Find('I')->FolderName, "backup drive");
    EXPECT_EQ(snap->Find('M')->DeviceNode, "/dev/sr1");
    EXPECT_EQ(snap->Find('J')->DeviceNode, "");
    EXPECT_EQ(snap->Find('J')->Mount.FsType, "nfs4");
    EXPECT_EQ(snap->Find('N'), nullptr);
}

TEST(DriveMapDiscovery, LaptopLeavesOutSystemPseudoSnapAndSecondMounts)
{
    SysfsTree sys;
    BuildLaptopSysfs(sys);
    DriveMap map(FixtureOptions(Fixture("laptop.mountinfo"), sys.Root()));
    const auto snap = map.Current();
    // Every mount of the table either has a letter or a reason.
    EXPECT_EQ(snap->LeftOut.size() + 10, CountMountLines(Fixture("laptop.mountinfo")));

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"/srv/home-mirror", "second mount of the filesystem on /home"},
        {"/srv/projects", "second mount of the filesystem on /home"},
        {"/tmp", "RAM filesystem in a system folder"},
        {"/var/lib/docker/containers/9a1b2c3d4e5f/mounts/shm", "RAM filesystem in a system folder"},
        {"/snap/core22/1380", "snap image"},
        {"/snap/firefox/4173", "snap image"},
        {"/var/lib/docker/overlay2/4f3c1e9a7b2d/merged", "pseudo filesystem"},
        {"/proc/sys/fs/binfmt_misc", "pseudo filesystem"},
        {"/run/user/1000/gvfs", "pseudo filesystem"},
        {"/run/user/1000", "system folder"},
        {"/run/lock", "system folder"},
        {"/dev/shm", "system folder"},
        {"/run/docker/netns/1f2e3d4c5b6a", "pseudo filesystem"},
    };
    for (const auto& [mountPoint, reason] : expected) {
        SCOPED_TRACE(mountPoint);
        const LeftOutMount* m = LeftOut(*snap, mountPoint);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->Reason, reason);
    }
}

TEST(DriveMapDiscovery, WorkstationBtrfsSubvolumesEncryptedStickAndZram)
{
    SysfsTree sys;
    BuildWorkstationSysfs(sys);
    DriveMap map(FixtureOptions(Fixture("workstation.mountinfo"), sys.Root()));
    const auto snap = map.Current();
    // / and /home are sibling subvolumes of one btrfs: both keep a letter.
    // Mounts under /run/media are drives; the LUKS volume on the USB stick
    // is removable through its slave; zram is a RAM disk.
    ExpectDrives(*snap, {{'C', "/", DRIVE_FIXED},
                         {'D', "/boot", DRIVE_FIXED},
                         {'E', "/boot/efi", DRIVE_FIXED},
                         {'F', "/home", DRIVE_FIXED},
                         {'G', "/home/alice/remote", DRIVE_REMOTE},
                         {'H', "/mnt/backup", DRIVE_REMOTE},
                         {'I', "/mnt/music", DRIVE_REMOTE},
                         {'J', "/mnt/zram", DRIVE_RAMDISK},
                         {'K', "/run/media/alice/KINGSTON", DRIVE_REMOVABLE},
                         {'L', "/run/media/alice/Secret", DRIVE_REMOVABLE},
                         {'M', "", DRIVE_CDROM}});
    EXPECT_EQ(snap->Find('C')->DeviceNode, "/dev/nvme0n1p3");
    EXPECT_EQ(snap->Find('C')->Mount.Root, "/root");
    EXPECT_EQ(snap->Find('F')->Mount.Root, "/home");
    EXPECT_EQ(snap->Find('L')->DeviceNode, "/dev/dm-0");
    EXPECT_EQ(snap->Find('M')->DeviceNode, "/dev/sr0");
    EXPECT_EQ(snap->LeftOut.size() + 10, CountMountLines(Fixture("workstation.mountinfo")));

    // The btrfs top level holds both subvolumes: a second mount of "/".
    ASSERT_NE(LeftOut(*snap, "/mnt/snapshots"), nullptr);
    EXPECT_EQ(LeftOut(*snap, "/mnt/snapshots")->Reason, "second mount of the filesystem on /");
    ASSERT_NE(LeftOut(*snap, "/var/lib/snapd/snap/hello-world/29"), nullptr);
    EXPECT_EQ(LeftOut(*snap, "/var/lib/snapd/snap/hello-world/29")->Reason, "snap image");
    ASSERT_NE(LeftOut(*snap, "/run/user/1000/doc"), nullptr);
}

TEST(DriveMapDiscovery, ContainerRootOverlayFileBindsAndStackedMount)
{
    TempDir sys;
    DriveMap map(FixtureOptions(Fixture("container.mountinfo"), sys.Path()));
    const auto snap = map.Current();
    // C: is "/" even on overlay (type undetermined); /data is the volume
    // mounted over the image's tmpfs; the files bound onto /etc are no drives;
    // the line that is no mount is skipped.
    ExpectDrives(*snap, {{'C', "/", DRIVE_UNKNOWN}, {'D', "/data", DRIVE_FIXED}, {'E', "/var/log/app", DRIVE_FIXED}});
    EXPECT_EQ(snap->Find('D')->Mount.FsType, "ext4");
    for (const char* file : {"/etc/hosts", "/etc/hostname", "/etc/resolv.conf"}) {
        ASSERT_NE(LeftOut(*snap, file), nullptr) << file;
        EXPECT_EQ(LeftOut(*snap, file)->Reason, "system folder");
    }
    const auto covered = std::find_if(snap->LeftOut.begin(), snap->LeftOut.end(), [](const LeftOutMount& m) {
        return m.MountPoint == "/data" && m.FsType == "tmpfs";
    });
    ASSERT_NE(covered, snap->LeftOut.end());
    EXPECT_EQ(covered->Reason, "covered by a later mount on the same folder");
}

// FUSE filesystems mounted without a subtype show the plain type "fuse"
// (bindfs without options, sshfs of old as "sshfs#host:path"): with a real
// source they are a user's filesystems; the kernel's FUSE control
// filesystem and the desktop's portal and gvfs mounts stay out.
TEST(DriveMapDiscovery, PlainFuseMountsWithARealSourceGetLetters)
{
    TempDir dir;
    TempDir sys;
    WriteFile(dir / "mountinfo",
              "20 1 8:2 / / rw,relatime - ext4 /dev/sda2 rw\n"
              "21 20 0:40 / /mnt/photos rw,nosuid,nodev,relatime - fuse /home/user/photos "
              "rw,user_id=0,group_id=0,default_permissions,allow_other\n"
              "22 20 0:41 / /mnt/server rw,nosuid,nodev - fuse sshfs#me@server:/srv rw,user_id=0,group_id=0\n"
              "23 20 0:42 / /mnt/share rw,nosuid,nodev - fuse //nas/share rw,user_id=0,group_id=0\n"
              "24 20 0:43 / /mnt/shm-view rw,nosuid,nodev - fuse /dev/shm rw,user_id=0,group_id=0\n"
              "25 20 0:44 / /sys/fs/fuse/connections rw,relatime - fusectl fusectl rw\n"
              "26 20 0:45 / /run/user/1000/doc rw,nosuid,nodev - fuse.portal portal rw,user_id=1000\n"
              "27 20 0:46 / /run/user/1000/gvfs rw,nosuid,nodev - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000\n"
              "28 20 0:47 / /home/user/.gvfs rw,nosuid,nodev - fuse gvfsd-fuse rw,user_id=1000\n"
              "29 20 0:48 / /home/user/portal rw,nosuid,nodev - fuse portal rw,user_id=1000\n"
              "30 20 0:49 / /mnt/raw rw,nosuid,nodev - fuse /dev/fuse rw,user_id=0\n");
    DriveMap map(FixtureOptions(dir / "mountinfo", sys.Path()));
    const auto snap = map.Current();
    // Byte order of the mount points; no type information for a folder's
    // view, remote where the source names a host.
    ExpectDrives(*snap, {{'C', "/", DRIVE_FIXED},
                         {'D', "/mnt/photos", DRIVE_UNKNOWN},
                         {'E', "/mnt/server", DRIVE_REMOTE},
                         {'F', "/mnt/share", DRIVE_REMOTE},
                         {'G', "/mnt/shm-view", DRIVE_UNKNOWN}});
    const std::pair<const char*, const char*> leftOut[] = {
        {"/sys/fs/fuse/connections", "pseudo filesystem"},
        {"/run/user/1000/doc", "pseudo filesystem"},
        {"/run/user/1000/gvfs", "pseudo filesystem"},
        {"/home/user/.gvfs", "pseudo filesystem"},
        {"/home/user/portal", "pseudo filesystem"},
        {"/mnt/raw", "pseudo filesystem"},
    };
    for (const auto& [mountPoint, reason] : leftOut) {
        SCOPED_TRACE(mountPoint);
        const LeftOutMount* m = LeftOut(*snap, mountPoint);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->Reason, reason);
    }
    EXPECT_EQ(snap->LeftOut.size(), std::size(leftOut));
}

TEST(DriveMapDiscovery, NothingPastZ)
{
    TempDir dir;
    SysfsTree sys;
    sys.Disk("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0", "sr0", "11:0", true, 2048);
    std::string table = "20 1 8:2 / / rw,relatime - ext4 /dev/sda2 rw\n";
    for (int i = 0; i < 30; ++i) {
        char line[160];
        std::snprintf(line, sizeof line, "%d 20 0:%d / /mnt/r%02d rw,relatime - tmpfs r%02d rw,size=1024k\n", 100 + i,
                      100 + i, i, i);
        table += line;
    }
    WriteFile(dir / "mountinfo", table);
    DriveMap map(FixtureOptions(dir / "mountinfo", sys.Root()));
    const auto snap = map.Current();
    // C: and the 23 letters D..Z; /mnt/r23 .. /mnt/r29 and the DVD drive
    // find none left.
    ASSERT_EQ(snap->Drives.size(), 24u);
    EXPECT_EQ(snap->Drives[1].Path, "/mnt/r00");
    EXPECT_EQ(snap->Drives[23].Letter, 'Z');
    EXPECT_EQ(snap->Drives[23].Path, "/mnt/r22");
    ASSERT_NE(LeftOut(*snap, "/mnt/r23"), nullptr);
    EXPECT_EQ(LeftOut(*snap, "/mnt/r29")->Reason, "no letter left");
    EXPECT_TRUE(std::any_of(snap->LeftOut.begin(), snap->LeftOut.end(), [](const LeftOutMount& m) {
        return m.Source == "/dev/sr0" && m.Reason == "no letter left";
    }));
}

TEST(DriveMapDiscovery, TmpfsInstancesAreNeverDuplicatesOfEachOtherAndTheLastRootCounts)
{
    // Every tmpfs has the source "tmpfs": only the device number tells them
    // apart; a bind mount of one of them is a duplicate.
    TempDir dir;
    TempDir sys;
    WriteFile(dir / "mountinfo",
              "19 1 0:2 / / rw - rootfs rootfs rw\n"
              "20 19 8:2 / / rw - ext4 /dev/sda2 rw\n"
              "21 20 0:50 / /mnt/a rw - tmpfs tmpfs rw\n"
              "22 20 0:51 / /mnt/b rw - tmpfs tmpfs rw\n"
              "23 20 0:50 /sub /mnt/c rw - tmpfs tmpfs rw\n");
    DriveMap map(FixtureOptions(dir / "mountinfo", sys.Path()));
    // The initramfs root under the real one is covered.
    const auto snap = map.Current();
    ExpectDrives(*snap, {{'C', "/", DRIVE_FIXED}, {'D', "/mnt/a", DRIVE_RAMDISK}, {'E', "/mnt/b", DRIVE_RAMDISK}});
    ASSERT_EQ(snap->LeftOut.size(), 2u);
    EXPECT_EQ(snap->LeftOut[0].FsType, "rootfs");
    EXPECT_EQ(snap->LeftOut[0].Reason, "covered by a later mount on the same folder");
    EXPECT_EQ(snap->LeftOut[1].MountPoint, "/mnt/c");
}

TEST(DriveMapCache, RebuildsOnlyWhenTheMountTableOrTheOpticalDrivesChange)
{
    TempDir dir;
    SysfsTree sys;
    WriteFile(dir / "mountinfo", "20 1 8:2 / / rw - ext4 /dev/sda2 rw\n");
    DriveMap map(FixtureOptions(dir / "mountinfo", sys.Root()));
    ASSERT_EQ(map.Current()->Drives.size(), 1u);
    for (int i = 0; i < 5; ++i)
        map.Current();
    EXPECT_EQ(map.Generations(), 1u);

    // A stick is plugged in and mounted ...
    WriteFile(dir / "mountinfo", "20 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                 "30 20 8:17 / /media/u/STICK rw - vfat /dev/sdb1 rw\n");
    auto snap = map.Current();
    ExpectDrives(*snap, {{'C', "/", DRIVE_FIXED}, {'D', "/media/u/STICK", DRIVE_FIXED}});
    EXPECT_EQ(map.Generations(), 2u);

    // ... a DVD drive appears without any mount ...
    sys.Disk("pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/host9/target9:0:0/9:0:0:0", "sr0", "11:0", true, 2048);
    snap = map.Current();
    ExpectDrives(*snap, {{'C', "/", DRIVE_FIXED}, {'D', "/media/u/STICK", DRIVE_FIXED}, {'E', "", DRIVE_CDROM}});

    // ... and the stick goes away again.
    WriteFile(dir / "mountinfo", "20 1 8:2 / / rw - ext4 /dev/sda2 rw\n");
    ExpectDrives(*map.Current(), {{'C', "/", DRIVE_FIXED}, {'D', "", DRIVE_CDROM}});
    EXPECT_EQ(map.Generations(), 4u);
}

TEST(DriveSpecs, GoodEntriesInAnyCaseWithTypesAndMediumLessDrives)
{
    std::vector<std::string> errors;
    const auto specs = ParseDriveSpecs(
        "C=/; d=/home@remote ;E=@cdrom;;F=/mnt/me@host/data;g=/media/x@REMOVABLE;H=/r@ramdisk;I=/u@unknown;J=/f@fixed;",
        &errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(specs.size(), 8u);
    EXPECT_EQ(specs[0].Letter, 'C');
    EXPECT_EQ(specs[0].Path, "/");
    EXPECT_FALSE(specs[0].Type.has_value());
    EXPECT_EQ(specs[1].Letter, 'D');
    EXPECT_EQ(specs[1].Path, "/home");
    EXPECT_EQ(specs[1].Type, DRIVE_REMOTE);
    EXPECT_EQ(specs[2].Letter, 'E');
    EXPECT_EQ(specs[2].Path, "");
    EXPECT_EQ(specs[2].Type, DRIVE_CDROM);
    // An "@" inside the path is part of it.
    EXPECT_EQ(specs[3].Path, "/mnt/me@host/data");
    EXPECT_FALSE(specs[3].Type.has_value());
    EXPECT_EQ(specs[4].Letter, 'G');
    EXPECT_EQ(specs[4].Type, DRIVE_REMOVABLE);
    EXPECT_EQ(specs[5].Type, DRIVE_RAMDISK);
    EXPECT_EQ(specs[6].Type, DRIVE_UNKNOWN);
    EXPECT_EQ(specs[7].Type, DRIVE_FIXED);
}

TEST(DriveSpecs, MalformedEntriesAreNamedAndSkipped)
{
    std::vector<std::string> errors;
    const std::vector<std::string> bad = {"CD=/x", "=/x", "1=/x", "[=/x", "H=relative", "I=", "J=/x@bogus",
                                          "C=/again", "K", "L=@"};
    std::string value = "C=/";
    for (const std::string& b : bad)
        value += ";" + b;
    value += ";M=/ok";
    const auto specs = ParseDriveSpecs(value, &errors);
    ASSERT_EQ(specs.size(), 2u);
    EXPECT_EQ(specs[0].Path, "/");
    EXPECT_EQ(specs[1].Letter, 'M');
    ASSERT_EQ(errors.size(), bad.size());
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_NE(errors[i].find("\"" + bad[i] + "\""), std::string::npos) << errors[i];
}

TEST(DriveSpecs, ExplicitMapTakesTypesFromTheMountHoldingEachFolder)
{
    SysfsTree sys;
    BuildLaptopSysfs(sys);
    DriveMap::Options o = FixtureOptions(Fixture("laptop.mountinfo"), sys.Root());
    o.Drives = "c=/;D=/home/user/docs;E=/mnt/nas/films;F=@cdrom;G=/media/user/USBSTICK@fixed;"
               "H=/srv/../mnt/ramdisk/;P=/snap/core22/1380";
    DriveMap map(o);
    const auto snap = map.Current();
    ExpectDrives(*snap, {{'C', "/", DRIVE_FIXED},
                         {'D', "/home/user/docs", DRIVE_FIXED},
                         {'E', "/mnt/nas/films", DRIVE_REMOTE},
                         {'F', "", DRIVE_CDROM},
                         {'G', "/media/user/USBSTICK", DRIVE_FIXED},
                         {'H', "/mnt/ramdisk", DRIVE_RAMDISK},
                         {'P', "/snap/core22/1380", DRIVE_FIXED}});
    EXPECT_EQ(snap->Find('D')->DeviceNode, "/dev/nvme0n1p3");
    EXPECT_EQ(snap->Find('D')->FolderName, "docs");
    EXPECT_EQ(snap->Find('G')->DeviceNode, "/dev/sdb1");
    EXPECT_TRUE(snap->Find('D')->Explicit);
    EXPECT_TRUE(snap->LeftOut.empty());
}

TEST(DriveSpecs, MalformedEntryIsReportedOnceOnStderr)
{
    TempDir dir;
    TempDir sys;
    WriteFile(dir / "mountinfo", "20 1 8:2 / / rw - ext4 /dev/sda2 rw\n");
    DriveMap::Options o = FixtureOptions(dir / "mountinfo", sys.Path());
    o.Drives = "C=/;Q=nowhere;R=/x@floppy";
    DriveMap map(o);
    testing::internal::CaptureStderr();
    map.Current();
    map.Current();
    // A change of the mount table rebuilds the map but says nothing again.
    WriteFile(dir / "mountinfo", "20 1 8:2 / / rw - ext4 /dev/sda2 rw\n21 20 0:50 / /x rw - tmpfs t rw\n");
    EXPECT_EQ(map.Current()->Drives.size(), 1u);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    EXPECT_NE(err.find("\"Q=nowhere\""), std::string::npos) << err;
    EXPECT_NE(err.find("\"R=/x@floppy\""), std::string::npos) << err;
    // Each line names the program that says it: this test binary here,
    // kestrix or kestrix-drives for a user.
    EXPECT_EQ(err.rfind("platform_tests: KESTRIX_DRIVES: ignoring \"Q=nowhere\"", 0), 0u) << err;
    EXPECT_NE(err.find("\nplatform_tests: KESTRIX_DRIVES: ignoring \"R=/x@floppy\""), std::string::npos) << err;
}

TEST(DriveSpecs, EnvironmentIsReadOnEveryQuery)
{
    SysfsTree sys;
    BuildLaptopSysfs(sys);
    DriveMap::Options o = FixtureOptions(Fixture("laptop.mountinfo"), sys.Root());
    o.Drives.reset();
    const char* saved = std::getenv("KESTRIX_DRIVES");
    const std::string savedValue = saved ? saved : "";
    DriveMap map(o);

    setenv("KESTRIX_DRIVES", "Q=/home", 1);
    ExpectDrives(*map.Current(), {{'Q', "/home", DRIVE_FIXED}});
    setenv("KESTRIX_DRIVES", "R=/mnt/win", 1);
    ExpectDrives(*map.Current(), {{'R', "/mnt/win", DRIVE_REMOTE}});
    setenv("KESTRIX_DRIVES", "  ", 1); // blank: discovery
    EXPECT_EQ(map.Current()->Drives.size(), 11u);
    unsetenv("KESTRIX_DRIVES");
    EXPECT_EQ(map.Current()->Drives.size(), 11u);

    if (saved)
        setenv("KESTRIX_DRIVES", savedValue.c_str(), 1);
}

TEST(MountClassification, NetworkSourcesAndTypes)
{
    const auto type = [](const char* fstype, const char* source) {
        MountRecord m;
        m.MountPoint = "/mnt/x";
        m.FsType = fstype;
        m.Source = source;
        return ClassifyMount(m, BlockFacts());
    };
    EXPECT_EQ(type("nfs", "server:/export"), DRIVE_REMOTE);
    EXPECT_EQ(type("fuse.sshfs", "me@host:/home/me"), DRIVE_REMOTE);
    EXPECT_EQ(type("smb3", "//host/share"), DRIVE_REMOTE);
    EXPECT_EQ(type("fuse.rclone", "gdrive:"), DRIVE_REMOTE);
    EXPECT_EQ(type("9p", "hostshare"), DRIVE_REMOTE);
    EXPECT_EQ(type("ceph", "10.0.0.1:6789:/"), DRIVE_REMOTE);
    EXPECT_EQ(type("udf", "/dev/sr0"), DRIVE_CDROM);
    EXPECT_EQ(type("ramfs", "ramfs"), DRIVE_RAMDISK);
    EXPECT_EQ(type("ext4", "/dev/sdz9"), DRIVE_FIXED);
    EXPECT_EQ(type("fuse.encfs", "encfs"), DRIVE_UNKNOWN);
}
