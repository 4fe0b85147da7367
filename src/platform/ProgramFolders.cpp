#include "ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QString WithSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool IsFolder(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Writable(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

// The share/kestrix of the installation whose bin folder this is; empty when
// the folder is no installation's bin folder.
QString InstalledData(const QString& executableFolder)
{
    const QString bin = QDir::cleanPath(executableFolder);
    if (QFileInfo(bin).fileName() != QLatin1String("bin"))
        return QString();
    const QString data = QDir::cleanPath(bin + QStringLiteral("/../share/kestrix"));
    return IsFolder(data) ? WithSlash(data) : QString();
}

} // namespace

ProgramFolders LocateProgramFolders(const QString& executableFolder, const UserFolders& user)
{
    ProgramFolders f;
    f.Executable = WithSlash(executableFolder);
    const QString installedData = InstalledData(executableFolder);
    f.Installed = !installedData.isEmpty();
    f.Data = f.Installed ? installedData : f.Executable;
    f.Program = f.Executable;
    if (!f.Installed && Writable(executableFolder))
        return f;

    // The XDG rule: a relative $XDG_CONFIG_HOME is ignored.
    QString config;
    if (QDir::isAbsolutePath(user.ConfigHome))
        config = user.ConfigHome;
    else if (QDir::isAbsolutePath(user.Home))
        config = WithSlash(user.Home) + QStringLiteral(".config");
    if (!config.isEmpty())
        f.Program = WithSlash(QDir::cleanPath(config)) + QStringLiteral("kestrix/");
    return f;
}

UserFolders CurrentUserFolders()
{
    UserFolders u;
    u.ConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    u.Home = qEnvironmentVariable("HOME");
    if (u.Home.isEmpty()) {
        // Started without a HOME (a service, `env -i`): the account's home.
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buf(size > 0 ? std::size_t(size) : 16384);
        struct passwd pw;
        struct passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
            u.Home = QFile::decodeName(found->pw_dir);
    }
    return u;
}

bool MakeFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (clean.isEmpty() || !QDir::isAbsolutePath(clean))
        return false;
    // From the deepest existing parent downwards.
    std::vector<QString> missing;
    for (QString f = clean; !IsFolder(f); f = QFileInfo(f).path()) {
        if (f == QLatin1String("/"))
            return false;
        missing.push_back(f);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        if (::mkdir(QFile::encodeName(*it).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    return IsFolder(clean);
}
