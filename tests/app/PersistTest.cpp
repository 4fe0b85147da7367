// The main window's choices across a restart: the check marks in INIVAL.INI
// (show flags, unit, scheme marks, "Stay on Top") and the window's place in
// kespos.ini, both beside the program; first run, restart, and settings and
// position files as users and accidents leave them.
#include <QDir>
#include <QTest>
#include <random>

#include "MainWindowFixture.h"

using namespace kestrix::test;

namespace {

const QString kSettings = QStringLiteral("INIVAL.INI");
const QString kPositions = QStringLiteral("kespos.ini");

// The settings file as a save writes it into an empty file: the section of
// the window, then every menu item and action in list order, "1" for the
// names given, "0" for all others.
QByteArray SettingsWithTicked(const QStringList& ticked)
{
    QByteArray text = "[Form1]\n";
    for (const QString& name : CheckMarkNames())
        text += name.toLatin1() + (ticked.contains(name) ? "=1\n" : "=0\n");
    return text;
}

QStringList ShowFlagsBut(const QString& hidden)
{
    QStringList flags;
    for (char l = 'c'; l <= 'z'; ++l)
        if (!hidden.contains(QLatin1Char(l)))
            flags << QStringLiteral("d%1").arg(QLatin1Char(l)) + QLatin1Char('1');
    return flags;
}

} // namespace

class PersistTest : public MainWindowTest {
protected:
    // Builds the window (unless it is built), shows it and waits for its
    // first activation and what runs after it.
    void ShowActive(bool build = true)
    {
        if (build)
            Start();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::qWait(10);
    }
    void AddDrivesCAndD()
    {
        fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
        fake.AddDrive('D', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    }
    // The unit buttons pressed, bytes .. gigabytes: "0010" is megabytes.
    QString UnitButtonsDown() const
    {
        QString downs;
        for (TLbSpeedButton* b : {form->BytesBut, form->KBytesBut, form->MBytesBut, form->GBytesBut})
            downs += b->Down() ? QLatin1Char('1') : QLatin1Char('0');
        return downs;
    }
    QString UnitFlagsTicked() const
    {
        QString ticks;
        for (TAction* a : {form->BView, form->KBView, form->MBView, form->GBView})
            ticks += a->Checked() ? QLatin1Char('1') : QLatin1Char('0');
        return ticks;
    }
};

TEST_F(PersistTest, FirstRunWritesBothFilesAtTheEnd)
{
    AddDrivesCAndD();
    StartActive();
    EXPECT_EQ(FileInFolder(kSettings), "<missing>");
    EXPECT_EQ(FileInFolder(kPositions), "<missing>");

    // The position is written when the window closes...
    form->close();
    EXPECT_EQ(FileInFolder(kPositions), "[Dialog_Positions]\n"
                                        "Form11024x768Left=169\n" // 1024 / 2 - 686 / 2
                                        "Form11024x768Top=227\n");  // 768 / 2 - 315 / 2
    EXPECT_EQ(FileInFolder(kSettings), "<missing>");
    // ... the check marks when it is destroyed: the layout's ticks, and the
    // megabytes flag the first activation set.
    form.reset();
    EXPECT_EQ(FileInFolder(kSettings), SettingsWithTicked(QStringList{"Cs0", "MBView"} + ShowFlagsBut("")));
    EXPECT_EQ(QDir(fake.Folder).entryList(QDir::Files, QDir::Name), (QStringList{kSettings, kPositions}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(PersistTest, RestartRestoresFlagsUnitSchemeMarksStayOnTopAndPlace)
{
    for (char l : {'C', 'D', 'E'})
        fake.AddDrive(l, DRIVE_FIXED, 10 * GiB, 5 * GiB);
    StartActive();
    form->GBytesBut->Click();
    form->Slot('D').Flag->setChecked(false);
    form->Cs[3]->Click(); // Red
    form->StayonTop1->setChecked(true);
    form->move(40, 50);
    CloseAndEnd();

    TForm1& f = Start();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CE"));
    EXPECT_FALSE(f.Slot('D').Flag->Checked());
    EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0001"));
    EXPECT_EQ(SchemeMarks(), QStringLiteral("000100"));
    // The Red scheme's pair on the bottom panel.
    EXPECT_EQ(f.PanGuage->Color_2(), TColor(8421631));
    EXPECT_EQ(f.PanGuage->Color_3(), TColor(128));
    EXPECT_TRUE(f.StayonTop1->Checked());
    EXPECT_EQ(f.pos(), QPoint(40, 50));
    f.FormActivate(&f);
    EXPECT_EQ(UnitFlagsTicked(), QStringLiteral("0001"));
    EXPECT_EQ(f.HeaderControl1->Section(1).Text, QStringLiteral("Size in GigaBytes"));
    EXPECT_EQ(f.Slot('C').S->Caption(), QStringLiteral("10.00"));
    EXPECT_EQ(f.Height(), f.MenuBarHeight() + 152 + 40 + 19);

    // Deleting the settings file brings back the layout's choices.
    CloseAndEnd();
    ASSERT_TRUE(QFile::remove(fake.Folder + kSettings));
    Start();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CDE"));
    EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0010"));
    EXPECT_EQ(SchemeMarks(), QStringLiteral("100000"));
    EXPECT_FALSE(form->StayonTop1->Checked());
}

TEST_F(PersistTest, OfSeveralTickedUnitFlagsTheLastWins)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    PutInFolder(kSettings, "[Form1]\nBView=1\nKBView=1\nMBView=0\n");
    Start();
    EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0100"));
    form->FormActivate(form.get());
    EXPECT_EQ(UnitFlagsTicked(), QStringLiteral("0100"));
    EXPECT_EQ(form->Slot('C').S->Caption(), QStringLiteral("10,485,760"));
    CloseAndEnd();

    PutInFolder(kSettings, "[Form1]\nBView=1\nMBView=1\nGBView=1\n");
    Start();
    EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0001"));
    // No flag ticked: the layout's megabytes stay.
    CloseAndEnd();
    PutInFolder(kSettings, "[Form1]\nBView=0\nKBView=0\nMBView=0\nGBView=0\n");
    Start();
    EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0010"));
}

TEST_F(PersistTest, ValuesAreReadByTheWindowsRulesAndOtherEntriesSurviveTheSave)
{
    for (char l = 'C'; l <= 'L'; ++l)
        fake.AddDrive(l, DRIVE_FIXED, 10 * GiB, 5 * GiB);
    const QByteArray zeros(100000, '0');
    const QByteArray ones(100000, '1');
    PutInFolder(kSettings, "; written by hand\n"
                           "[Other]\n"
                           "dc1=1\n"
                           "[FORM1]\n"
                           "DC1=0\n"                 // other case: hides C
                           "dd1=0x0\n"               // hexadecimal 0
                           "de1=yes\n"               // no integer: stays ticked
                           "df1=-1\n"                // not zero: ticked
                           "dg1=  0  \n"             // blanks do not count
                           "dh1=$0\n"
                           "di1=" + zeros + "\n"     // 2047 zeros read: 0
                           "dj1=" + ones + "\n"      // 2047 ones: no 32-bit integer
                           "dk1=\n"                  // empty: stays
                           "Cs0=0X0\n"
                           "Cs2=$1\n"
                           "StayonTop1=  1  \n"
                           "Foreign=kept\n");
    TForm1& f = StartActive();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("EFJKL"));
    EXPECT_EQ(SchemeMarks(), QStringLiteral("001000"));
    EXPECT_EQ(f.PanGuage->Color_2(), TColor(0xFF8080)); // Blue
    EXPECT_TRUE(f.StayonTop1->Checked());
    CloseAndEnd();

    const QByteArray saved = FileInFolder(kSettings);
    // Comment, other section and foreign key as they were; the keys of the
    // window updated where they stand, in their own case.
    EXPECT_TRUE(saved.startsWith("; written by hand\n[Other]\ndc1=1\n[FORM1]\nDC1=0\ndd1=0\nde1=1\ndf1=1\n"
                                 "dg1=0\ndh1=0\ndi1=0\ndj1=1\ndk1=1\nCs0=0\nCs2=1\nStayonTop1=1\nForeign=kept\n"))
        << saved.left(300).toStdString();
    EXPECT_FALSE(saved.contains(zeros));
    EXPECT_EQ(saved.count("\n[") + saved.startsWith('['), 2);

    // Found again as saved.
    Start();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("EFJKL"));
}

TEST_F(PersistTest, EmptyOrGarbageSettingsFileLeavesTheLayoutsChoices)
{
    AddDrivesCAndD();
    std::mt19937 random(1234);
    QByteArray garbage(32 * 1024, '\0');
    for (char& c : garbage)
        c = char(random() & 0xFF);
    for (const QByteArray& content : {QByteArray(), garbage}) {
        SCOPED_TRACE(content.isEmpty() ? "empty" : "garbage");
        PutInFolder(kSettings, content);
        Start();
        EXPECT_EQ(RowsOnScreen(), QStringLiteral("CD"));
        EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0010"));
        EXPECT_EQ(SchemeMarks(), QStringLiteral("100000"));
        EXPECT_FALSE(form->StayonTop1->Checked());
        form->Slot('D').Flag->setChecked(false);
        CloseAndEnd();
        // The save keeps what it cannot read and adds the window's section.
        EXPECT_TRUE(FileInFolder(kSettings).startsWith(content));
        Start();
        EXPECT_EQ(RowsOnScreen(), QStringLiteral("C"));
        form.reset();
    }
}

TEST_F(PersistTest, ProgramFolderWithADotKeepsTheSettingsInINIVALWithoutExtension)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Kestrix 4.0")));
    fake.Folder = dir.path() + QStringLiteral("/Kestrix 4.0/");
    AddDrivesCAndD();
    Start();
    form->Slot('D').Flag->setChecked(false);
    CloseAndEnd();
    EXPECT_EQ(QDir(fake.Folder).entryList(QDir::Files, QDir::Name), (QStringList{"INIVAL", kPositions}));
    Start();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("C"));
}

TEST_F(PersistTest, InstalledCopyKeepsBothFilesInTheConfigurationFolderAndLooksForThePositionThere)
{
    // The executable in usr/bin with stale files of a portable past beside
    // it; the configuration folder is not there yet.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("usr/bin")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("usr/share/kestrix")));
    fake.ExeFolder = dir.path() + QStringLiteral("/usr/bin/");
    fake.DataDir = dir.path() + QStringLiteral("/usr/share/kestrix/");
    fake.Folder = dir.path() + QStringLiteral("/home/.config/kestrix/");
    const QByteArray stalePosition = "[Dialog_Positions]\nForm11024x768Left=3\nForm11024x768Top=4\n";
    const QByteArray staleSettings = "[Form1]\ndd1=0\nGBView=1\n";
    for (const auto& [name, bytes] : {std::pair{kPositions, stalePosition}, std::pair{kSettings, staleSettings}}) {
        QFile f(fake.ExeFolder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    AddDrivesCAndD();
    Start();
    // Nothing of the stale files: both rows, megabytes, centred.
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CD"));
    EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0010"));
    EXPECT_EQ(form->pos(), QPoint(169, 227));
    EXPECT_EQ(Application().HelpFile(), fake.DataDir + QStringLiteral("Kestrix4.hlp"));
    EXPECT_FALSE(QDir(fake.Folder).exists());
    form->FormActivate(form.get());
    form->GBytesBut->Click();
    form->move(40, 50);
    CloseAndEnd();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(QDir(fake.Folder).entryList(QDir::Files, QDir::Name), (QStringList{kSettings, kPositions}));
    EXPECT_EQ(FileInFolder(kPositions), "[Dialog_Positions]\nForm11024x768Left=40\nForm11024x768Top=50\n");
    EXPECT_EQ(FileInFolder(kSettings), SettingsWithTicked(QStringList{"Cs0", "GBView"} + ShowFlagsBut("")));

    // The next start finds both there: the place is not centred.
    Start();
    EXPECT_EQ(UnitButtonsDown(), QStringLiteral("0001"));
    EXPECT_EQ(form->pos(), QPoint(40, 50));
    form.reset();
    QFile beside(fake.ExeFolder + kSettings);
    ASSERT_TRUE(beside.open(QIODevice::ReadOnly));
    EXPECT_EQ(beside.readAll(), staleSettings);
}

TEST_F(PersistTest, ConfigurationFolderThatCannotBeMadeReportsBothFiles)
{
    fake.ExeFolder = dir.path() + QLatin1Char('/');
    // A file where the folder ".config" should be.
    PutInFolder(QStringLiteral(".config"), "not a folder");
    fake.Folder = dir.path() + QStringLiteral("/.config/kestrix/");
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    StartActive();
    CloseAndEnd();
    EXPECT_EQ(errors, (QStringList{"Unable to write to " + fake.Folder + kPositions,
                                   "Unable to write to " + fake.Folder + kSettings}));
}

TEST_F(PersistTest, PositionFileAsFoundOnDisk)
{
    // A left edge that is no integer keeps the layout's; another
    // resolution's place is kept through the save.
    PutInFolder(kPositions, "[Dialog_Positions]\n"
                            "Form1800x600Left=7\n"
                            "Form1800x600Top=8\n"
                            "Form11024x768Left=12abc\n"
                            "Form11024x768Top=100\n");
    Start();
    EXPECT_EQ(form->pos(), QPoint(314, 100));
    CloseAndEnd();
    EXPECT_EQ(FileInFolder(kPositions), "[Dialog_Positions]\n"
                                        "Form1800x600Left=7\n"
                                        "Form1800x600Top=8\n"
                                        "Form11024x768Left=314\n"
                                        "Form11024x768Top=100\n");

    // On the smaller screen, the place saved for it.
    fake.Screen = QSize(800, 600);
    Start();
    EXPECT_EQ(form->pos(), QPoint(7, 8));
    form.reset();

    // A place far off the screen: the window is brought fully onto it once
    // it has its height, at its first activation, not opened where nobody
    // sees it. Without drives it is the menu bar, 44 + 18 + 90 and the
    // status bar's 19 high, and on the offscreen platform its frame adds 2
    // pixels on each side: 690 wide.
    fake.Screen = QSize(1024, 768);
    PutInFolder(kPositions, "[Dialog_Positions]\nForm11024x768Left=5000\nForm11024x768Top=-3000\n");
    ShowActive();
    EXPECT_EQ(form->Height(), form->MenuBarHeight() + 152 + 19);
    EXPECT_EQ(form->pos(), QPoint(1024 - 690, 0));
    form.reset();
    PutInFolder(kPositions, "[Dialog_Positions]\nForm11024x768Left=-900\nForm11024x768Top=2000\n");
    ShowActive();
    EXPECT_EQ(form->pos(), QPoint(0, 768 - (form->MenuBarHeight() + 152 + 19 + 4)));
}

// The saved place stands when the window, at the height its rows give it,
// is on the screen there; it was measured once with the first height 315,
// which moved it up to 768 - 315 = 453 and saved that at the end.
TEST_F(PersistTest, SavedPlaceStandsWhenTheWindowWithItsRowsFitsThere)
{
    AddDrivesCAndD();
    PutInFolder(kPositions, "[Dialog_Positions]\nForm11024x768Left=300\nForm11024x768Top=500\n");
    Start();
    EXPECT_EQ(form->pos(), QPoint(300, 500));
    ShowActive(false);
    // Two rows: 44 + 18 + 40 + 90 = 192 and the status bar's 19 under the
    // menu bar; 500 + that (and the frame) stays above 768.
    EXPECT_EQ(form->Height(), form->MenuBarHeight() + 192 + 19);
    EXPECT_EQ(form->pos(), QPoint(300, 500));
    CloseAndEnd();
    EXPECT_EQ(FileInFolder(kPositions), "[Dialog_Positions]\nForm11024x768Left=300\nForm11024x768Top=500\n");
}

// A window that grows beyond the bottom of the screen at its first
// activation is pulled up with the height it has then.
TEST_F(PersistTest, WindowThatGrowsPastTheScreenAtItsFirstActivationIsPulledUp)
{
    for (char l = 'C'; l < 'C' + 20; ++l)
        fake.AddDrive(l, DRIVE_FIXED, 10 * GiB, 5 * GiB);
    for (const char* top : {"453", "2147483647"}) {
        SCOPED_TRACE(top);
        PutInFolder(kPositions, QByteArray("[Dialog_Positions]\nForm11024x768Left=300\nForm11024x768Top=") + top + "\n");
        ShowActive();
        // 20 rows: 152 + 400 = 552 under the menu bar, and the status bar.
        const int height = form->MenuBarHeight() + 552 + 19;
        EXPECT_EQ(form->Height(), height);
        EXPECT_EQ(form->pos(), QPoint(300, 768 - (height + 4)));
        form.reset();
    }
}

// On the offscreen platform a minimised window keeps the place move() gave it.
TEST_F(PersistTest, ClosingWhileMinimisedSavesTheRestoredPlace)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    Start();
    form->move(100, 120);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->showMinimized();
    QTest::qWait(20);
    ASSERT_TRUE(form->isMinimized());
    CloseAndEnd();
    EXPECT_EQ(FileInFolder(kPositions), "[Dialog_Positions]\nForm11024x768Left=100\nForm11024x768Top=120\n");
    Start();
    EXPECT_EQ(form->pos(), QPoint(100, 120));
}

// Refused writes: the message names the file, the window closes all the
// same, the other file is still written and the refused one keeps its
// content.
TEST_F(PersistTest, ReadOnlyPositionFileIsReportedAndTheWindowClosesAllTheSame)
{
    AddDrivesCAndD();
    const QByteArray positions = "[Dialog_Positions]\nForm11024x768Left=20\nForm11024x768Top=30\n";
    PutInFolder(kPositions, positions);
    StartActive();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->move(60, 70);
    form->Slot('D').Flag->setChecked(false);
    {
        WriteProtection protection(fake.Folder + kPositions);
        if (!protection.Active())
            GTEST_SKIP() << WriteProtection::SkipReason();
        form->close();
        FinishAnimation();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(errors, QStringList{"Unable to write to " + fake.Folder + kPositions});
        form.reset();
    }
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(FileInFolder(kPositions), positions);
    Start();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("C"));
    EXPECT_EQ(form->pos(), QPoint(20, 30));
}

TEST_F(PersistTest, ReadOnlySettingsFileIsReportedAtTheEndAndKeepsItsContent)
{
    AddDrivesCAndD();
    const QByteArray settings = "[Form1]\ndd1=1\n[Other]\nk=v\n";
    PutInFolder(kSettings, settings);
    StartActive();
    form->Slot('D').Flag->setChecked(false);
    form->move(60, 70);
    {
        WriteProtection protection(fake.Folder + kSettings);
        if (!protection.Active())
            GTEST_SKIP() << WriteProtection::SkipReason();
        form->close();
        EXPECT_TRUE(errors.isEmpty());
        form.reset(); // nothing may escape the destructor
        EXPECT_EQ(errors, QStringList{"Unable to write to " + fake.Folder + kSettings});
    }
    EXPECT_EQ(FileInFolder(kSettings), settings);
    EXPECT_EQ(FileInFolder(kPositions), "[Dialog_Positions]\nForm11024x768Left=60\nForm11024x768Top=70\n");
}

TEST_F(PersistTest, ReadOnlyProgramFolderReportsBothFilesAndLeavesNothingBehind)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    StartActive();
    {
        WriteProtection protection(dir.path());
        if (!protection.Active())
            GTEST_SKIP() << WriteProtection::SkipReason();
        CloseAndEnd();
        EXPECT_EQ(errors, (QStringList{"Unable to write to " + fake.Folder + kPositions,
                                       "Unable to write to " + fake.Folder + kSettings}));
    }
    EXPECT_EQ(QDir(fake.Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}
