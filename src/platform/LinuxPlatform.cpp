#include "LinuxPlatform.h"

#include "DriveFigures.h"
#include "Meminfo.h"
#include "PosixDirListing.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <climits>
#include <limits>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr unsigned HELP_QUIT = 2;

} // namespace

QUrl ShellTargetUrl(const QString& target)
{
    if (target.trimmed().isEmpty())
        return {};
    const QFileInfo file(target);
    if (file.exists())
        return QUrl::fromLocalFile(file.absoluteFilePath());
    const QUrl url(target, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + target, QUrl::StrictMode);
    return {};
}

LinuxPlatform::LinuxPlatform() : LinuxPlatform(Options()) {}

LinuxPlatform::LinuxPlatform(Options options)
    : options_(std::move(options))
    , map_(options_.Map)
    , statvfs_(options_.Statvfs, options_.Timeout)
{
}

bool LinuxPlatform::Query(const QString& root, MappedDrive& drive, struct statvfs& out,
                          std::shared_ptr<const DriveMapSnapshot>* snapshot)
{
    const char letter = DriveLetterOf(root);
    if (!letter)
        return false;
    std::shared_ptr<const DriveMapSnapshot> snap = Snapshot();
    const MappedDrive* d = snap->Find(letter);
    if (!d || d->Path.empty())
        return false;
    drive = *d;
    if (snapshot)
        *snapshot = snap;
    return Ask(*d, out);
}

bool LinuxPlatform::CanHang(const MappedDrive& drive)
{
    if (options_.Statvfs && !options_.DirectStatvfs)
        return true;
    std::lock_guard<std::mutex> lock(passMutex_);
    return !AnswersAtOnce(drive) || seenHanging_.count(drive.Path) > 0;
}

void LinuxPlatform::Note(const std::string& path, TimedStatvfs::Result result)
{
    std::lock_guard<std::mutex> lock(passMutex_);
    if (result == TimedStatvfs::Result::TimedOut || result == TimedStatvfs::Result::StillBlocked)
        seenHanging_.insert(path);
    else
        seenHanging_.erase(path);
}

bool LinuxPlatform::Ask(const MappedDrive& drive, struct statvfs& out)
{
    {
        std::lock_guard<std::mutex> lock(passMutex_);
        if (passDepth_ > 0) {
            const auto it = passAnswers_.find(drive.Path);
            if (it != passAnswers_.end()) {
                out = it->second.Out;
                return it->second.Ok;
            }
        }
    }
    bool ok = false;
    if (!CanHang(drive)) {
        ok = (options_.DirectStatvfs ? options_.DirectStatvfs(drive.Path.c_str(), &out)
                                     : ::statvfs(drive.Path.c_str(), &out)) == 0;
    } else {
        const TimedStatvfs::Result result = statvfs_.Query(drive.Path, out);
        Note(drive.Path, result);
        ok = result == TimedStatvfs::Result::Ok;
    }
    std::lock_guard<std::mutex> lock(passMutex_);
    if (passDepth_ > 0)
        passAnswers_[drive.Path] = PassAnswer{ok, out};
    return ok;
}

void LinuxPlatform::BeginDrivePass()
{
    {
        std::lock_guard<std::mutex> lock(passMutex_);
        if (passDepth_++ > 0)
            return;
        passAnswers_.clear();
        passSnapshot_ = nullptr;
    }
    const std::shared_ptr<const DriveMapSnapshot> snap = map_.Current();
    {
        std::lock_guard<std::mutex> lock(passMutex_);
        passSnapshot_ = snap;
    }
    const std::vector<std::string> paths = HangProne(*snap);
    std::optional<TimedStatvfs::Batch> ahead;
    {
        std::lock_guard<std::mutex> lock(passMutex_);
        ahead.swap(ahead_);
    }
    std::vector<TimedStatvfs::Answer> answers;
    if (ahead && ahead->Paths == paths && std::chrono::steady_clock::now() < ahead->Deadline) {
        answers = statvfs_.AwaitTogether(*ahead);
    } else {
        if (ahead)
            statvfs_.Abandon(*ahead);
        if (paths.empty())
            return;
        answers = statvfs_.QueryTogether(paths);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        Note(paths[i], answers[i].Status);
        std::lock_guard<std::mutex> lock(passMutex_);
        passAnswers_[paths[i]] = PassAnswer{answers[i].Status == TimedStatvfs::Result::Ok, answers[i].Out};
    }
}

void LinuxPlatform::AskAhead()
{
    const std::vector<std::string> paths = HangProne(*map_.Current());
    if (paths.empty())
        return;
    TimedStatvfs::Batch batch = statvfs_.StartTogether(paths);
    std::optional<TimedStatvfs::Batch> dropped;
    {
        std::lock_guard<std::mutex> lock(passMutex_);
        dropped.swap(ahead_);
        ahead_ = std::move(batch);
    }
    if (dropped)
        statvfs_.Abandon(*dropped);
}

std::vector<std::string> LinuxPlatform::HangProne(const DriveMapSnapshot& snap)
{
    std::vector<std::string> paths;
    for (const MappedDrive& d : snap.Drives)
        if (!d.Path.empty() && CanHang(d) && std::find(paths.begin(), paths.end(), d.Path) == paths.end())
            paths.push_back(d.Path);
    return paths;
}

void LinuxPlatform::EndDrivePass()
{
    std::lock_guard<std::mutex> lock(passMutex_);
    if (passDepth_ > 0 && --passDepth_ == 0) {
        passAnswers_.clear();
        passSnapshot_ = nullptr;
    }
}

std::shared_ptr<const DriveMapSnapshot> LinuxPlatform::Snapshot()
{
    {
        std::lock_guard<std::mutex> lock(passMutex_);
        if (passDepth_ > 0 && passSnapshot_)
            return passSnapshot_;
    }
    return map_.Current();
}

unsigned LinuxPlatform::GetDriveType(const QString& root)
{
    const char letter = DriveLetterOf(root);
    if (!letter)
        return DRIVE_NO_ROOT_DIR;
    const std::shared_ptr<const DriveMapSnapshot> snap = Snapshot();
    const MappedDrive* d = snap->Find(letter);
    return d ? d->Type : unsigned(DRIVE_NO_ROOT_DIR);
}

bool LinuxPlatform::GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total)
{
    MappedDrive drive;
    struct statvfs st;
    if (!Query(root, drive, st))
        return false;
    SpaceFigures(st, freeToCaller, total);
    return true;
}

bool LinuxPlatform::GetDiskFreeSpace(const QString& root, ClusterInfo& info)
{
    MappedDrive drive;
    struct statvfs st;
    if (!Query(root, drive, st))
        return false;
    if (!ClusterGeometry(drive, st, info.BytesPerSector, info.SectorsPerCluster))
        return false;
    info.TotalNumberOfClusters = st.f_blocks;
    info.NumberOfFreeClusters = st.f_bavail;
    return true;
}

bool LinuxPlatform::GetVolumeInformation(const QString& root, VolumeInformation& info)
{
    MappedDrive drive;
    struct statvfs st;
    std::shared_ptr<const DriveMapSnapshot> snap;
    if (!Query(root, drive, st, &snap))
        return false;
    const VolumeIdentity id = drive.DeviceNode.empty() ? VolumeIdentity() : snap->Identity(drive.DeviceNode);
    info.VolumeName = QString::fromUtf8(id.Label);
    info.SerialNumber = VolumeSerial(id.Uuid, st.f_fsid);
    info.MaximumComponentLength = std::uint32_t(std::min<unsigned long>(st.f_namemax, UINT32_MAX));
    info.FileSystemFlags = FileSystemFlags(drive.Mount.FsType, st);
    info.FileSystemName = QString::fromUtf8(drive.Mount.FsType);
    return true;
}

unsigned LinuxPlatform::SetErrorMode(unsigned mode)
{
    // Linux never asks the user for a disk; the mode is only kept.
    return errorMode_.exchange(mode);
}

bool LinuxPlatform::ShellDisplayName(const QString& root, QString& name)
{
    const char letter = DriveLetterOf(root);
    if (!letter)
        return false;
    const std::shared_ptr<const DriveMapSnapshot> snap = Snapshot();
    const MappedDrive* d = snap->Find(letter);
    if (!d)
        return false;
    name = QString::fromUtf8(DisplayName(*d, *snap));
    return true;
}

std::unique_ptr<DirListing> LinuxPlatform::FindFirst(const QString& path)
{
    const char letter = DriveLetterOf(path);
    if (!letter)
        return nullptr;
    const std::shared_ptr<const DriveMapSnapshot> snap = Snapshot();
    const MappedDrive* d = snap->Find(letter);
    // A mount that left a query hanging would hang the listing too.
    if (!d || d->Path.empty() || statvfs_.Blocked(d->Path))
        return nullptr;
    QStringList parts = path.mid(2).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && (parts.last() == QLatin1String("*") || parts.last() == QLatin1String("*.*")))
        parts.removeLast();
    std::vector<std::string> components;
    for (const QString& part : parts)
        components.push_back(QFile::encodeName(part).toStdString());
    return OpenDirListing(d->Path, components);
}

bool LinuxPlatform::GlobalMemoryStatus(MemoryStatus& status)
{
    return ReadMemoryStatus(options_.Meminfo, status);
}

const ProgramFolders& LinuxPlatform::Folders()
{
    if (!folders_) {
        QString executable = options_.ExecutableFolder;
        if (executable.isEmpty()) {
            if (QCoreApplication::instance()) {
                executable = QCoreApplication::applicationDirPath();
            } else {
                char buf[PATH_MAX];
                const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
                if (n > 0)
                    executable = QFileInfo(QFile::decodeName(QByteArray(buf, int(n)))).absolutePath();
            }
        }
        folders_ = LocateProgramFolders(executable, options_.User ? *options_.User : CurrentUserFolders());
    }
    return *folders_;
}

QString LinuxPlatform::ProgramFolder()
{
    return Folders().Program;
}

QString LinuxPlatform::ExecutableFolder()
{
    return Folders().Executable;
}

QString LinuxPlatform::DataFolder()
{
    return Folders().Data;
}

bool LinuxPlatform::CreateProgramFolder()
{
    return MakeFolder(Folders().Program);
}

bool LinuxPlatform::ShellOpen(const QString& target)
{
    const QUrl url = ShellTargetUrl(target);
    return url.isValid() && !url.isEmpty() && OpenUrl(url);
}

bool LinuxPlatform::WinExec(const QString& commandLine)
{
    QStringList args = QProcess::splitCommand(commandLine);
    if (args.isEmpty())
        return false;
    const QString program = args.takeFirst();
    return QProcess::startDetached(program, args);
}

bool LinuxPlatform::WinHelp(const QString& helpFile, unsigned command, unsigned)
{
    // There is no WinHelp engine: the help file goes to whatever the desktop
    // opens such files with. Closing help is a no-op that succeeds.
    if (command == HELP_QUIT)
        return true;
    const QFileInfo file(helpFile);
    if (!file.isFile())
        return false;
    return OpenUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

QSize LinuxPlatform::ScreenSize()
{
    return QSize();
}

bool LinuxPlatform::OpenUrl(const QUrl&)
{
    return false;
}
