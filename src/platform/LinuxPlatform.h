// The real platform on Linux: drive letters mapped onto mounts (DriveMap),
// statvfs with a time limit, volume identity from libblkid, folder listings
// by handle, /proc/meminfo and program launches. Qt Core only, so that a
// command-line tool (kestrix-drives) loads no GUI library: it has no desktop,
// so it opens no files or addresses and knows no screen. The program installs
// LinuxDesktopPlatform (src/app), which adds those two from Qt's GUI.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include <QUrl>

#include "DriveFigures.h"
#include "DriveMap.h"
#include "Platform.h"
#include "TimedStatvfs.h"

class LinuxPlatform : public Platform {
public:
    struct Options {
        DriveMap::Options Map;
        // The statvfs call (tests put in one that blocks); statvfs(3) when empty.
        TimedStatvfs::Function Statvfs;
        // How long a drive may take to answer before it counts as not answering.
        std::chrono::milliseconds Timeout{1000};
        std::string Meminfo = "/proc/meminfo";
    };

    LinuxPlatform();
    explicit LinuxPlatform(Options options);

    // The map behind the letters (kestrix-drives prints it).
    DriveMap& Map() { return map_; }

    unsigned GetDriveType(const QString& root) override;
    bool GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total) override;
    bool GetDiskFreeSpace(const QString& root, ClusterInfo& info) override;
    bool GetVolumeInformation(const QString& root, VolumeInformation& info) override;
    unsigned SetErrorMode(unsigned mode) override;
    bool ShellDisplayName(const QString& root, QString& name) override;
    std::unique_ptr<DirListing> FindFirst(const QString& path) override;
    bool GlobalMemoryStatus(MemoryStatus& status) override;
    QString ProgramFolder() override;
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

    Options options_;
    DriveMap map_;
    TimedStatvfs statvfs_;
    std::atomic<unsigned> errorMode_{0};
};

// The URL the desktop is asked to open for a file name or an address: an
// existing file (absolute, or relative to the current folder) as a local
// file URL, a text with a scheme ("https://...", "mailto:...") as it is, and
// "www." addresses as http addresses; an empty URL for anything else (a file
// that does not exist).
QUrl ShellTargetUrl(const QString& target);
