// kestrix-drives prints the map as the program sees it: for every letter,
// the fields the Linux platform gives the program, though the tool works
// them out without Qt.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

#include "PlatformTestSupport.h"
#include "platform/LinuxPlatform.h"
#include "support/CoreTestSupport.h"

using namespace platformtest;

namespace {

// The tool's lines by letter, each split at its tabs.
std::map<QChar, QStringList> RunTool(const QString& drives, int& exitCode)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESTRIX_DRIVES"), drives);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(KESTRIX_DRIVES_TOOL), {});
    tool.waitForFinished(10000);
    exitCode = tool.exitCode();
    std::map<QChar, QStringList> lines;
    for (const QString& line : QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'),
                                                                                     Qt::SkipEmptyParts))
        lines[line.at(0)] = line.split(QLatin1Char('\t'));
    return lines;
}

} // namespace

TEST(KestrixDrivesTool, PrintsWhatTheLinuxPlatformAnswersTheProgram)
{
    TempDir dir;
    const std::string drives = "C=/;T=" + dir.Path() + ";U=@cdrom;V=" + dir.Path() + "@remote";
    int exitCode = -1;
    const std::map<QChar, QStringList> lines = RunTool(QString::fromStdString(drives), exitCode);
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(lines.size(), 4u);

    LinuxPlatform::Options o;
    o.Map.Drives = drives;
    LinuxPlatform p(o);
    for (const auto& [letter, f] : lines) {
        SCOPED_TRACE(letter.toLatin1());
        ASSERT_EQ(f.size(), 12);
        const QString root = QString(letter) + QStringLiteral(":\\");
        EXPECT_EQ(f[0], QString(letter) + QLatin1Char(':'));
        const unsigned type = p.GetDriveType(root);
        EXPECT_EQ(f[1], QString::number(type));
        EXPECT_EQ(f[2], QString::fromLatin1(DriveTypeText(type)));
        EXPECT_EQ(f[3], root);

        std::int64_t free = -1, total = -1;
        if (p.GetDiskFreeSpaceEx(root, free, total)) {
            EXPECT_EQ(f[5].toLongLong(), total);
            // Other programs write to these disks meanwhile.
            EXPECT_NEAR(double(f[6].toLongLong()), double(free), 256.0 * 1024 * 1024);
        } else {
            EXPECT_EQ(f[5], QStringLiteral("-1"));
            EXPECT_EQ(f[6], QStringLiteral("-1"));
        }
        VolumeInformation v;
        if (p.GetVolumeInformation(root, v)) {
            EXPECT_EQ(f[7], v.VolumeName);
            EXPECT_EQ(f[8], QStringLiteral("%1").arg(v.SerialNumber, 8, 16, QLatin1Char('0')).toUpper());
            EXPECT_EQ(f[9], v.FileSystemName);
        } else {
            EXPECT_EQ(f[7] + f[8] + f[9], QString());
        }
        ClusterInfo c;
        EXPECT_EQ(f[10].toLongLong(),
                  p.GetDiskFreeSpace(root, c) ? (long long)c.SectorsPerCluster * c.BytesPerSector : -1LL);
        QString name;
        ASSERT_TRUE(p.ShellDisplayName(root, name));
        EXPECT_EQ(f[11], name);
    }
    // Worked out by hand: a drive without medium and a folder's name.
    EXPECT_EQ(lines.at(QLatin1Char('U'))[11], QStringLiteral("CD Drive (U:)"));
    EXPECT_EQ(lines.at(QLatin1Char('U'))[5], QStringLiteral("-1"));
    EXPECT_EQ(lines.at(QLatin1Char('V'))[2], QStringLiteral("Remote"));
    EXPECT_EQ(lines.at(QLatin1Char('T'))[4], QString::fromStdString(dir.Path()));

    // A letter that is not mapped: a message and exit code 1.
    QProcess one;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESTRIX_DRIVES"), QString::fromStdString(drives));
    one.setProcessEnvironment(env);
    one.start(QStringLiteral(KESTRIX_DRIVES_TOOL), {QStringLiteral("Q")});
    one.waitForFinished(10000);
    EXPECT_EQ(one.exitCode(), 1);
}
