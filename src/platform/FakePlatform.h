// A platform for tests: drives, folder trees, memory figures, a program
// folder and a screen are declared by the test and may change between calls;
// shell, launch and help requests are recorded instead of run.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Platform.h"

struct FakeFolder;

struct FakeEntry {
    std::string Name;
    bool Directory = false;
    bool SymLink = false;
    bool OtherDevice = false;
    std::int64_t Size = 0; // for a symbolic link: its own size, listed as LinkSize
    std::shared_ptr<FakeFolder> Folder; // for folders
};

struct FakeFolder {
    std::vector<FakeEntry> Entries; // in listing order
    bool Unreadable = false;        // the listing cannot be opened
    // Whether the listing returns "." and ".." first (as Linux does).
    bool ListDots = true;

    FakeFolder& AddFile(const std::string& name, std::int64_t size);
    // Adds a symbolic link whose own size (its target's length) is `size`.
    FakeFolder& AddLink(const std::string& name, std::int64_t size);
    // Adds a sub-folder and returns it.
    FakeFolder& AddFolder(const std::string& name);
    FakeFolder* Find(const std::string& name);
};

struct FakeDrive {
    unsigned Type = DRIVE_FIXED;
    bool Answers = true;          // false: no medium / not answering (-1)
    std::int64_t Total = 0;       // bytes
    std::int64_t Free = 0;        // bytes available to the caller
    std::uint32_t SectorsPerCluster = 8;
    std::uint32_t BytesPerSector = 512;
    // Cluster counts; when both are 0 they are derived from Total and Free.
    std::uint64_t Clusters = 0;
    std::uint64_t FreeClusters = 0;
    bool ClusterQueryFails = false;
    bool VolumeQueryFails = false;
    QString Label;
    std::uint32_t Serial = 0;
    QString FileSystem = QStringLiteral("ext4");
    std::uint32_t MaxComponentLength = 255;
    std::uint32_t FileSystemFlags = 0;
    // The shell's display name; empty means "label (X:)", or "Local Disk (X:)"
    // without a label. ShellFails makes the display-name query fail.
    QString DisplayName;
    bool ShellFails = false;
    std::shared_ptr<FakeFolder> Root = std::make_shared<FakeFolder>();
};

class FakePlatform : public Platform {
public:
    FakePlatform();

    // Declares (or replaces) drive X and returns it for further settings.
    FakeDrive& AddDrive(char letter, unsigned type = DRIVE_FIXED, std::int64_t total = 0, std::int64_t free = 0);
    void RemoveDrive(char letter);
    FakeDrive* Drive(char letter);

    // Platform
    unsigned GetDriveType(const QString& root) override;
    bool OffersDiskFreeSpaceEx() override { return OffersEx; }
    bool GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total) override;
    bool GetDiskFreeSpace(const QString& root, ClusterInfo& info) override;
    bool GetVolumeInformation(const QString& root, VolumeInformation& info) override;
    unsigned SetErrorMode(unsigned mode) override;
    bool ShellDisplayName(const QString& root, QString& name) override;
    std::unique_ptr<DirListing> FindFirst(const QString& path) override;
    bool GlobalMemoryStatus(MemoryStatus& status) override;
    QString ProgramFolder() override { return Folder; }
    QString ExecutableFolder() override { return ExeFolder.isEmpty() ? Folder : ExeFolder; }
    QString DataFolder() override { return DataDir.isEmpty() ? ExecutableFolder() : DataDir; }
    // Makes Folder (with its parents) when it is missing.
    bool CreateProgramFolder() override;
    bool ShellOpen(const QString& target) override;
    bool WinExec(const QString& commandLine) override;
    bool WinHelp(const QString& helpFile, unsigned command, unsigned data) override;
    QSize ScreenSize() override { return Screen; }

    // Declared state
    bool OffersEx = true;
    MemoryStatus Memory;
    bool MemoryFails = false;
    QString Folder;            // the program folder, with trailing '/'
    // An installed copy's executable folder, when it is not Folder; its
    // read-only data folder, when it is not the executable's. Empty: the same.
    QString ExeFolder;
    QString DataDir;
    long FolderCreations = 0;  // CreateProgramFolder calls
    QSize Screen{1024, 768};
    unsigned ErrorMode = 0;

    // Recorded requests
    QStringList Opened;        // ShellOpen targets
    QStringList Executed;      // WinExec command lines
    QStringList HelpRequests;  // "file|command|data"
    // Number of drive queries answered (type, space, volume, display name).
    long Queries = 0;

private:
    std::map<char, FakeDrive> drives_;
};
