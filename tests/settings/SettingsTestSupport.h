// The settings tests run on the fake platform with a temporary program folder.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/FakePlatform.h"
#include "support/TestSupport.h"

// The message of the error of type E that `call` raises, "<no error>" when it
// raises none.
template <typename E, typename F>
QString ErrorOf(F&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

class ProgramFolderTest : public ::testing::Test {
protected:
    ProgramFolderTest() { UseProgramFolder(QStringLiteral("prog")); }

    // Makes <temporary folder>/<name>/ the program's folder.
    void UseProgramFolder(const QString& name)
    {
        QDir(dir_.path()).mkpath(name);
        fake_.Folder = dir_.filePath(name) + QLatin1Char('/');
    }
    // An installed copy: the executable in <temporary folder>/usr/bin/, the
    // program folder <temporary folder>/home/.config/kestrix/, not made yet.
    void UseInstalledCopy()
    {
        QDir(dir_.path()).mkpath(QStringLiteral("usr/bin"));
        fake_.ExeFolder = dir_.filePath(QStringLiteral("usr/bin/"));
        fake_.Folder = dir_.filePath(QStringLiteral("home/.config/kestrix/"));
    }
    QString Folder() const { return fake_.Folder; }
    QString InFolder(const QString& name) const { return fake_.Folder + name; }

    static void Put(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static QByteArray Get(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Everything in the program folder, hidden files included.
    QStringList FolderEntries() const
    {
        return QDir(fake_.Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/kestrix-settings-XXXXXX")};
    FakePlatform fake_;
    ScopedPlatform scoped_{fake_};
};
