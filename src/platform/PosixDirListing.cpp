#include "PosixDirListing.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace {

bool ValidChildName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

int OpenChildFolder(int parentFd, const std::string& name)
{
    if (!ValidChildName(name))
        return -1;
    return ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// What the walk needs of an entry, without following a link.
struct EntryStat {
    mode_t Mode = 0;
    std::int64_t Size = 0;
    dev_t Device = 0;
    bool MountRoot = false;
};

// statx costs what fstatat costs and also tells a mount's root: a bind
// mount of a folder of the same filesystem has the same device, and
// entering it would count its folders twice (or, bound inside itself, once
// more per binding). Where a sandbox refuses statx, fstatat answers alone.
bool StatEntry(int dirFd, const char* name, EntryStat& out)
{
    static std::atomic<bool> statxRefused{false};
    if (!statxRefused.load(std::memory_order_relaxed)) {
        struct statx st;
        if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_SIZE, &st) == 0) {
            out.Mode = st.stx_mode;
            out.Size = std::int64_t(st.stx_size);
            out.Device = makedev(st.stx_dev_major, st.stx_dev_minor);
            out.MountRoot = (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0
                && (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
            return true;
        }
        if (errno != ENOSYS && errno != EPERM)
            return false;
        statxRefused.store(true, std::memory_order_relaxed);
    }
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    out.Mode = st.st_mode;
    out.Size = std::int64_t(st.st_size);
    out.Device = st.st_dev;
    out.MountRoot = false;
    return true;
}

class PosixDirListing : public DirListing {
public:
    // Takes ownership of an open folder descriptor.
    static std::unique_ptr<DirListing> FromFd(int fd)
    {
        if (fd < 0)
            return nullptr;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::unique_ptr<DirListing>(new PosixDirListing(fd, st.st_dev, st.st_ino));
    }

    ~PosixDirListing() override { ::close(fd_); }

    bool Next(DirEntry& entry) override
    {
        for (;;) {
            // The entries straight from getdents64: a walk lists every
            // folder once, and readdir would add two fcntl and a second
            // fstat to each.
            if (pos_ >= len_) {
                if (ended_)
                    return false;
                const ssize_t n = ::getdents64(fd_, buffer_.get(), kBuffer);
                if (n <= 0) {
                    ended_ = true;
                    return false;
                }
                len_ = std::size_t(n);
                pos_ = 0;
            }
            const auto* e = reinterpret_cast<const struct dirent64*>(buffer_.get() + pos_);
            pos_ += e->d_reclen;
            if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0))) {
                // "." and "..": folders by definition, not worth a stat each.
                entry.Name = e->d_name;
                entry.Directory = true;
                entry.SymLink = entry.OtherDevice = false;
                entry.Size = entry.LinkSize = 0;
                return true;
            }
            EntryStat st;
            if (!StatEntry(fd_, e->d_name, st))
                continue; // gone since it was listed
            entry.Name = e->d_name;
            entry.SymLink = S_ISLNK(st.Mode);
            entry.Directory = S_ISDIR(st.Mode);
            entry.OtherDevice = entry.Directory && (st.Device != device_ || st.MountRoot);
            // The bytes a file holds; folders, links and special files
            // count as 0, as the design's listings give them.
            entry.Size = S_ISREG(st.Mode) ? st.Size : 0;
            entry.LinkSize = entry.SymLink ? st.Size : 0;
            return true;
        }
    }

    std::unique_ptr<DirListing> OpenChild(const std::string& name) override
    {
        return FromFd(OpenChildFolder(fd_, name));
    }

    FolderIdentity Identity() const override { return {std::uint64_t(device_), std::uint64_t(inode_)}; }

    std::unique_ptr<DirListing> OpenParent() override
    {
        return FromFd(::openat(fd_, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }

private:
    static constexpr std::size_t kBuffer = 32768;

    PosixDirListing(int fd, dev_t device, ino_t inode)
        : fd_(fd), device_(device), inode_(inode), buffer_(new char[kBuffer])
    {
    }

    int fd_;
    dev_t device_;
    ino_t inode_;
    std::unique_ptr<char[]> buffer_; // new[]: aligned for dirent64
    std::size_t len_ = 0;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<DirListing> OpenDirListing(const std::string& folder, const std::vector<std::string>& components)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const std::string& name : components) {
        if (fd < 0)
            return nullptr;
        const int child = OpenChildFolder(fd, name);
        ::close(fd);
        fd = child;
    }
    return PosixDirListing::FromFd(fd);
}
