#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>

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

QImage Render(QWidget* w)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    w->render(&img);
    return img;
}

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGBToColor(qRed(p), qGreen(p), qBlue(p));
}

int CountColor(const QImage& img, int left, int top, int right, int bottom, TColor c)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (PixelAt(img, x, y) == c)
                ++n;
    return n;
}

void SendEnter(QWidget* w, int x, int y)
{
    const QPointF at(x, y);
    QEnterEvent e(at, at, w->mapToGlobal(at));
    QCoreApplication::sendEvent(w, &e);
}

void SendLeave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

QString SaveForInspection(const QImage& img, const QString& name)
{
    const QString file = QDir(QCoreApplication::applicationDirPath()).filePath(name + ".png");
    img.save(file);
    return file;
}

} // namespace kestrix::test
