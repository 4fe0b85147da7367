#include "CoreTestSupport.h"

#include <QFile>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kestrix::test {

namespace {

// Sets or clears the immutable flag (chattr +i), which stops root too.
bool SetImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace

WriteProtection::WriteProtection(const QString& path)
    : path_(path)
{
    if (::geteuid() == 0) {
        immutable_ = active_ = SetImmutable(path, true);
        return;
    }
    permissions_ = int(QFile::permissions(path));
    const auto writable = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    active_ = QFile::setPermissions(path, QFile::Permissions(permissions_) & ~writable);
}

const char* WriteProtection::SkipReason()
{
    return "running as root and cannot set the immutable flag here (chattr +i): "
           "nothing else stops root from writing";
}

void WriteProtection::Lift()
{
    if (!active_)
        return;
    active_ = false;
    if (immutable_)
        SetImmutable(path_, false);
    else
        QFile::setPermissions(path_, QFile::Permissions(permissions_));
}

} // namespace kestrix::test
