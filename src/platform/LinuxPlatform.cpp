// Placeholder until the Linux drive layer lands: answers only C: as "/".
#include "LinuxPlatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <sys/statvfs.h>

namespace {

class PlaceholderPlatform : public Platform {
public:
    unsigned GetDriveType(const QString& root) override { return DriveLetterOf(root) == 'C' ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR; }
    bool GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total) override
    {
        struct statvfs s;
        if (DriveLetterOf(root) != 'C' || statvfs("/", &s) != 0)
            return false;
        freeToCaller = std::int64_t(s.f_bavail) * std::int64_t(s.f_frsize);
        total = std::int64_t(s.f_blocks) * std::int64_t(s.f_frsize);
        return true;
    }
    bool GetDiskFreeSpace(const QString&, ClusterInfo&) override { return false; }
    bool GetVolumeInformation(const QString&, VolumeInformation&) override { return false; }
    unsigned SetErrorMode(unsigned mode) override { std::swap(mode, mode_); return mode; }
    bool ShellDisplayName(const QString& root, QString& name) override
    {
        if (DriveLetterOf(root) != 'C')
            return false;
        name = QStringLiteral("/ (C:)");
        return true;
    }
    std::unique_ptr<DirListing> FindFirst(const QString&) override { return nullptr; }
    bool GlobalMemoryStatus(MemoryStatus&) override { return false; }
    QString ProgramFolder() override { return QCoreApplication::applicationDirPath() + QLatin1Char('/'); }
    bool ShellOpen(const QString& target) override { return QDesktopServices::openUrl(QUrl::fromUserInput(target)); }
    bool WinExec(const QString& commandLine) override
    {
        QStringList args = QProcess::splitCommand(commandLine);
        if (args.isEmpty())
            return false;
        const QString program = args.takeFirst();
        return QProcess::startDetached(program, args);
    }
    bool WinHelp(const QString&, unsigned, unsigned) override { return false; }
    QSize ScreenSize() override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->size() : QSize(1024, 768);
    }

private:
    unsigned mode_ = 0;
};

} // namespace

Platform& RealPlatform()
{
    static PlaceholderPlatform platform;
    return platform;
}
