// kestrix-drives: the drive letters as Kestrix sees them, one line per
// mapped letter, for users who want to know what stands behind a letter
// (and for scripts and tests). It builds the same drive map and works the
// figures out with the same functions as the program's Linux platform
// (DriveFigures.h), without Qt: a command-line tool should start at once.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <sys/statvfs.h>
#include <vector>

#include "platform/DriveFigures.h"
#include "platform/DriveMap.h"
#include "platform/DriveTypes.h"
#include "platform/TimedStatvfs.h"

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

std::string VolumeSerialText(std::uint32_t serial)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", unsigned(serial));
    return buf;
}

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

// The statvfs answers of the drives that can hang (network, FUSE), asked
// all together before the first line: one wait of a second at most however
// many of them are dead, each reading -1.
using HangProneAnswers = std::map<std::string, TimedStatvfs::Answer>;

HangProneAnswers AskHangProne(TimedStatvfs& timed, const std::vector<const MappedDrive*>& drives)
{
    std::vector<std::string> paths;
    for (const MappedDrive* d : drives)
        if (!d->Path.empty() && !AnswersAtOnce(*d) && std::find(paths.begin(), paths.end(), d->Path) == paths.end())
            paths.push_back(d->Path);
    const std::vector<TimedStatvfs::Answer> answers = timed.QueryTogether(paths);
    HangProneAnswers byPath;
    for (std::size_t i = 0; i < paths.size(); ++i)
        byPath[paths[i]] = answers[i];
    return byPath;
}

// statvfs of the drive's folder: at once where that cannot block, else the
// answer asked beforehand.
bool Ask(const HangProneAnswers& hangProne, const MappedDrive& drive, struct statvfs& st)
{
    if (drive.Path.empty())
        return false;
    if (AnswersAtOnce(drive))
        return ::statvfs(drive.Path.c_str(), &st) == 0;
    const auto it = hangProne.find(drive.Path);
    if (it == hangProne.end() || it->second.Status != TimedStatvfs::Result::Ok)
        return false;
    st = it->second.Out;
    return true;
}

void PrintDrive(const HangProneAnswers& hangProne, const DriveMapSnapshot& map, const MappedDrive& drive)
{
    const std::string root = std::string(1, drive.Letter) + ":\\";
    long long total = -1, free = -1, clusterSize = -1;
    std::string label, serial, fileSystem;
    struct statvfs st {};
    if (Ask(hangProne, drive, st)) {
        std::int64_t f = 0, t = 0;
        SpaceFigures(st, f, t);
        free = f;
        total = t;
        const VolumeIdentity id = drive.DeviceNode.empty() ? VolumeIdentity() : map.Identity(drive.DeviceNode);
        label = id.Label;
        serial = VolumeSerialText(VolumeSerial(id.Uuid, st.f_fsid));
        fileSystem = drive.Mount.FsType;
        std::uint32_t bytesPerSector = 0, sectorsPerCluster = 0;
        if (ClusterGeometry(drive, st, bytesPerSector, sectorsPerCluster))
            clusterSize = (long long)sectorsPerCluster * bytesPerSector;
    }
    // The root path ("C:\") is the one field printed as it is: its form is fixed.
    std::printf("%c:\t%u\t%s\t%s\t%s\t%lld\t%lld\t%s\t%s\t%s\t%lld\t%s\n", drive.Letter, drive.Type,
                DriveTypeText(drive.Type), root.c_str(), Escape(drive.Path).c_str(), total, free,
                Escape(label).c_str(), serial.c_str(), Escape(fileSystem).c_str(), clusterSize,
                Escape(DisplayName(drive, map)).c_str());
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

    DriveMap drives;
    TimedStatvfs timed;
    const std::shared_ptr<const DriveMapSnapshot> map = drives.Current();
    int status = 0;
    std::vector<const MappedDrive*> shown;
    if (letters.empty()) {
        for (const MappedDrive& d : map->Drives)
            shown.push_back(&d);
    } else {
        for (char l : letters) {
            if (const MappedDrive* d = map->Find(l)) {
                shown.push_back(d);
            } else {
                std::fprintf(stderr, "kestrix-drives: %c: is not mapped\n", l);
                status = 1;
            }
        }
    }
    const HangProneAnswers hangProne = AskHangProne(timed, shown);
    for (const MappedDrive* d : shown)
        PrintDrive(hangProne, *map, *d);
    if (verbose)
        for (const LeftOutMount& m : map->LeftOut)
            std::printf("#\t%s\t%s\t%s\t%s\n", Escape(m.MountPoint).c_str(), Escape(m.FsType).c_str(),
                        Escape(m.Source).c_str(), m.Reason.c_str());
    return status;
}
