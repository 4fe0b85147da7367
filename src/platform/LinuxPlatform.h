// The real platform on Linux: drive letters mapped onto mounts (DriveMap),
// statvfs with a time limit, volume identity from libblkid, folder listings
// by handle, /proc/meminfo and program launches. Qt Core only, so that a
// command-line tool (kestrix-drives) loads no GUI library: it has no desktop,
// so it opens no files or addresses and knows no screen. The program installs
// LinuxDesktopPlatform (src/app), which adds those two from Qt's GUI.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <sys/statvfs.h>
#include <vector>

#include <QUrl>

#include "DriveFigures.h"
#include "DriveMap.h"
#include "Platform.h"
#include "ProgramFolders.h"
#include "TimedStatvfs.h"

class LinuxPlatform : public Platform {
public:
    struct Options {
        DriveMap::Options Map;
        // The statvfs call for filesystems that can hang, made on a helper
        // with a time limit (tests put in one that blocks); statvfs(3) when
        // empty.
        TimedStatvfs::Function Statvfs;
        // The statvfs call for local filesystems, made at once; statvfs(3)
        // when empty. A test that replaces Statvfs alone may make any folder
        // hang, so then every drive goes through the helper.
        TimedStatvfs::Function DirectStatvfs;
        // How long a drive may take to answer before it counts as not answering.
        std::chrono::milliseconds Timeout{1000};
        std::string Meminfo = "/proc/meminfo";
        // The executable's folder (tests put in their own); the running
        // program's when empty.
        QString ExecutableFolder;
        // The user's folders (tests put in their own); the environment's
        // when not set.
        std::optional<UserFolders> User;
    };

    LinuxPlatform();
    explicit LinuxPlatform(Options options);

    // The map behind the letters (kestrix-drives prints it).
    DriveMap& Map() { return map_; }

    unsigned GetDriveType(const QString& root) override;
    bool GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total) override;
    bool GetDiskFreeSpace(const QString& root, ClusterInfo& info) override;
    bool GetVolumeInformation(const QString& root, VolumeInformation& info) override;
    // Asks every mapped drive that can hang together, within one time limit
    // in all; their answers and those of the local drives asked later serve
    // the rest of the pass.
    void BeginDrivePass() override;
    void EndDrivePass() override;
    // Puts the questions of the coming pass to the drives that can hang now,
    // so that their one wait runs behind the work before it (the program's
    // start). Serves only a pass that begins before their time limit is up
    // and finds the same drives; any later pass asks afresh.
    void AskAhead();
    // How many waits for drives that can hang ran out (each is one time limit).
    int WaitsRunOut() const { return statvfs_.WaitsRunOut(); }
    unsigned SetErrorMode(unsigned mode) override;
    bool ShellDisplayName(const QString& root, QString& name) override;
    std::unique_ptr<DirListing> FindFirst(const QString& path) override;
    bool GlobalMemoryStatus(MemoryStatus& status) override;
    QString ProgramFolder() override;
    QString ExecutableFolder() override;
    QString DataFolder() override;
    bool CreateProgramFolder() override;
    bool ShellOpen(const QString& target) override;
    bool WinExec(const QString& commandLine) override;
    bool WinHelp(const QString& helpFile, unsigned command, unsigned data) override;
    // No screen without a desktop: an empty size.
    QSize ScreenSize() override;

protected:
    // Hands a file or address to the desktop; ShellOpen and WinHelp have
    // checked it already. Without a desktop: refused (false).
    virtual bool OpenUrl(const QUrl& url);

private:
    // The drive of a root path and its statvfs figures; false when the
    // letter is not mapped, has no folder or does not answer in time.
    bool Query(const QString& root, MappedDrive& drive, struct statvfs& out,
               std::shared_ptr<const DriveMapSnapshot>* snapshot = nullptr);

    // Worked out once: where a copy lies does not change while it runs.
    const ProgramFolders& Folders();

    // statvfs of a mapped drive's folder: a local filesystem at once, one
    // that can hang (network, FUSE, or seen not answering) on a helper.
    bool Ask(const MappedDrive& drive, struct statvfs& out);
    // Keeps count of the folders that did not answer in time.
    void Note(const std::string& path, TimedStatvfs::Result result);
    bool CanHang(const MappedDrive& drive);
    // The folders of the mapped drives that can hang, each once.
    std::vector<std::string> HangProne(const DriveMapSnapshot& snap);
    // The drive map: within a pass the one read when it began (the mount
    // table is read again at the next refresh), else the current one.
    std::shared_ptr<const DriveMapSnapshot> Snapshot();

    struct PassAnswer {
        bool Ok = false;
        struct statvfs Out;
    };

    Options options_;
    std::optional<ProgramFolders> folders_;
    DriveMap map_;
    TimedStatvfs statvfs_;
    std::atomic<unsigned> errorMode_{0};
    std::mutex passMutex_;
    int passDepth_ = 0;
    std::map<std::string, PassAnswer> passAnswers_;
    std::shared_ptr<const DriveMapSnapshot> passSnapshot_;
    // Folders whose last query gave up or found an earlier one still hanging.
    std::set<std::string> seenHanging_;
    // The questions put by AskAhead, until the next pass takes or drops them.
    std::optional<TimedStatvfs::Batch> ahead_;
};

// The URL the desktop is asked to open for a file name or an address: an
// existing file (absolute, or relative to the current folder) as a local
// file URL, a text with a scheme ("https://...", "mailto:...") as it is, and
// "www." addresses as http addresses; an empty URL for anything else (a file
// that does not exist).
QUrl ShellTargetUrl(const QString& target);
