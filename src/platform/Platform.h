// Our small layer in place of the Windows services the program was designed
// on: drive queries, the shell's display names and "open" requests, memory
// status, directory listings, the program folder and the screen.
//
// The program's main() installs the Linux platform (LinuxDesktopPlatform);
// tests install a FakePlatform; nothing falls back to either. This interface
// and the Fake need Qt Core only. Nothing above this layer includes a Linux
// header. Root paths keep the design's form: the letter, a colon and a
// backslash ("C:\"); the layer maps letters onto mounts (see DriveMap.h).
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "DriveTypes.h"

// Error mode bit: fail critical errors instead of asking the user.
constexpr unsigned SEM_FAILCRITICALERRORS = 1;

// Cluster geometry of a volume. The counts are 64-bit: volumes of more than
// 2^32 clusters (16 TiB with 4 KiB clusters) must not wrap.
struct ClusterInfo {
    std::uint32_t SectorsPerCluster = 0;
    std::uint32_t BytesPerSector = 0;
    std::uint64_t NumberOfFreeClusters = 0;
    std::uint64_t TotalNumberOfClusters = 0;
};

struct VolumeInformation {
    QString VolumeName;
    std::uint32_t SerialNumber = 0;
    std::uint32_t MaximumComponentLength = 0;
    std::uint32_t FileSystemFlags = 0;
    QString FileSystemName;
};

// Memory status in 64-bit figures (the design's record held 32-bit counts;
// the arithmetic on them is unchanged).
struct MemoryStatus {
    std::uint32_t Length = 0;
    std::uint32_t MemoryLoad = 0;      // percent of memory in use, 0..100
    std::uint64_t TotalPhys = 0;       // bytes of physical memory
    std::uint64_t AvailPhys = 0;       // bytes of physical memory available
    std::uint64_t TotalPageFile = 0;   // bytes of swap space
    std::uint64_t AvailPageFile = 0;   // bytes of swap space free
    std::uint64_t TotalVirtual = 0;    // address space of the process
    std::uint64_t AvailVirtual = 0;
};

// One entry of a folder listing. Names are raw bytes: a name need not be
// valid UTF-8, and the walk descends by handle, never by re-built paths.
struct DirEntry {
    std::string Name;
    bool Directory = false;   // a real folder; a symbolic link is never one
    bool SymLink = false;
    bool OtherDevice = false; // a folder on another filesystem (a mount point)
    std::int64_t Size = 0;    // the entry's size in bytes (64-bit)
    std::int64_t LinkSize = 0; // a symbolic link's own size (the length of its target)
};

// Which folder a listing shows (device and inode on Linux), so that a walk
// which let a folder's handle go can check that a reopened one is the same.
struct FolderIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

// An open folder listing. Entries come in the order the system returns
// them, "." and ".." included where the system lists them.
class DirListing {
public:
    virtual ~DirListing() = default;
    // Next entry; false at the end (or on a read error, which ends the listing).
    virtual bool Next(DirEntry& entry) = 0;
    // Opens the listing of a sub-folder named by an entry of this listing;
    // nullptr when it cannot be opened.
    virtual std::unique_ptr<DirListing> OpenChild(const std::string& name) = 0;

    // For long walks that keep few handles open. The listed folder's identity
    // (all zero where the platform has none) and the listing of the folder
    // that holds it (its ".."), nullptr when that cannot be opened.
    virtual FolderIdentity Identity() const { return {}; }
    virtual std::unique_ptr<DirListing> OpenParent() { return nullptr; }
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- drives (root paths such as "C:\"; lower-case letters are accepted)
    virtual unsigned GetDriveType(const QString& root) = 0;
    // Whether GetDiskFreeSpaceEx is offered at all (the design falls back to
    // the cluster form when it is not).
    virtual bool OffersDiskFreeSpaceEx() { return true; }
    // Free bytes available to the caller and total bytes; false when the
    // drive does not answer.
    virtual bool GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total) = 0;
    virtual bool GetDiskFreeSpace(const QString& root, ClusterInfo& info) = 0;
    virtual bool GetVolumeInformation(const QString& root, VolumeInformation& info) = 0;
    // A refresh of the drive figures begins or ends (see DrivePass).
    virtual void BeginDrivePass() {}
    virtual void EndDrivePass() {}
    // Sets the error mode, returns the previous one. Linux shows no
    // critical-error box, so this only keeps the value.
    virtual unsigned SetErrorMode(unsigned mode) = 0;
    // The shell's display name of a drive; false when the shell has none.
    virtual bool ShellDisplayName(const QString& root, QString& name) = 0;

    // --- folders: the listing of a path such as "C:\" or "C:\Windows\";
    // nullptr when it cannot be opened.
    virtual std::unique_ptr<DirListing> FindFirst(const QString& path) = 0;

    // --- memory
    virtual bool GlobalMemoryStatus(MemoryStatus& status) = 0;

    // --- the program's files (folders with their trailing separator)
    // "The program's folder", where the program writes its files (INIVAL.INI,
    // kespos.ini): the folder of its own file for a portable copy, the user's
    // configuration folder for an installed one (see ProgramFolders.h).
    virtual QString ProgramFolder() = 0;
    // The folder of the program's own file. The default: the program folder.
    virtual QString ExecutableFolder() { return ProgramFolder(); }
    // Where the program's read-only files (help) lie. The default: the
    // executable's folder.
    virtual QString DataFolder() { return ExecutableFolder(); }
    // Makes the program folder when it does not exist yet (an installed
    // copy's configuration folder is made when the first file is written);
    // false when it cannot be made. The writers of the program's files call
    // it before they write. The default: a folder that always exists.
    virtual bool CreateProgramFolder() { return true; }

    // --- the desktop
    // The shell's "open" of a file name or an address; false when refused.
    virtual bool ShellOpen(const QString& target) = 0;
    // Starts a command line as a program in a normal window.
    virtual bool WinExec(const QString& commandLine) = 0;
    // Asks the help engine for a command on a help file.
    virtual bool WinHelp(const QString& helpFile, unsigned command, unsigned data) = 0;
    // Size of the primary screen in pixels.
    virtual QSize ScreenSize() = 0;
    // Bounds of the whole desktop over every screen; the primary screen at
    // the origin unless the platform knows better.
    virtual QRect DesktopRect() { return QRect(QPoint(0, 0), ScreenSize()); }
};

// One refresh of the drive figures, from its first question to its last,
// run without handling an event in between. The platform may ask the
// drives that can hang all together when it begins, and may answer a
// question it has answered in the pass from that reading: nothing can change
// what the window shows before the pass ends, and nothing read in a pass
// outlives it, so the next refresh asks every drive afresh.
class DrivePass {
public:
    explicit DrivePass(Platform& p) : platform_(p) { platform_.BeginDrivePass(); }
    ~DrivePass() { platform_.EndDrivePass(); }
    DrivePass(const DrivePass&) = delete;
    DrivePass& operator=(const DrivePass&) = delete;

private:
    Platform& platform_;
};

// The platform the program talks to: the one installed last. There is no
// default: with none installed, the call reports it on stderr and aborts.
Platform& CurrentPlatform();

// Installs a platform (not owned); nullptr uninstalls. Returns the
// previously installed platform (nullptr for none).
Platform* InstallPlatform(Platform* platform);

// Installs a platform for the lifetime of the guard (tests).
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& p) : previous_(InstallPlatform(&p)) {}
    ~ScopedPlatform() { InstallPlatform(previous_); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};

// The drive letter of a root path ("C:\" -> 'C'), upper-cased; 0 when the
// path does not start with a letter and a colon.
char DriveLetterOf(const QString& root);
