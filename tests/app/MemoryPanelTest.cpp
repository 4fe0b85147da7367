// The memory panel: gauges and captions from the one memory reading of the
// run, the available memory in bytes, kb and mb, the memory unit buttons, and
// totals that would divide by zero or overflow.
#include <QTest>

#include "MainWindowFixture.h"
#include "toolkit/Cursors.h"

using namespace kestrix::test;

class MemoryPanelTest : public MainWindowTest {
protected:
    void SetMemory(std::uint64_t totalPhys, std::uint64_t availPhys, std::uint64_t totalSwap, std::uint64_t availSwap,
                   std::uint32_t load)
    {
        fake.Memory.TotalPhys = totalPhys;
        fake.Memory.AvailPhys = availPhys;
        fake.Memory.TotalPageFile = totalSwap;
        fake.Memory.AvailPageFile = availSwap;
        fake.Memory.MemoryLoad = load;
    }
    // The memory unit buttons pressed, bytes, kb, mb: "010" is kilobytes.
    QString MemoryButtonsDown() const
    {
        QString downs;
        for (TLbSpeedButton* b : {form->BRbytes, form->BRkb, form->BRmb})
            downs += b->Down() ? QLatin1Char('1') : QLatin1Char('0');
        return downs;
    }
    void ExpectTexts(const char* ram, const char* swap) const
    {
        EXPECT_EQ(form->LRAM->Caption(), QString::fromLatin1(ram));
        EXPECT_EQ(form->LSwap->Caption(), QString::fromLatin1(swap));
    }
};

TEST_F(MemoryPanelTest, GaugesShowTheShareInUseFromWholeHundredthsOfTheTotal)
{
    // RAM: divisor 10,000,000, quotient 31: 69. Swap: 4,000,000,000 with
    // 2,999,999,999 free: divisor 40,000,000, quotient 74 (not 75): 26.
    SetMemory(1000000000, 312500000, 4000000000, 2999999999, 57);
    TForm1& f = Start();
    EXPECT_EQ(f.GM_R->Percent(), 69);
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 69%"));
    EXPECT_EQ(f.GM_S->Percent(), 26);
    EXPECT_EQ(f.GM_SL->Caption(), QStringLiteral("Swap = 26%"));
    EXPECT_EQ(f.GM_L->Percent(), 57);
    EXPECT_EQ(f.GM_LL->Caption(), QStringLiteral("Load = 57%"));
    EXPECT_EQ(f.GM_R->Hint(), QStringLiteral("RAM usage"));
    EXPECT_EQ(f.GM_S->Hint(), QStringLiteral("Swap file usage"));
    EXPECT_EQ(f.GM_L->Hint(), QStringLiteral("Memory load"));

    // The reading is taken once: a reload and later activations show the
    // same figures, whatever the machine does meanwhile.
    SetMemory(1000000000, 900000000, 0, 0, 10);
    f.ReloadButClick(&f);
    f.FormActivate(&f);
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 69%"));
    EXPECT_EQ(f.GM_SL->Caption(), QStringLiteral("Swap = 26%"));
    EXPECT_EQ(f.GM_LL->Caption(), QStringLiteral("Load = 57%"));
    EXPECT_EQ(f.LRAM->Caption(), QStringLiteral("305,176  kb")); // 312,500,000 / 1024 = 305,175.78
}

TEST_F(MemoryPanelTest, AvailableMemoryInEachUnitOfTheButtons)
{
    // 2 GiB of RAM and 1.5 GiB of swap available; kilobytes at every start.
    SetMemory(4294967296, 2147483648, 2147483648, 1610612736, 50);
    TForm1& f = Start();
    EXPECT_EQ(MemoryButtonsDown(), QStringLiteral("010"));
    ExpectTexts("2,097,152  kb", "1,572,864  kb");

    QTest::mouseClick(f.BRbytes, Qt::LeftButton);
    EXPECT_EQ(MemoryButtonsDown(), QStringLiteral("100"));
    ExpectTexts("2,147,483,648  bytes", "1,610,612,736  bytes");

    QTest::mouseClick(f.BRmb, Qt::LeftButton);
    EXPECT_EQ(MemoryButtonsDown(), QStringLiteral("001"));
    ExpectTexts("2,048.00  mb", "1,536.00  mb");

    // Clicking the pressed button releases it: none is down, the texts stay,
    // and the gauges' captions are still rewritten.
    f.GM_RL->setCaption(QStringLiteral("stale"));
    f.GM_LL->setCaption(QStringLiteral("stale"));
    QTest::mouseClick(f.BRmb, Qt::LeftButton);
    EXPECT_EQ(MemoryButtonsDown(), QStringLiteral("000"));
    ExpectTexts("2,048.00  mb", "1,536.00  mb");
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 50%"));
    EXPECT_EQ(f.GM_LL->Caption(), QStringLiteral("Load = 50%"));
    f.ReloadButClick(&f);
    ExpectTexts("2,048.00  mb", "1,536.00  mb");

    // The memory unit is not kept: the next start shows kilobytes again.
    QTest::mouseClick(f.BRbytes, Qt::LeftButton);
    CloseAndEnd();
    Start();
    EXPECT_EQ(MemoryButtonsDown(), QStringLiteral("010"));
    ExpectTexts("2,097,152  kb", "1,572,864  kb");
}

TEST_F(MemoryPanelTest, NothingAvailableShowsZeroInEveryUnit)
{
    SetMemory(8 * GiB, 0, 2 * GiB, 0, 100);
    TForm1& f = Start();
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 100%"));
    EXPECT_EQ(f.GM_SL->Caption(), QStringLiteral("Swap = 100%"));
    ExpectTexts("0  kb", "0  kb");
    QTest::mouseClick(f.BRbytes, Qt::LeftButton);
    ExpectTexts("0  bytes", "0  bytes");
    QTest::mouseClick(f.BRmb, Qt::LeftButton);
    ExpectTexts("0  mb", "0  mb");
}

TEST_F(MemoryPanelTest, NoSwapReadsAsZeroWithoutDividingByZero)
{
    // No swap configured: both swap figures are 0.
    SetMemory(16 * GiB, 4 * GiB, 0, 0, 75);
    TForm1& f = Start();
    EXPECT_EQ(f.GM_S->Percent(), 0);
    EXPECT_EQ(f.GM_SL->Caption(), QStringLiteral("Swap = 0%"));
    EXPECT_EQ(f.LSwap->Caption(), QStringLiteral("0  kb"));
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 75%"));

    // Below 100 bytes there is no whole hundredth either.
    f.MemStatus.TotalPageFile = 99;
    f.MemStatus.AvailPageFile = 10;
    f.MemStatus.TotalPhys = 1;
    f.SysInfo(&f);
    EXPECT_EQ(f.GM_SL->Caption(), QStringLiteral("Swap = 0%"));
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 0%"));

    // A reading that failed leaves every figure at 0.
    CloseAndEnd();
    fake.MemoryFails = true;
    Start();
    EXPECT_EQ(form->GM_RL->Caption(), QStringLiteral("RAM = 0%"));
    EXPECT_EQ(form->GM_SL->Caption(), QStringLiteral("Swap = 0%"));
    EXPECT_EQ(form->GM_LL->Caption(), QStringLiteral("Load = 0%"));
    ExpectTexts("0  kb", "0  kb");
}

TEST_F(MemoryPanelTest, TinyTotalsLeaveTheGaugeAndCaptionAtTheirPreviousValue)
{
    // 9,999 bytes all free: divisor 99, quotient 101; the gauge refuses the
    // negative share and keeps the layout's 80, which the caption reads back.
    SetMemory(9999, 9999, 5000, 5100, 20);
    TForm1& f = Start();
    EXPECT_EQ(f.GM_R->Percent(), 80);
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 80%"));
    // 5,000 with 5,100 free: divisor 50, quotient 102.
    EXPECT_EQ(f.GM_SL->Caption(), QStringLiteral("Swap = 80%"));

    // After a valid value, that one stays.
    f.MemStatus.TotalPhys = 1000000000;
    f.MemStatus.AvailPhys = 312500000;
    f.SysInfo(&f);
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 69%"));
    f.MemStatus.TotalPhys = 9999;
    f.MemStatus.AvailPhys = 9999;
    f.SysInfo(&f);
    EXPECT_EQ(f.GM_R->Percent(), 69);
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 69%"));

    // A quotient beyond 32 bits is refused too, not wrapped into range:
    // 100 - 2^40 taken to 32 bits would read 100.
    f.MemStatus.TotalPhys = 100;
    f.MemStatus.AvailPhys = std::uint64_t(1) << 40;
    f.SysInfo(&f);
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 69%"));
}

TEST_F(MemoryPanelTest, FiguresBeyond32BitsAreShownWhole)
{
    // 64 GiB of RAM with 40 GiB available, 5 TiB of swap with 4 TiB free:
    // divisor 687,194,767, quotient 62: 38; divisor 54,975,581,388,
    // quotient 80: 20.
    SetMemory(64 * GiB, 40 * GiB, 5 * 1024 * GiB, 4 * 1024 * GiB, 37);
    TForm1& f = Start();
    EXPECT_EQ(f.GM_RL->Caption(), QStringLiteral("RAM = 38%"));
    EXPECT_EQ(f.GM_SL->Caption(), QStringLiteral("Swap = 20%"));
    ExpectTexts("41,943,040  kb", "4,294,967,296  kb");
    QTest::mouseClick(f.BRbytes, Qt::LeftButton);
    ExpectTexts("42,949,672,960  bytes", "4,398,046,511,104  bytes");
}

TEST_F(MemoryPanelTest, EverySpeedButtonShowsTheHandPointer)
{
    TForm1& f = Start();
    const QImage hand = ProCursor(crProHandPoint).pixmap().toImage();
    ASSERT_FALSE(hand.isNull());
    int buttons = 0;
    for (QObject* c : f.Components()) {
        if (auto* b = qobject_cast<TLbSpeedButton*>(c)) {
            EXPECT_EQ(b->cursor().pixmap().toImage(), hand) << b->objectName().toStdString();
            ++buttons;
        }
    }
    // 24 drive buttons, the toolbar's seven, the three memory buttons.
    EXPECT_GE(buttons, 34);
}
