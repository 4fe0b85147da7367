// kestrix-drives: the drive letters as Kestrix sees them, one line per
// mapped letter, for users who want to know what stands behind a letter
// (and for scripts and tests).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/LinuxPlatform.h"

namespace {

const char* const kUsage =
    "Usage: kestrix-drives [-v|--verbose] [LETTER...]\n"
    "Prints the drive letters as Kestrix sees them: one line per mapped letter\n"
    "(or per LETTER given), with these fields separated by a tab:\n"
    "  1 letter and colon        (C:)\n"
    "  2 type code               (0 unknown, 2 removable, 3 fixed, 4 remote,\n"
    "                             5 CD/DVD, 6 RAM disk)\n"
    "  3 type text               (Fixed, Removable, Remote, CDROM, RamDisk, ...)\n"
    "  4 root path               (C:\\)\n"
    "  5 mount point             (the folder behind the letter; empty for a\n"
    "                             drive without medium)\n"
    "  6 total bytes             (-1 when the drive does not answer)\n"
    "  7 free bytes available to you (-1 when the drive does not answer)\n"
    "  8 volume label\n"
    "  9 serial number           (8 hex digits)\n"
    " 10 file system             (as the mount table names it)\n"
    " 11 cluster size in bytes   (-1 when the drive does not answer)\n"
    " 12 display name            (as the drive rows show it)\n"
    "In names and folders, a backslash is written as \\\\ and a control\n"
    "character (a byte below 32, or 127: tab, newline, ...) as \\ooo, a\n"
    "backslash and its code in three octal digits (a tab is \\011), so\n"
    "that the fields stay on one line and every text can be read back.\n"
    "With -v, the mounts that got no letter follow, one per line:\n"
    "  #  mount point  file system  source  reason\n"
    "KESTRIX_DRIVES, when set, replaces discovery (see the README).\n"
    "For aligned columns: kestrix-drives | column -t -s \"$(printf '\\t')\"\n";

// A backslash doubled, a control character as a backslash and three octal
// digits: a name holding the four characters \011 and one holding a tab
// print differently.
std::string Escape(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string Text(const QString& s)
{
    return Escape(s.toStdString());
}

void PrintDrive(LinuxPlatform& platform, const MappedDrive& drive)
{
    const QString root = QStringLiteral("%1:\\").arg(QLatin1Char(drive.Letter));
    const unsigned type = platform.GetDriveType(root);
    std::int64_t total = -1;
    std::int64_t free = -1;
    if (!platform.GetDiskFreeSpaceEx(root, free, total))
        total = free = -1;
    VolumeInformation volume;
    const bool haveVolume = platform.GetVolumeInformation(root, volume);
    ClusterInfo clusters;
    long long clusterSize = -1;
    if (platform.GetDiskFreeSpace(root, clusters))
        clusterSize = (long long)clusters.SectorsPerCluster * clusters.BytesPerSector;
    QString name;
    platform.ShellDisplayName(root, name);
    char serial[16] = "";
    if (haveVolume)
        std::snprintf(serial, sizeof serial, "%08X", unsigned(volume.SerialNumber));
    // The root path ("C:\") is the one field printed as it is: its form is fixed.
    std::printf("%c:\t%u\t%s\t%s\t%s\t%lld\t%lld\t%s\t%s\t%s\t%lld\t%s\n", drive.Letter, type, DriveTypeText(type),
                root.toStdString().c_str(), Escape(drive.Path).c_str(), (long long)total, (long long)free,
                Text(volume.VolumeName).c_str(), serial, Text(volume.FileSystemName).c_str(), clusterSize,
                Text(name).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    bool verbose = false;
    std::vector<char> letters;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "-v" || arg == "--verbose") {
            verbose = true;
            continue;
        }
        // "D", "d", "D:" or "D:\" name a letter.
        const char c = arg.empty() ? 0 : arg[0];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter || (arg.size() > 1 && arg.substr(1) != ":" && arg.substr(1) != ":\\")) {
            std::fprintf(stderr, "kestrix-drives: unknown argument \"%s\"\n%s", arg.c_str(), kUsage);
            return 2;
        }
        letters.push_back(char(c >= 'a' ? c - 'a' + 'A' : c));
    }

    LinuxPlatform platform;
    const std::shared_ptr<const DriveMapSnapshot> map = platform.Map().Current();
    int status = 0;
    if (letters.empty()) {
        for (const MappedDrive& d : map->Drives)
            PrintDrive(platform, d);
    } else {
        for (char l : letters) {
            if (const MappedDrive* d = map->Find(l)) {
                PrintDrive(platform, *d);
            } else {
                std::fprintf(stderr, "kestrix-drives: %c: is not mapped\n", l);
                status = 1;
            }
        }
    }
    if (verbose)
        for (const LeftOutMount& m : map->LeftOut)
            std::printf("#\t%s\t%s\t%s\t%s\n", Escape(m.MountPoint).c_str(), Escape(m.FsType).c_str(),
                        Escape(m.Source).c_str(), m.Reason.c_str());
    return status;
}
