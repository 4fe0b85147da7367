// The glyphs, lamps and cursors the look-ups hand out are pixel for pixel
// what decoding their XPM sources gives.
#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QThread>

#include "toolkit/Cursors.h"
#include "toolkit/Pictures.h"

namespace {

// Empty when equal, else where they first differ.
std::string Difference(const QImage& got, const QImage& want)
{
    if (got.size() != want.size() || got.format() != want.format())
        return "size or format differs";
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y))
                return QStringLiteral("pixel %1,%2: %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(got.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .arg(want.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .toStdString();
    return {};
}

QStringList Entries(const char* folder)
{
    InitResources();
    return QDir(QString::fromLatin1(folder)).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(Pictures, EveryGlyphAndLampIsItsXpm)
{
    const QStringList glyphs = Entries(":/glyphs"), leds = Entries(":/leds");
    EXPECT_EQ(glyphs.size(), 17);
    EXPECT_EQ(leds.size(), 12);
    for (const QString& file : glyphs) {
        SCOPED_TRACE(file.toStdString());
        const QImage want = QImage(":/glyphs/" + file).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(want.isNull());
        EXPECT_EQ(Difference(GlyphPicture(QString(file).chopped(4)), want), "");
    }
    for (const QString& name : leds) {
        SCOPED_TRACE(name.toStdString());
        const QImage want = QImage(":/leds/" + name, "XPM").convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(want.isNull());
        EXPECT_EQ(Difference(LedPicture(name), want), "");
    }
    // Each has its raw form, and nothing else does.
    EXPECT_EQ(Entries(":/raw/glyphs").size(), glyphs.size());
    EXPECT_EQ(Entries(":/raw/leds"), leds);
    EXPECT_EQ(Entries(":/raw/cursors").size(), 5);
}

TEST(Pictures, UnknownNamesGiveNullAndOtherThreadsGetTheSamePixels)
{
    EXPECT_TRUE(GlyphPicture("nosuch").isNull());
    EXPECT_TRUE(GlyphPicture("reload.xpm").isNull());
    EXPECT_TRUE(GlyphPicture("").isNull());
    EXPECT_TRUE(LedPicture("nosuch").isNull());
    EXPECT_TRUE(LedPicture("").isNull());

    const QImage here = LedPicture("BHZ");
    QImage there;
    QThread* t = QThread::create([&] { there = LedPicture("BHZ"); });
    t->start();
    t->wait();
    delete t;
    EXPECT_EQ(Difference(there, here), "");
}

TEST(Pictures, EveryCursorIsItsXpmWithItsHotSpot)
{
    struct Spec {
        int id;
        const char* file;
        QPoint hot;
    };
    const Spec specs[] = {
        {crProHandPoint, "handpoint", {7, 1}},     {crProSmallHandPoint, "smallhandpoint", {5, 1}},
        {crProGrabHand, "grabhand", {10, 10}},     {crProGrabHandArrow, "grabhandarrow", {1, 1}},
        {crProDragHand, "draghand", {10, 10}},
    };
    InitResources();
    for (const Spec& s : specs) {
        SCOPED_TRACE(s.file);
        const QString xpm = QStringLiteral(":/cursors/%1.xpm").arg(QLatin1String(s.file));
        const QImage want = QPixmap(xpm).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(want.isNull());
        const QCursor c = ProCursor(s.id);
        EXPECT_EQ(c.hotSpot(), s.hot);
        EXPECT_EQ(Difference(c.pixmap().toImage().convertToFormat(QImage::Format_ARGB32), want), "");
        // The same as the XPM decodes on its own, transparent pixels too.
        EXPECT_EQ(Difference(c.pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                             QImage(xpm).convertToFormat(QImage::Format_ARGB32)),
                  "");
    }
}
