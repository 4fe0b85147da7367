// The size units: figures of the rows and totals in each unit, the header,
// the buttons and the flag actions.
#include <QTest>

#include "MainWindowFixture.h"

using namespace kestrix::test;

namespace {

struct Figures {
    QString size, free, used;
};

Figures RowOf(const DriveSlot& s)
{
    return {s.S->Caption(), s.F->Caption(), s.U->Caption()};
}

Figures Totals(const TForm1& f)
{
    return {f.Label5->Caption(), f.Label6->Caption(), f.Label7->Caption()};
}

void ExpectFigures(const Figures& got, const char* size, const char* free, const char* used)
{
    EXPECT_EQ(got.size, QString::fromLatin1(size));
    EXPECT_EQ(got.free, QString::fromLatin1(free));
    EXPECT_EQ(got.used, QString::fromLatin1(used));
}

// Answers the availability test of drive C and then fails every further
// size query until told otherwise: a drive that goes away mid-refresh.
class FlakyPlatform : public FakePlatform {
public:
    bool flaky = false;
    bool answered = false;
    bool GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total) override
    {
        if (flaky && DriveLetterOf(root) == 'C') {
            if (answered)
                return false;
            answered = true;
        }
        return FakePlatform::GetDiskFreeSpaceEx(root, freeToCaller, total);
    }
};

} // namespace

class UnitsTest : public MainWindowTest {
protected:
    // C: 10,000,000 bytes with 1,023 free; D: 5,368,710 bytes, E: 5,368,709
    // bytes, both full.
    TForm1& StartThreeDrives()
    {
        fake.AddDrive('C', DRIVE_FIXED, 10000000, 1023);
        fake.AddDrive('D', DRIVE_FIXED, 5368710, 0);
        fake.AddDrive('E', DRIVE_FIXED, 5368709, 0);
        return StartActive();
    }
};

TEST_F(UnitsTest, RowFiguresInEveryUnit)
{
    TForm1& f = StartThreeDrives();
    const DriveSlot& c = f.Slot('C');
    const DriveSlot& d = f.Slot('D');
    const DriveSlot& e = f.Slot('E');

    f.ViewSort(f.BytesBut);
    ExpectFigures(RowOf(c), "10,000,000", "1,023", "9,998,977");
    ExpectFigures(RowOf(d), "5,368,710", "0", "5,368,710");

    f.ViewSort(f.KBytesBut);
    // 9,765.625; 0.999; 9,764.626
    ExpectFigures(RowOf(c), "9,766", "1", "9,765");

    f.ViewSort(f.MBytesBut);
    // 9.5367; 0.00098 rounds to zero; 9.5358
    ExpectFigures(RowOf(c), "9.54", "0", "9.54");
    ExpectFigures(RowOf(d), "5.12", "0", "5.12"); // 5.1200008
    ExpectFigures(RowOf(e), "5.12", "0", "5.12"); // 5.1199999

    f.ViewSort(f.GBytesBut);
    ExpectFigures(RowOf(c), "0.01", "0", "0.01"); // 0.0093
    ExpectFigures(RowOf(d), "0.01", "0", "0.01"); // 0.0050000008 rounds up
    ExpectFigures(RowOf(e), "0", "0", "0");       // 0.0049999999 rounds to zero
}

TEST_F(UnitsTest, TotalsBeginWithASpaceInEveryUnit)
{
    TForm1& f = StartThreeDrives();
    // Size 20,737,419 bytes, free 1,023.
    f.ViewSort(f.BytesBut);
    ExpectFigures(Totals(f), " 20,737,419", " 1,023", " 20,736,396");
    f.ViewSort(f.KBytesBut);
    // 20,251.386 and 0.999: used 20,250.387 from the divided totals.
    ExpectFigures(Totals(f), " 20,251", " 1", " 20,250");
    f.ViewSort(f.MBytesBut);
    ExpectFigures(Totals(f), " 19.78", " 0.00", " 19.78");
    f.ViewSort(f.GBytesBut);
    ExpectFigures(Totals(f), " 0.02", " 0.00", " 0.02");
}

TEST_F(UnitsTest, NoShownRowGivesEmptyOrZeroTotals)
{
    TForm1& f = StartActive();
    f.ViewSort(f.BytesBut);
    ExpectFigures(Totals(f), " ", " ", " ");
    f.ViewSort(f.KBytesBut);
    ExpectFigures(Totals(f), " ", " ", " ");
    f.ViewSort(f.MBytesBut);
    ExpectFigures(Totals(f), " 0.00", " 0.00", " 0.00");
    f.ViewSort(f.GBytesBut);
    ExpectFigures(Totals(f), " 0.00", " 0.00", " 0.00");
}

TEST_F(UnitsTest, HiddenOrSilentRowsKeepTheirTextsAndAreNotTotalled)
{
    fake.AddDrive('C', DRIVE_FIXED, 2048, 1024);
    fake.AddDrive('D', DRIVE_FIXED, 4096, 0);
    fake.AddDrive('E', DRIVE_CDROM).Answers = false;
    TForm1& f = StartActive();
    f.Slot('D').Pan->hide();
    f.Slot('D').S->setCaption(QStringLiteral("kept"));
    f.Slot('E').S->setCaption(QStringLiteral("kept too"));
    f.ViewSort(f.BytesBut);
    ExpectFigures(RowOf(f.Slot('C')), "2,048", "1,024", "1,024");
    EXPECT_EQ(f.Slot('D').S->Caption(), QStringLiteral("kept"));
    EXPECT_EQ(f.Slot('E').S->Caption(), QStringLiteral("kept too"));
    ExpectFigures(Totals(f), " 2,048", " 1,024", " 1,024");
}

TEST_F(UnitsTest, ClickingAUnitLeavesExactlyOneButtonDownAndOneFlagSet)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 4 * GiB);
    TForm1& f = StartActive();
    f.show();
    const struct {
        TSizeUnit unit;
        TLbSpeedButton* button;
        TAction* flag;
        const char* caption;
    } units[] = {{TSizeUnit::GBytes, f.GBytesBut, f.GBView, "GigaBytes"},
                 {TSizeUnit::Bytes, f.BytesBut, f.BView, "Bytes"},
                 {TSizeUnit::KBytes, f.KBytesBut, f.KBView, "KBytes"},
                 {TSizeUnit::KBytes, f.KBytesBut, f.KBView, "KBytes"}, // the one already down
                 {TSizeUnit::MBytes, f.MBytesBut, f.MBView, "MegaBytes"}};
    for (const auto& u : units) {
        QTest::mouseClick(u.button, Qt::LeftButton);
        int down = 0, set = 0;
        for (TLbSpeedButton* b : {f.BytesBut, f.KBytesBut, f.MBytesBut, f.GBytesBut})
            down += b->Down();
        for (TAction* a : {f.BView, f.KBView, f.MBView, f.GBView})
            set += a->Checked();
        EXPECT_EQ(down, 1) << u.caption;
        EXPECT_EQ(set, 1) << u.caption;
        EXPECT_TRUE(u.button->Down()) << u.caption;
        EXPECT_TRUE(u.flag->Checked()) << u.caption;
        ASSERT_NE(f.CurrentUnit(), nullptr);
        EXPECT_EQ(f.CurrentUnit()->Unit, u.unit) << u.caption;
        const QString unit = QString::fromLatin1(u.caption);
        EXPECT_EQ(f.HeaderControl1->Section(1).Text, QStringLiteral("Size in ") + unit);
        EXPECT_EQ(f.HeaderControl1->Section(2).Text, QStringLiteral("Free in ") + unit);
        EXPECT_EQ(f.HeaderControl1->Section(3).Text, QStringLiteral("Used in ") + unit);
        EXPECT_EQ(f.HeaderControl1->Section(0).Text, QStringLiteral("Drive"));
        EXPECT_EQ(f.HeaderControl1->Section(4).Text, QStringLiteral("Used"));
        EXPECT_EQ(f.HeaderControl1->Section(5).Text, QStringLiteral("%"));
        EXPECT_EQ(f.HeaderControl1->Section(6).Text, QStringLiteral("#"));
    }
    // The figures follow the last click: 6 GiB used = 6,144.00 MB.
    EXPECT_EQ(f.Slot('C').U->Caption(), QStringLiteral("6,144.00"));
}

TEST_F(UnitsTest, FullDriveShowsZeroFreeInEveryUnit)
{
    fake.AddDrive('C', DRIVE_FIXED, 3 * GiB, 0);
    TForm1& f = StartActive();
    for (TLbSpeedButton* b : {f.BytesBut, f.KBytesBut, f.MBytesBut, f.GBytesBut}) {
        f.ViewSort(b);
        EXPECT_EQ(f.Slot('C').F->Caption(), QStringLiteral("0")) << b->Caption().toStdString();
    }
    EXPECT_EQ(f.Slot('C').S->Caption(), QStringLiteral("3.00"));
}

TEST(Units, QueryFailingAfterTheDriveAnsweredShowsZeroNotMinusOne)
{
    FlakyPlatform fake;
    QTemporaryDir dir;
    fake.Folder = dir.path() + QLatin1Char('/');
    ScopedPlatform scope(fake);
    fake.AddDrive('C', DRIVE_FIXED, 4096, 1024);
    TForm1 f;
    f.FormActivate(&f);
    const DriveSlot& c = f.Slot('C');
    for (TLbSpeedButton* b : {f.BytesBut, f.KBytesBut}) {
        c.S->setCaption(QStringLiteral("x"));
        c.F->setCaption(QStringLiteral("x"));
        c.U->setCaption(QStringLiteral("x"));
        fake.flaky = true;
        fake.answered = false;
        f.ViewSort(b);
        fake.flaky = false;
        ExpectFigures(RowOf(c), "0", "0", "0");
    }
}

TEST_F(UnitsTest, ViewMenuShowsTheDrivesItem)
{
    TForm1& f = Start();
    f.Options1->setVisible(false);
    f.View1Click(f.View1);
    EXPECT_TRUE(f.Options1->isVisible());
}
