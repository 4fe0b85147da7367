// The colour schemes: every target of a scheme, the buttons by their pressed
// state, the check marks that follow the colours shown, and the scheme
// across a restart and with settings files that mark none or several.
#include <QTest>

#include "MainWindowFixture.h"

using namespace kestrix::test;

namespace {

const QString kSettings = QStringLiteral("INIVAL.INI");

// The design's table: light, middle, dark of Cs0 .. Cs5.
struct Scheme {
    TColor light, middle, dark;
};
constexpr Scheme kGray{16777215, 12632256, 8421504};
constexpr Scheme kTable[] = {
    kGray,
    {16777215, 16303781, 15436103},
    {16777215, 0xFF8080, 0x800000},
    {16777215, 8421631, 128},
    {16777215, 12639424, 0x8000},
    {clBtnHighlight, clBtnFace, clBtnShadow},
};

} // namespace

class ColorSchemesTest : public MainWindowTest {
protected:
    // Every target of the scheme holds its colour.
    void ExpectScheme(const Scheme& s) const
    {
        TForm1& f = *form;
        for (TGPanel* p : {f.TopPanel, f.PanGuage}) {
            EXPECT_EQ(p->Color_1(), s.light) << p->objectName().toStdString();
            EXPECT_EQ(p->Color_2(), s.middle) << p->objectName().toStdString();
            EXPECT_EQ(p->Color_3(), s.dark) << p->objectName().toStdString();
        }
        EXPECT_EQ(f.StatBar->Color(), s.dark);
        EXPECT_EQ(f.Color(), s.dark);
        for (TControl* c : std::initializer_list<TControl*>{f.GM_RPan, f.GM_SPan, f.GM_LPan, f.LRAM, f.LSwap})
            EXPECT_EQ(c->Color(), s.light) << c->objectName().toStdString();
        for (QObject* o : f.Components()) {
            if (auto* b = qobject_cast<TLbSpeedButton*>(o)) {
                const std::string name = b->objectName().toStdString();
                EXPECT_EQ(b->Color(), b->Down() ? s.middle : s.light) << name;
                EXPECT_EQ(b->LightColor(), b->Down() ? s.light : s.middle) << name;
                EXPECT_EQ(b->ShadowColor(), s.dark) << name;
            }
            if (auto* g = qobject_cast<TGauge*>(o)) {
                EXPECT_EQ(g->BackColor(), s.light) << g->objectName().toStdString();
            }
        }
        EXPECT_EQ(f.PanDet->Color_2(), s.dark);
    }
    void PutMarks(const QByteArray& marks) const { PutInFolder(kSettings, "[Form1]\n" + marks); }
};

TEST_F(ColorSchemesTest, BlueRecoloursEveryTargetAndTicksOnlyBlue)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    TForm1& f = StartActive();
    ExpectScheme(kGray);
    EXPECT_EQ(SchemeMarks(), QStringLiteral("100000"));

    f.Cs[2]->Click();
    ExpectScheme(kTable[2]);
    EXPECT_EQ(f.MBytesBut->Color(), TColor(0xFF8080)); // the pressed unit
    EXPECT_EQ(f.GBytesBut->Color(), clWhite);
    EXPECT_EQ(f.Slot('C').Button->Color(), clWhite);
    EXPECT_EQ(SchemeMarks(), QStringLiteral("001000"));

    // What the window shows: one row, so the bottom panel starts at 82.
    const QImage img = Render(&f);
    const int top = f.MenuBarHeight();
    const int bottom = top + 82;
    EXPECT_EQ(PixelAt(img, 350, top), clWhite);               // toolbar: light at its top line
    EXPECT_EQ(PixelAt(img, 350, top + 33), TColor(0xFF8080)); // and middle at 75 % of 44
    EXPECT_EQ(PixelAt(img, 20, bottom), clWhite);             // bottom panel: light on top
    EXPECT_EQ(PixelAt(img, 5, bottom + 45), TColor(0xFF8080)); // middle at 50 % of 90
    EXPECT_EQ(CountColor(img, 0, top + 172, 600, top + 191, 0x800000), 600 * 19); // status bar
    EXPECT_EQ(PixelAt(img, 620, top + 62 + 3), clWhite);      // percentage box of row C
    EXPECT_EQ(PixelAt(img, 620, bottom + 3 + 3), clWhite);    // the totals' percentage box
    EXPECT_EQ(PixelAt(img, 473, bottom + 46 + 3), clWhite);   // RAM text panel
    EXPECT_EQ(PixelAt(img, 14, bottom + 30 + 20), clWhite);   // RAM gauge panel
    // The unit buttons: the inner frame in the shadow colour while pressed,
    // in the face colour while released; below the first quarter the
    // gradient from the face to the light colour, whose band 1 lies on the
    // quarter's line (H div 4 + 1 pressed, H div 4 released):
    // 0x80 + 127 / 31 = 132 from 0xFF8080 to white, 255 - 127 / 31 = 250.9
    // from white to 0xFF8080.
    EXPECT_EQ(PixelAt(img, 204 + 1, top + 2 + 20), TColor(0x800000));
    EXPECT_EQ(PixelAt(img, 96 + 1, top + 2 + 20), clWhite);
    EXPECT_EQ(PixelAt(img, 204 + 3, top + 2 + 11), TColor(0xFF8484));
    EXPECT_EQ(PixelAt(img, 96 + 3, top + 2 + 10), TColor(0xFFFAFA));
    if (HasFailure())
        SaveForInspection(img, QStringLiteral("scheme-blue"));
}

TEST_F(ColorSchemesTest, PressingAUnitOrMemoryButtonRecoloursTheButtonsAtOnce)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    TForm1& f = StartActive();
    f.Cs[4]->Click(); // Green
    QTest::mouseClick(f.BytesBut, Qt::LeftButton);
    EXPECT_EQ(f.BytesBut->Color(), TColor(12639424));
    EXPECT_EQ(f.BytesBut->LightColor(), clWhite);
    EXPECT_EQ(f.MBytesBut->Color(), clWhite);
    EXPECT_EQ(f.MBytesBut->LightColor(), TColor(12639424));

    QTest::mouseClick(f.BRmb, Qt::LeftButton);
    EXPECT_EQ(f.BRmb->Color(), TColor(12639424));
    EXPECT_EQ(f.BRkb->Color(), clWhite);
    EXPECT_EQ(f.BRkb->LightColor(), TColor(12639424));
    // Released again: all three memory buttons up, all in the light colour.
    QTest::mouseClick(f.BRmb, Qt::LeftButton);
    for (TLbSpeedButton* b : {f.BRbytes, f.BRkb, f.BRmb})
        EXPECT_EQ(b->Color(), clWhite) << b->objectName().toStdString();
    ExpectScheme(kTable[4]);
}

TEST_F(ColorSchemesTest, SystemColorsSurviveARestartWithWhiteAsLight)
{
    Start();
    form->Cs[5]->Click();
    ExpectScheme(kTable[5]);
    EXPECT_EQ(SchemeMarks(), QStringLiteral("000001"));
    CloseAndEnd();
    EXPECT_TRUE(FileInFolder(kSettings).contains("\nCs5=1\n"));

    TForm1& f = Start();
    EXPECT_EQ(SchemeMarks(), QStringLiteral("000001"));
    ExpectScheme({clWhite, clBtnFace, clBtnShadow});
    // The fixed system table: button face and shadow, whatever the desktop.
    const QImage img = Render(&f);
    EXPECT_EQ(PixelAt(img, 300, img.height() - 5), TColor(0x808080));
    EXPECT_EQ(PixelAt(img, 20, f.MenuBarHeight()), clWhite);
    EXPECT_EQ(PixelAt(img, 350, f.MenuBarHeight() + 33), TColor(0xC0C0C0));
}

// The settings store loads the marks once more after the creation handler,
// as they stand in the file; the first activation's re-application of the
// scheme then brings them in line with the colours, as soon as the window
// is first shown.
TEST_F(ColorSchemesTest, NoMarkStartsGrayAndOfSeveralMarksTheLastWins)
{
    PutMarks("Cs0=0\nCs1=0\nCs2=0\nCs3=0\nCs4=0\nCs5=0\n");
    StartActive();
    ExpectScheme(kGray);
    EXPECT_EQ(SchemeMarks(), QStringLiteral("100000"));
    form.reset();

    PutMarks("Cs0=1\nCs1=1\nCs3=1\nCs4=0\n");
    StartActive();
    ExpectScheme(kTable[3]);
    EXPECT_EQ(SchemeMarks(), QStringLiteral("000100"));
    // Only that one is saved.
    CloseAndEnd();
    const QByteArray saved = FileInFolder(kSettings);
    for (const char* entry : {"Cs0=0", "Cs1=0", "Cs2=0", "Cs3=1", "Cs4=0", "Cs5=0"})
        EXPECT_TRUE(saved.contains(QByteArray("\n") + entry + "\n")) << entry;
}

TEST_F(ColorSchemesTest, OpeningTheSubmenuOnlyBringsTheMarksInLineWithTheColours)
{
    TForm1& f = Start();
    f.Cs[1]->Click(); // Light Blue
    f.Cs[1]->setChecked(false);
    f.Cs[0]->setChecked(true);
    emit f.Colors1->SubMenu()->aboutToShow();
    ExpectScheme(kTable[1]);
    EXPECT_EQ(SchemeMarks(), QStringLiteral("010000"));

    // A middle colour of no scheme leaves every item unmarked.
    f.PanGuage->setColor_2(0x123456);
    emit f.Colors1->SubMenu()->aboutToShow();
    EXPECT_EQ(SchemeMarks(), QStringLiteral("000000"));
    EXPECT_EQ(f.PanGuage->Color_2(), TColor(0x123456));
    EXPECT_EQ(f.TopPanel->Color_2(), TColor(16303781));
}

TEST_F(ColorSchemesTest, ClosingSavesTheMarkOfTheColoursShown)
{
    Start();
    form->Cs[3]->Click(); // Red
    form->Cs[3]->setChecked(false);
    form->Cs[1]->setChecked(true);
    CloseAndEnd();
    const QByteArray saved = FileInFolder(kSettings);
    EXPECT_TRUE(saved.contains("\nCs0=0\nCs1=0\nCs2=0\nCs3=1\nCs4=0\nCs5=0\n")) << saved.left(200).toStdString();
}
