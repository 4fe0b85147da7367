// Where a copy keeps its files: portable copies beside their executable,
// installed ones (and copies in a folder they cannot write to) in the user's
// configuration folder; read-only files beside a portable executable or in
// the installation's share/kestrix; the configuration folder made when first
// written. Also through the Linux platform.
#include <gtest/gtest.h>

#include <QFile>
#include <sys/stat.h>

#include "PlatformTestSupport.h"
#include "platform/LinuxPlatform.h"
#include "platform/ProgramFolders.h"
#include "support/CoreTestSupport.h"

using namespace platformtest;
using kestrix::test::WriteProtection;

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

const UserFolders kAnn{QStringLiteral("/home/ann/.config"), QStringLiteral("/home/ann")};

} // namespace

TEST(ProgramFolders, PortableCopiesKeepEverythingBesideTheExecutable)
{
    TempDir dir;
    for (const std::string folder : {"build", "Kestrix 4.0", "bin"}) {
        // A "bin" folder without share/kestrix beside it is no installation.
        fs::create_directories(dir / folder);
        const ProgramFolders f = LocateProgramFolders(Q(dir / folder), kAnn);
        const QString beside = Q(dir / folder) + '/';
        EXPECT_FALSE(f.Installed) << folder;
        EXPECT_EQ(f.Executable, beside);
        EXPECT_EQ(f.Program, beside);
        EXPECT_EQ(f.Data, beside);
    }
    // A trailing separator given is not doubled.
    EXPECT_EQ(LocateProgramFolders(Q(dir / "build/"), kAnn).Program, Q(dir / "build/"));
}

TEST(ProgramFolders, InstalledCopiesWriteIntoTheUsersConfigurationFolder)
{
    TempDir dir;
    fs::create_directories(dir / "usr/bin");
    fs::create_directories(dir / "usr/share/kestrix");
    // Installed is installed even when the bin folder is writable (root).
    const ProgramFolders f = LocateProgramFolders(Q(dir / "usr/bin"), kAnn);
    EXPECT_TRUE(f.Installed);
    EXPECT_EQ(f.Executable, Q(dir / "usr/bin/"));
    EXPECT_EQ(f.Program, "/home/ann/.config/kestrix/");
    EXPECT_EQ(f.Data, Q(dir / "usr/share/kestrix/"));

    const std::pair<UserFolders, QString> users[] = {
        {{"/srv/cfg/", "/home/ann"}, "/srv/cfg/kestrix/"},
        // The XDG rule: a relative $XDG_CONFIG_HOME is ignored; so is an empty one.
        {{"cfg", "/home/ann"}, "/home/ann/.config/kestrix/"},
        {{"", "/home/ann/"}, "/home/ann/.config/kestrix/"},
        {{"", "/"}, "/.config/kestrix/"},
        // No home at all: beside the executable, where the refused writes show.
        {{"", ""}, Q(dir / "usr/bin/")},
        {{"", "relative"}, Q(dir / "usr/bin/")},
    };
    for (const auto& [user, program] : users)
        EXPECT_EQ(LocateProgramFolders(Q(dir / "usr/bin"), user).Program, program)
            << user.ConfigHome.toStdString() << " | " << user.Home.toStdString();
}

TEST(ProgramFolders, ACopyInAFolderItCannotWriteToWritesIntoTheConfigurationFolder)
{
    TempDir dir;
    fs::create_directories(dir / "cdrom/kestrix");
    WriteProtection protection(Q(dir / "cdrom/kestrix"));
    if (!protection.Active())
        GTEST_SKIP() << WriteProtection::SkipReason();
    const ProgramFolders f = LocateProgramFolders(Q(dir / "cdrom/kestrix"), kAnn);
    EXPECT_FALSE(f.Installed);
    EXPECT_EQ(f.Program, "/home/ann/.config/kestrix/");
    // Its help still lies beside it.
    EXPECT_EQ(f.Data, Q(dir / "cdrom/kestrix/"));
}

TEST(ProgramFolders, MakeFolderMakesTheMissingParentsForTheUserAlone)
{
    TempDir dir;
    const mode_t umask = ::umask(022);
    const bool made = MakeFolder(Q(dir / "home/.config/kestrix/"));
    ::umask(umask);
    ASSERT_TRUE(made);
    for (const char* made : {"home", "home/.config", "home/.config/kestrix"}) {
        struct stat st;
        ASSERT_EQ(::stat((dir / made).c_str(), &st), 0) << made;
        EXPECT_EQ(st.st_mode & 07777, 0700u) << made;
    }
    // There already: nothing to do.
    EXPECT_TRUE(MakeFolder(Q(dir / "home/.config/kestrix")));

    // A file in the way, or no absolute path: no folder.
    WriteFile(dir / "file", "x");
    EXPECT_FALSE(MakeFolder(Q(dir / "file")));
    EXPECT_FALSE(MakeFolder(Q(dir / "file/kestrix")));
    EXPECT_FALSE(MakeFolder(QStringLiteral("relative/kestrix")));
    EXPECT_FALSE(MakeFolder(QString()));
}

TEST(ProgramFolders, TheLinuxPlatformAnswersForAnInstalledCopy)
{
    TempDir dir;
    fs::create_directories(dir / "prefix/bin");
    fs::create_directories(dir / "prefix/share/kestrix");
    LinuxPlatform::Options options;
    options.ExecutableFolder = Q(dir / "prefix/bin");
    options.User = UserFolders{Q(dir / "home/.config"), Q(dir / "home")};
    LinuxPlatform p(options);
    EXPECT_EQ(p.ExecutableFolder(), Q(dir / "prefix/bin/"));
    EXPECT_EQ(p.ProgramFolder(), Q(dir / "home/.config/kestrix/"));
    EXPECT_EQ(p.DataFolder(), Q(dir / "prefix/share/kestrix/"));
    // Asking makes nothing; the writers' request does.
    EXPECT_FALSE(fs::exists(dir / "home"));
    EXPECT_TRUE(p.CreateProgramFolder());
    EXPECT_TRUE(fs::is_directory(dir / "home/.config/kestrix"));

    // The running program: a portable copy in the build folder.
    LinuxPlatform running;
    EXPECT_EQ(running.ProgramFolder(), running.ExecutableFolder());
    EXPECT_EQ(running.DataFolder(), running.ExecutableFolder());
    EXPECT_TRUE(running.CreateProgramFolder());
}
