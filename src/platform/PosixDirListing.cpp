#include "PosixDirListing.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return nullptr;
        }
        return std::unique_ptr<DirListing>(new PosixDirListing(dir, st.st_dev, st.st_ino));
    }

    ~PosixDirListing() override { ::closedir(dir_); }

    bool Next(DirEntry& entry) override
    {
        for (;;) {
            errno = 0;
            const struct dirent* e = ::readdir(dir_);
            if (!e)
                return false;
            struct stat st;
            if (::fstatat(::dirfd(dir_), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since readdir saw it
            entry.Name = e->d_name;
            entry.SymLink = S_ISLNK(st.st_mode);
            entry.Directory = S_ISDIR(st.st_mode);
            entry.OtherDevice = entry.Directory && st.st_dev != device_;
            // The bytes a file holds; folders, links and special files
            // count as 0, as the design's listings give them.
            entry.Size = S_ISREG(st.st_mode) ? std::int64_t(st.st_size) : 0;
            entry.LinkSize = entry.SymLink ? std::int64_t(st.st_size) : 0;
            return true;
        }
    }

    std::unique_ptr<DirListing> OpenChild(const std::string& name) override
    {
        return FromFd(OpenChildFolder(::dirfd(dir_), name));
    }

    FolderIdentity Identity() const override { return {std::uint64_t(device_), std::uint64_t(inode_)}; }

    std::unique_ptr<DirListing> OpenParent() override
    {
        return FromFd(::openat(::dirfd(dir_), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }

private:
    PosixDirListing(DIR* dir, dev_t device, ino_t inode) : dir_(dir), device_(device), inode_(inode) {}

    DIR* dir_;
    dev_t device_;
    ino_t inode_;
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
