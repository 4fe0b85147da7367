// The main window on the fake platform: drives declared by the test, a
// temporary program folder, the window built offscreen.
#pragma once

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "app/STSMain.h"
#include "platform/FakePlatform.h"
#include "support/TestSupport.h"
#include "toolkit/Application.h"

namespace kestrix::test {

constexpr std::int64_t KiB = 1024;
constexpr std::int64_t MiB = 1024 * KiB;
constexpr std::int64_t GiB = 1024 * MiB;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fake.Folder = dir.path() + QLatin1Char('/');
        // Errors the window hands to the application are collected, never
        // shown in a message box that would wait for a click.
        Application().ShowError = [this](const QString& text) { errors << text; };
    }
    void TearDown() override
    {
        form.reset(); // its destruction saves and may report an error too
        Application().ShowError = nullptr;
    }

    // Builds the window (its creation handler runs in the constructor).
    TForm1& Start()
    {
        form = std::make_unique<TForm1>();
        return *form;
    }
    // Builds it and runs the first activation, as showing it does.
    TForm1& StartActive()
    {
        Start();
        form->FormActivate(form.get());
        return *form;
    }

    // Plays the window's zoom animation to its end at once.
    void FinishAnimation()
    {
        while (form->Smooth1->Running())
            form->Smooth1->Frame();
    }

    // The program's end: the window closes (its close box; a shown window
    // after its closing animation), then is destroyed.
    void CloseAndEnd()
    {
        form->close();
        FinishAnimation();
        form.reset();
    }

    // A file of the program folder, "<missing>" when there is none.
    QByteArray FileInFolder(const QString& name) const
    {
        QFile f(fake.Folder + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void PutInFolder(const QString& name, const QByteArray& bytes) const
    {
        QFile f(fake.Folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // The scheme items' check marks, Cs0 .. Cs5: "100000" is Gray.
    QString SchemeMarks() const
    {
        QString marks;
        for (TMenuItem* item : form->Cs)
            marks += item->Checked() ? QLatin1Char('1') : QLatin1Char('0');
        return marks;
    }

    // The letters of the shown rows, in order of their place on screen.
    QString RowsOnScreen() const
    {
        std::vector<const DriveSlot*> shown;
        for (const DriveSlot& s : form->Slots)
            if (s.RowVisible())
                shown.push_back(&s);
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->Pan->y() < b->Pan->y(); });
        QString letters;
        for (const DriveSlot* s : shown)
            letters += s->Letter;
        return letters;
    }

    FakePlatform fake;
    QTemporaryDir dir;
    ScopedPlatform scope{fake};
    std::unique_ptr<TForm1> form;
    QStringList errors; // texts of the errors shown
};

// The names of the window's menu items and actions, in the order of its
// component list: the keys of the settings file, in the order they are saved.
inline QStringList CheckMarkNames()
{
    QStringList names = {QStringLiteral("FileDrives"), QStringLiteral("MReload"), QStringLiteral("N1"),
                         QStringLiteral("MExit"),      QStringLiteral("View1"),   QStringLiteral("Options1"),
                         QStringLiteral("Colors1")};
    for (int i = 0; i <= 5; ++i)
        names << QStringLiteral("Cs%1").arg(i);
    names << QStringLiteral("N8") << QStringLiteral("GeneralInfo1") << QStringLiteral("N7")
          << QStringLiteral("StayonTop1") << QStringLiteral("System1") << QStringLiteral("ControlPanel1")
          << QStringLiteral("SystemSetup1");
    for (int i = 1; i <= 15; ++i)
        names << QStringLiteral("MS%1").arg(i);
    names << QStringLiteral("Utils1") << QStringLiteral("NotePad1") << QStringLiteral("WordPad1")
          << QStringLiteral("Paint1") << QStringLiteral("N4") << QStringLiteral("Explorer1")
          << QStringLiteral("FileManager1") << QStringLiteral("ProgramManager1") << QStringLiteral("TaskManager1")
          << QStringLiteral("SysConfig1") << QStringLiteral("N5") << QStringLiteral("ClipboardViewer1")
          << QStringLiteral("CharectorMap1") << QStringLiteral("Calculator1") << QStringLiteral("RegEdit1")
          << QStringLiteral("ScanDisk1") << QStringLiteral("Defrag1") << QStringLiteral("MediaPlayer1")
          << QStringLiteral("CDPlayer1") << QStringLiteral("N6") << QStringLiteral("Solitaire1")
          << QStringLiteral("MineSweeper1") << QStringLiteral("Help1") << QStringLiteral("mnHtmlHelp")
          << QStringLiteral("mnWinHelp") << QStringLiteral("N3") << QStringLiteral("TolvaneWebsite1")
          << QStringLiteral("N2") << QStringLiteral("About1") << QStringLiteral("drives");
    for (char l = 'c'; l <= 'z'; ++l)
        names << QStringLiteral("d%1").arg(QLatin1Char(l)) + QLatin1Char('1');
    names << QStringLiteral("Exit") << QStringLiteral("BView") << QStringLiteral("KBView")
          << QStringLiteral("MBView") << QStringLiteral("GBView") << QStringLiteral("Reload")
          << QStringLiteral("SystemSetup2");
    for (int i = 16; i <= 30; ++i)
        names << QStringLiteral("MS%1").arg(i);
    names << QStringLiteral("Utils2") << QStringLiteral("NotePad2") << QStringLiteral("WordPad2")
          << QStringLiteral("Paint2") << QStringLiteral("N46") << QStringLiteral("Explorer2")
          << QStringLiteral("FileManager2") << QStringLiteral("ProgramManager2") << QStringLiteral("TaskManager2")
          << QStringLiteral("SysConfig2") << QStringLiteral("N47") << QStringLiteral("ControlPanel2")
          << QStringLiteral("ClipboardViewer3") << QStringLiteral("CharectorMap2") << QStringLiteral("Calculator2")
          << QStringLiteral("RegEdit2") << QStringLiteral("ScanDisk2") << QStringLiteral("Defrag2")
          << QStringLiteral("MediaPlayer2") << QStringLiteral("CDPlayer2") << QStringLiteral("N48")
          << QStringLiteral("Solitaire2") << QStringLiteral("MineSweeper2") << QStringLiteral("N49")
          << QStringLiteral("About2") << QStringLiteral("Help2") << QStringLiteral("N50")
          << QStringLiteral("ShowKestrix1") << QStringLiteral("HideKestrix1") << QStringLiteral("N51")
          << QStringLiteral("ExitKestrix1");
    return names;
}

} // namespace kestrix::test
