#include "FakePlatform.h"

#include <QDir>
#include <QStringList>

FakeFolder& FakeFolder::AddFile(const std::string& name, std::int64_t size)
{
    FakeEntry e;
    e.Name = name;
    e.Size = size;
    Entries.push_back(std::move(e));
    return *this;
}

FakeFolder& FakeFolder::AddLink(const std::string& name, std::int64_t size)
{
    FakeEntry e;
    e.Name = name;
    e.SymLink = true;
    e.Size = size;
    Entries.push_back(std::move(e));
    return *this;
}

FakeFolder& FakeFolder::AddFolder(const std::string& name)
{
    FakeEntry e;
    e.Name = name;
    e.Directory = true;
    e.Folder = std::make_shared<FakeFolder>();
    Entries.push_back(e);
    return *e.Folder;
}

FakeFolder* FakeFolder::Find(const std::string& name)
{
    for (FakeEntry& e : Entries)
        if (e.Directory && e.Name == name)
            return e.Folder.get();
    return nullptr;
}

namespace {

// The folders from the drive's root down to a listed one, so that a listing
// can open the folder that holds it. Unlinked without recursion: a chain may
// be thousands of folders long.
struct FakeChain {
    std::shared_ptr<FakeFolder> Folder;
    std::shared_ptr<const FakeChain> Up;

    ~FakeChain()
    {
        std::shared_ptr<const FakeChain> up = std::move(Up);
        while (up && up.use_count() == 1)
            up = std::move(const_cast<FakeChain&>(*up).Up);
    }
};

class FakeListing : public DirListing {
public:
    explicit FakeListing(std::shared_ptr<const FakeChain> chain)
        : chain_(std::move(chain))
    {
        if (chain_->Folder->ListDots) {
            DirEntry dot;
            dot.Name = ".";
            dot.Directory = true;
            pending_.push_back(dot);
            dot.Name = "..";
            pending_.push_back(dot);
        }
    }

    bool Next(DirEntry& entry) override
    {
        if (!pending_.empty()) {
            entry = pending_.front();
            pending_.erase(pending_.begin());
            return true;
        }
        const FakeFolder& folder = *chain_->Folder;
        if (index_ >= folder.Entries.size())
            return false;
        const FakeEntry& e = folder.Entries[index_++];
        entry.Name = e.Name;
        entry.Directory = e.Directory && !e.SymLink;
        entry.SymLink = e.SymLink;
        entry.OtherDevice = e.OtherDevice;
        entry.Size = e.SymLink ? 0 : e.Size;
        entry.LinkSize = e.SymLink ? e.Size : 0;
        return true;
    }

    std::unique_ptr<DirListing> OpenChild(const std::string& name) override
    {
        for (const FakeEntry& e : chain_->Folder->Entries)
            if (e.Name == name && e.Directory && !e.SymLink && e.Folder && !e.Folder->Unreadable)
                return std::make_unique<FakeListing>(std::make_shared<const FakeChain>(FakeChain{e.Folder, chain_}));
        return nullptr;
    }

    FolderIdentity Identity() const override
    {
        return {1, std::uint64_t(reinterpret_cast<std::uintptr_t>(chain_->Folder.get()))};
    }

    std::unique_ptr<DirListing> OpenParent() override
    {
        if (!chain_->Up || chain_->Up->Folder->Unreadable)
            return nullptr;
        return std::make_unique<FakeListing>(chain_->Up);
    }

private:
    std::shared_ptr<const FakeChain> chain_;
    std::vector<DirEntry> pending_;
    std::size_t index_ = 0;
};

} // namespace

FakePlatform::FakePlatform() = default;

FakeDrive& FakePlatform::AddDrive(char letter, unsigned type, std::int64_t total, std::int64_t free)
{
    FakeDrive d;
    d.Type = type;
    d.Total = total;
    d.Free = free;
    const char key = char(std::toupper(static_cast<unsigned char>(letter)));
    drives_[key] = d;
    return drives_[key];
}

void FakePlatform::RemoveDrive(char letter)
{
    drives_.erase(char(std::toupper(static_cast<unsigned char>(letter))));
}

FakeDrive* FakePlatform::Drive(char letter)
{
    auto it = drives_.find(char(std::toupper(static_cast<unsigned char>(letter))));
    return it == drives_.end() ? nullptr : &it->second;
}

unsigned FakePlatform::GetDriveType(const QString& root)
{
    ++Queries;
    const FakeDrive* d = Drive(DriveLetterOf(root));
    return d ? d->Type : DRIVE_NO_ROOT_DIR;
}

bool FakePlatform::GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total)
{
    ++Queries;
    const FakeDrive* d = Drive(DriveLetterOf(root));
    if (!d || !d->Answers || !OffersEx)
        return false;
    freeToCaller = d->Free;
    total = d->Total;
    return true;
}

bool FakePlatform::GetDiskFreeSpace(const QString& root, ClusterInfo& info)
{
    ++Queries;
    const FakeDrive* d = Drive(DriveLetterOf(root));
    if (!d || !d->Answers || d->ClusterQueryFails)
        return false;
    info.SectorsPerCluster = d->SectorsPerCluster;
    info.BytesPerSector = d->BytesPerSector;
    if (d->Clusters == 0 && d->FreeClusters == 0) {
        const std::uint64_t bpc = std::uint64_t(d->SectorsPerCluster) * d->BytesPerSector;
        info.TotalNumberOfClusters = bpc ? std::uint64_t(d->Total) / bpc : 0;
        info.NumberOfFreeClusters = bpc ? std::uint64_t(d->Free) / bpc : 0;
    } else {
        info.TotalNumberOfClusters = d->Clusters;
        info.NumberOfFreeClusters = d->FreeClusters;
    }
    return true;
}

bool FakePlatform::GetVolumeInformation(const QString& root, VolumeInformation& info)
{
    ++Queries;
    const FakeDrive* d = Drive(DriveLetterOf(root));
    if (!d || !d->Answers || d->VolumeQueryFails)
        return false;
    info.VolumeName = d->Label;
    info.SerialNumber = d->Serial;
    info.MaximumComponentLength = d->MaxComponentLength;
    info.FileSystemFlags = d->FileSystemFlags;
    info.FileSystemName = d->FileSystem;
    return true;
}

unsigned FakePlatform::SetErrorMode(unsigned mode)
{
    const unsigned previous = ErrorMode;
    ErrorMode = mode;
    return previous;
}

bool FakePlatform::ShellDisplayName(const QString& root, QString& name)
{
    ++Queries;
    const char letter = DriveLetterOf(root);
    const FakeDrive* d = Drive(letter);
    if (!d || d->ShellFails)
        return false;
    if (!d->DisplayName.isEmpty())
        name = d->DisplayName;
    else
        name = QStringLiteral("%1 (%2:)").arg(d->Label.isEmpty() ? QStringLiteral("Local Disk") : d->Label)
                   .arg(QLatin1Char(letter));
    return true;
}

std::unique_ptr<DirListing> FakePlatform::FindFirst(const QString& path)
{
    const FakeDrive* d = Drive(DriveLetterOf(path));
    if (!d || !d->Answers || !d->Root || d->Root->Unreadable)
        return nullptr;
    auto chain = std::make_shared<const FakeChain>(FakeChain{d->Root, nullptr});
    const QStringList parts = path.mid(3).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        std::shared_ptr<FakeFolder> next;
        for (const FakeEntry& e : chain->Folder->Entries)
            if (e.Directory && !e.SymLink && e.Name == part.toStdString())
                next = e.Folder;
        if (!next || next->Unreadable)
            return nullptr;
        chain = std::make_shared<const FakeChain>(FakeChain{next, chain});
    }
    return std::make_unique<FakeListing>(chain);
}

bool FakePlatform::GlobalMemoryStatus(MemoryStatus& status)
{
    if (MemoryFails)
        return false;
    const std::uint32_t length = status.Length;
    status = Memory;
    status.Length = length;
    return true;
}

bool FakePlatform::ShellOpen(const QString& target)
{
    Opened << target;
    return true;
}

bool FakePlatform::WinExec(const QString& commandLine)
{
    Executed << commandLine;
    return true;
}

bool FakePlatform::WinHelp(const QString& helpFile, unsigned command, unsigned data)
{
    HelpRequests << QStringLiteral("%1|%2|%3").arg(helpFile).arg(command).arg(data);
    return true;
}

bool FakePlatform::CreateProgramFolder()
{
    ++FolderCreations;
    return !Folder.isEmpty() && QDir().mkpath(Folder);
}
