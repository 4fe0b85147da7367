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

#include "DrivesJson.h"
#include "platform/DriveFigures.h"
#include "platform/DriveMap.h"
#include "platform/DriveTypes.h"
#include "platform/TimedStatvfs.h"

namespace {

const char* const kUsage =
    "Usage: kestrix-drives [-v|--verbose] [--json] [LETTER...]\n"
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
    "With --json, a JSON array of one object per letter instead, with the\n"
    "fields letter, type, type_text, root, mount_point, total, free, label,\n"
    "serial, file_system, cluster_size, display_name (figures as numbers);\n"
    "with -v --json an object {\"drives\": [...], \"left_out\": [...]}, each\n"
    "mount left out with mount_point, file_system, source and reason. A name\n"
    "that is not valid UTF-8 reads with U+FFFD for each invalid byte, and its\n"
    "exact bytes follow in hex in a field named after it plus \"_hex\".\n"
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

// What the tool prints of one letter.
struct DriveRecord {
    char Letter = 0;
    unsigned Type = 0;
    std::string Root;
    std::string MountPoint;
    std::int64_t Total = -1;
    std::int64_t Free = -1;
    std::string Label;
    std::string Serial;
    std::string FileSystem;
    std::int64_t ClusterSize = -1;
    std::string DisplayName;
};

DriveRecord Query(const HangProneAnswers& hangProne, const DriveMapSnapshot& map, const MappedDrive& drive)
{
    DriveRecord r;
    r.Letter = drive.Letter;
    r.Type = drive.Type;
    r.Root = std::string(1, drive.Letter) + ":\\";
    r.MountPoint = drive.Path;
    struct statvfs st {};
    if (Ask(hangProne, drive, st)) {
        SpaceFigures(st, r.Free, r.Total);
        const VolumeIdentity id = drive.DeviceNode.empty() ? VolumeIdentity() : map.Identity(drive.DeviceNode);
        r.Label = id.Label;
        r.Serial = VolumeSerialText(VolumeSerial(id.Uuid, st.f_fsid));
        r.FileSystem = drive.Mount.FsType;
        std::uint32_t bytesPerSector = 0, sectorsPerCluster = 0;
        if (ClusterGeometry(drive, st, bytesPerSector, sectorsPerCluster))
            r.ClusterSize = std::int64_t(sectorsPerCluster) * bytesPerSector;
    }
    r.DisplayName = DisplayName(drive, map);
    return r;
}

void PrintText(const DriveRecord& r)
{
    // The root path ("C:\") is the one field printed as it is: its form is fixed.
    std::printf("%c:\t%u\t%s\t%s\t%s\t%lld\t%lld\t%s\t%s\t%s\t%lld\t%s\n", r.Letter, r.Type, DriveTypeText(r.Type),
                r.Root.c_str(), Escape(r.MountPoint).c_str(), (long long)r.Total, (long long)r.Free,
                Escape(r.Label).c_str(), r.Serial.c_str(), Escape(r.FileSystem).c_str(), (long long)r.ClusterSize,
                Escape(r.DisplayName).c_str());
}

std::string Json(const DriveRecord& r)
{
    drivesjson::Object o;
    o.Text("letter", std::string{r.Letter, ':'})
        .Number("type", r.Type)
        .Text("type_text", DriveTypeText(r.Type))
        .Text("root", r.Root)
        .Text("mount_point", r.MountPoint)
        .Number("total", r.Total)
        .Number("free", r.Free)
        .Text("label", r.Label)
        .Text("serial", r.Serial)
        .Text("file_system", r.FileSystem)
        .Number("cluster_size", r.ClusterSize)
        .Text("display_name", r.DisplayName);
    return o.Json();
}

std::string Json(const LeftOutMount& m)
{
    drivesjson::Object o;
    o.Text("mount_point", m.MountPoint).Text("file_system", m.FsType).Text("source", m.Source).Text("reason", m.Reason);
    return o.Json();
}

} // namespace

int main(int argc, char** argv)
{
    bool verbose = false;
    bool json = false;
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
        if (arg == "--json") {
            json = true;
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
    std::vector<DriveRecord> records;
    for (const MappedDrive* d : shown)
        records.push_back(Query(hangProne, *map, *d));

    if (!json) {
        for (const DriveRecord& r : records)
            PrintText(r);
        if (verbose)
            for (const LeftOutMount& m : map->LeftOut)
                std::printf("#\t%s\t%s\t%s\t%s\n", Escape(m.MountPoint).c_str(), Escape(m.FsType).c_str(),
                            Escape(m.Source).c_str(), m.Reason.c_str());
        return status;
    }

    std::vector<std::string> objects;
    for (const DriveRecord& r : records)
        objects.push_back(Json(r));
    if (!verbose) {
        std::printf("%s\n", drivesjson::Array(objects).c_str());
        return status;
    }
    std::vector<std::string> leftOut;
    for (const LeftOutMount& m : map->LeftOut)
        leftOut.push_back(Json(m));
    std::printf("{\n  \"drives\": %s,\n  \"left_out\": %s\n}\n", drivesjson::Array(objects, "  ").c_str(),
                drivesjson::Array(leftOut, "  ").c_str());
    return status;
}
