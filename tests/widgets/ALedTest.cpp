// The LED: the conventions of the twelve lamp pictures, recolouring, and the
// rules of its setters and blinking.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QTest>
#include <set>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "toolkit/GdiCanvas.h"
#include "toolkit/Pictures.h"
#include "widgets/ALed.h"

using kestrix::test::CountColor;
using kestrix::test::PixelAt;
using kestrix::test::Render;

namespace {

struct PictureSpec {
    const char* name;
    int w, h;
    bool bordered;
};
constexpr PictureSpec kPictures[] = {
    {"BSM", 16, 16, true},   {"NSM", 16, 16, false},   {"BLG", 22, 22, true},   {"NLG", 22, 22, false},
    {"BSQSM", 16, 16, true}, {"NSQSM", 16, 16, false}, {"BSQLG", 22, 22, true}, {"NSQLG", 22, 22, false},
    {"BVT", 16, 22, true},   {"NVT", 16, 22, false},   {"BHZ", 22, 16, true},   {"NHZ", 22, 16, false},
};

QImage Resource(const char* name)
{
    InitResources();
    return QImage(QStringLiteral(":/leds/") + name, "XPM").convertToFormat(QImage::Format_RGB32);
}

// The pixels 4-connected to (x, y) that share its colour.
std::set<std::pair<int, int>> Area(const QImage& img, int x, int y)
{
    const TColor c = PixelAt(img, x, y);
    std::set<std::pair<int, int>> seen;
    std::vector<std::pair<int, int>> todo{{x, y}};
    while (!todo.empty()) {
        auto [px, py] = todo.back();
        todo.pop_back();
        if (px < 0 || py < 0 || px >= img.width() || py >= img.height() || PixelAt(img, px, py) != c
            || !seen.insert({px, py}).second)
            continue;
        todo.insert(todo.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
    return seen;
}

ThhALed* DriveRowLed(QWidget* parent = nullptr)
{
    auto* led = new ThhALed(parent);
    led->setLEDStyle(TLEDStyle::LEDHorizontal);
    led->setBlink(false);
    led->setValue(true);
    return led;
}

} // namespace

TEST(ThhALedPictures, EveryPictureKeepsTheColourConventions)
{
    for (const PictureSpec& p : kPictures) {
        SCOPED_TRACE(p.name);
        const QImage img = Resource(p.name);
        ASSERT_EQ(img.size(), QSize(p.w, p.h));
        const int area = p.w * p.h;
        int known = 0;
        for (TColor c : {clBlack, clSilver, clWhite, clGray, clLime})
            known += CountColor(img, 0, 0, p.w, p.h, c);
        EXPECT_EQ(known, area) << "five colours only";
        // Lime: one area, around the centre pixel, nowhere else.
        EXPECT_EQ(PixelAt(img, p.w / 2, p.h / 2), clLime);
        EXPECT_EQ(int(Area(img, p.w / 2, p.h / 2).size()), CountColor(img, 0, 0, p.w, p.h, clLime));
        if (p.bordered) {
            // The raised one-pixel bevel at the edge.
            for (int x = 0; x < p.w - 1; ++x)
                EXPECT_EQ(PixelAt(img, x, 0), clWhite) << "top row " << x;
            for (int y = 0; y < p.h - 1; ++y)
                EXPECT_EQ(PixelAt(img, 0, y), clWhite) << "left column " << y;
            for (int x = 0; x < p.w; ++x)
                EXPECT_EQ(PixelAt(img, x, p.h - 1), clGray) << "bottom row " << x;
            for (int y = 0; y < p.h; ++y)
                EXPECT_EQ(PixelAt(img, p.w - 1, y), clGray) << "right column " << y;
        } else {
            // Silver all round the edge, one area with the top-left pixel.
            EXPECT_EQ(PixelAt(img, 0, 0), clSilver);
            const auto outside = Area(img, 0, 0);
            for (int x = 0; x < p.w; ++x) {
                EXPECT_TRUE(outside.count({x, 0}) && outside.count({x, p.h - 1})) << x;
            }
            for (int y = 0; y < p.h; ++y)
                EXPECT_TRUE(outside.count({0, y}) && outside.count({p.w - 1, y})) << y;
            // The lamp's outline keeps the face away from the surroundings.
            for (auto [x, y] : outside)
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                    if (x + dx >= 0 && y + dy >= 0 && x + dx < p.w && y + dy < p.h) {
                        EXPECT_NE(PixelAt(img, x + dx, y + dy), clLime);
                    }
        }
    }
}

TEST(ThhALedPictures, DriveRowLampHasItsTwelveBySixFace)
{
    const QImage img = Resource("BHZ");
    int lime = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 22; ++x) {
            const bool inFace = x >= 5 && x <= 16 && y >= 5 && y <= 10;
            const TColor c = PixelAt(img, x, y);
            if (inFace)
                EXPECT_TRUE(c == clLime || c == clWhite) << x << "," << y; // face or its highlight
            else
                EXPECT_NE(c, clLime) << x << "," << y;
            lime += c == clLime;
        }
    // The face's edges are lime all round (the highlight sits inside them).
    for (int x = 5; x <= 16; ++x)
        EXPECT_TRUE(PixelAt(img, x, 5) == clLime && PixelAt(img, x, 10) == clLime) << x;
    for (int y = 5; y <= 10; ++y)
        EXPECT_TRUE(PixelAt(img, 5, y) == clLime && PixelAt(img, 16, y) == clLime) << y;
    EXPECT_GT(lime, 60);
}

TEST(ThhALed, NewLedShowsTheOffPictureAndDoesNotBlink)
{
    ThhALed led;
    EXPECT_EQ(led.size(), QSize(16, 16));
    EXPECT_FALSE(led.Value());
    EXPECT_TRUE(led.Blink());
    EXPECT_EQ(led.Interval(), 1000);
    EXPECT_EQ(led.LEDStyle(), TLEDStyle::LEDSmall);
    EXPECT_TRUE(led.Bordered());
    EXPECT_EQ(led.TrueColor(), clLime);
    EXPECT_EQ(led.FalseColor(), clSilver);
    EXPECT_EQ(led.BorderColor(), clBtnFace);
    EXPECT_EQ(led.BlinkTimer(), nullptr);
    const QImage img = Render(&led);
    const QImage pic = Resource("BSM");
    // The off picture: every lime pixel of the lamp is silver, all else as drawn.
    EXPECT_EQ(PixelAt(img, 8, 8), clSilver);
    EXPECT_EQ(CountColor(img, 0, 0, 16, 16, clLime), 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(PixelAt(img, x, y), PixelAt(pic, x, y) == clLime ? clSilver : PixelAt(pic, x, y));
}

TEST(ThhALed, DriveRowLedRecolouredToEveryClass)
{
    // Blink False, Value True: each new TrueColor recolours the 12 x 6 face
    // (highlight excepted) and shows it at once, with no timer.
    const QImage pic = Resource("BHZ");
    const int face = CountColor(pic, 5, 5, 17, 11, clLime);
    std::unique_ptr<ThhALed> led(DriveRowLed());
    EXPECT_EQ(led->size(), QSize(22, 16));
    kestrix::test::PaintCounter paints(led.get());
    kestrix::test::ShowSettled(led.get());
    for (TColor c : {clYellow, clRed, clBlue, clFuchsia, clLime}) {
        paints.count = 0;
        led->setTrueColor(c);
        EXPECT_GE(paints.count, 1) << "repainted at once";
        EXPECT_EQ(led->BlinkTimer(), nullptr);
        const QImage img = Render(led.get());
        EXPECT_EQ(CountColor(img, 5, 5, 17, 11, c), face);
        EXPECT_EQ(CountColor(img, 0, 0, 22, 16, c), face);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 22; ++x)
                if (PixelAt(pic, x, y) != clLime) {
                    EXPECT_EQ(PixelAt(img, x, y), PixelAt(pic, x, y));
                }
    }
    paints.count = 0;
    led->setTrueColor(clLime); // unchanged: nothing
    EXPECT_EQ(paints.count, 0);
}

TEST(ThhALed, BorderlessLampStandsOnTheBorderColour)
{
    ThhALed led;
    led.setBordered(false);
    led.setBorderColor(0x336699);
    const QImage img = Render(&led);
    const QImage pic = Resource("NSM");
    const auto outside = Area(pic, 0, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const TColor was = PixelAt(pic, x, y);
            const TColor expected = outside.count({x, y}) ? TColor(0x336699) : was == clLime ? clSilver : was;
            EXPECT_EQ(PixelAt(img, x, y), expected) << x << "," << y;
        }
    // With the button face the surroundings stay silver-looking; outline and rim stay.
    led.setBorderColor(clBtnFace);
    EXPECT_EQ(PixelAt(Render(&led), 0, 0), clSilver);
}

TEST(ThhALed, StyleSetsTheSizeAndPicture)
{
    ThhALed led;
    led.setLEDStyle(TLEDStyle::LEDVertical);
    EXPECT_EQ(led.size(), QSize(16, 22));
    led.setValue(true);
    const QImage img = Render(&led);
    EXPECT_EQ(img, Resource("BVT")); // on picture with lime: the picture itself
    led.setLEDStyle(TLEDStyle::LEDLarge);
    EXPECT_EQ(led.size(), QSize(22, 22));
    led.setLEDStyle(TLEDStyle::LEDSqLarge);
    led.setBordered(false);
    EXPECT_EQ(ThhALed::PictureName(led.LEDStyle(), led.Bordered()), "NSQLG");
}

TEST(ThhALed, BlinksWithItsTimerStartingWithTheOnPicture)
{
    ThhALed led;
    led.setInterval(20);
    int ticks = 0;
    led.OnTimer = [&](QObject* s) {
        EXPECT_EQ(s, &led);
        ++ticks;
    };
    led.setValue(true);
    ASSERT_NE(led.BlinkTimer(), nullptr);
    EXPECT_EQ(led.BlinkTimer()->interval(), 20);
    EXPECT_TRUE(led.ShowingOn());
    EXPECT_EQ(PixelAt(Render(&led), 8, 8), clLime);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 2000);
    EXPECT_EQ(led.ShowingOn(), ticks % 2 == 0);
    led.setInterval(35);
    EXPECT_EQ(led.BlinkTimer()->interval(), 35);

    // A new colour while blinking: still blinking, in the new colour.
    led.setTrueColor(clRed);
    ASSERT_NE(led.BlinkTimer(), nullptr);
    EXPECT_EQ(PixelAt(led.OnPicture(), 8, 8), clRed);
    const int before = ticks;
    QTRY_VERIFY_WITH_TIMEOUT(ticks > before, 2000);

    // Blink False: the steady on picture, no timer.
    led.setBlink(false);
    EXPECT_EQ(led.BlinkTimer(), nullptr);
    EXPECT_TRUE(led.ShowingOn());
    // Value False stops everything and shows off.
    led.setBlink(true);
    ASSERT_NE(led.BlinkTimer(), nullptr);
    led.setValue(false);
    EXPECT_EQ(led.BlinkTimer(), nullptr);
    EXPECT_FALSE(led.ShowingOn());
    EXPECT_EQ(PixelAt(Render(&led), 8, 8), clSilver);
}

TEST(ThhALed, MouseEnterAndLeaveAreReported)
{
    ThhALed led;
    std::vector<std::string> seen;
    led.OnMouseEnter = [&](QObject* s) { seen.push_back(s == &led ? "enter" : "?"); };
    led.OnMouseLeave = [&](QObject* s) { seen.push_back(s == &led ? "leave" : "?"); };
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&led, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&led, &leave);
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));
}

TEST(ThhALedPictures, LampsRecolouredOneAfterAnotherKeepTheirOwnFaces)
{
    // The lamp pictures are decoded once and shared: recolouring one lamp
    // must change neither the next lamp built nor the picture itself.
    std::unique_ptr<ThhALed> red(DriveRowLed()), blue(DriveRowLed());
    red->setTrueColor(clRed);
    blue->setTrueColor(clBlue);
    const QImage redPic = red->grab().toImage(), bluePic = blue->grab().toImage();
    EXPECT_EQ(PixelAt(redPic, 11, 8), clRed);
    EXPECT_EQ(PixelAt(bluePic, 11, 8), clBlue);
    EXPECT_EQ(CountColor(redPic, 0, 0, 22, 16, clBlue), 0);
    const QImage fresh = LedPicture(QStringLiteral("BHZ"));
    EXPECT_EQ(PixelAt(fresh, 11, 8), clLime);
    EXPECT_EQ(fresh, Resource("BHZ"));
}

TEST(ThhALedPictures, BorderlessLampsOfOneFaceKeepTheirOwnSurroundings)
{
    // Two lamps alike but for the colour around them, recoloured in turn:
    // each shows its own face and its own surroundings.
    ThhALed a, b;
    for (ThhALed* l : {&a, &b}) {
        l->setBordered(false);
        l->setValue(true); // the on picture, in TrueColor
    }
    a.setBorderColor(0x336699);
    b.setBorderColor(0x996633);
    for (TColor face : {clRed, clYellow, clRed}) {
        a.setTrueColor(face);
        b.setTrueColor(face);
        const QImage ia = Render(&a), ib = Render(&b);
        EXPECT_EQ(PixelAt(ia, 0, 0), TColor(0x336699));
        EXPECT_EQ(PixelAt(ib, 0, 0), TColor(0x996633));
        EXPECT_EQ(PixelAt(ia, 8, 8), face);
        EXPECT_EQ(PixelAt(ib, 8, 8), face);
    }
    b.setTrueColor(clLime);
    EXPECT_EQ(PixelAt(Render(&a), 8, 8), clRed);
    EXPECT_EQ(PixelAt(Render(&b), 8, 8), clLime);
}
