// The raw picture form: hand-made buffers, good and broken, and what the
// encoder writes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include "toolkit/RawPicture.h"

namespace {

// A header as the layout gives it: magic, then three little-endian words.
QByteArray Header(quint32 w, quint32 h, quint32 format, const char* magic = "KXRP")
{
    QByteArray b(magic, 4);
    for (quint32 v : {w, h, format})
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    return b;
}

// Two RGB32 pixels, 0x112233 and 0x445566, the second with a zero alpha byte.
QByteArray GoodRgb()
{
    return Header(2, 1, 1) + QByteArray("\x33\x22\x11\xFF\x66\x55\x44\x00", 8);
}

} // namespace

TEST(RawPicture, HandMadePicturesDecodeToTheirPixels)
{
    const QImage rgb = DecodeRawPicture(GoodRgb());
    ASSERT_FALSE(rgb.isNull());
    EXPECT_EQ(rgb.format(), QImage::Format_RGB32);
    EXPECT_EQ(rgb.size(), QSize(2, 1));
    EXPECT_EQ(rgb.pixel(0, 0), 0xFF112233u);
    // An opaque picture is opaque whatever its alpha bytes say.
    EXPECT_EQ(rgb.pixel(1, 0), 0xFF445566u);

    const QByteArray argbBytes = Header(1, 2, 2) + QByteArray("\x00\x00\x00\x00\x0C\x0B\x0A\x80", 8);
    const QImage argb = DecodeRawPicture(argbBytes);
    ASSERT_FALSE(argb.isNull());
    EXPECT_EQ(argb.format(), QImage::Format_ARGB32);
    EXPECT_EQ(argb.size(), QSize(1, 2));
    EXPECT_EQ(argb.pixel(0, 0), 0x00000000u);
    EXPECT_EQ(argb.pixel(0, 1), 0x800A0B0Cu);
}

TEST(RawPicture, BrokenBuffersGiveANullPicture)
{
    const QByteArray good = GoodRgb();
    // Every truncation, down to nothing.
    for (qsizetype n = 0; n < good.size(); ++n)
        EXPECT_TRUE(DecodeRawPicture(good.left(n)).isNull()) << n;
    EXPECT_TRUE(DecodeRawPicture(good + '\0').isNull()); // one byte too many
    const QByteArray px(8, '\x7F');
    EXPECT_TRUE(DecodeRawPicture(Header(2, 1, 1, "KXRQ") + px).isNull());
    EXPECT_TRUE(DecodeRawPicture(Header(2, 1, 0) + px).isNull());
    EXPECT_TRUE(DecodeRawPicture(Header(2, 1, 3) + px).isNull());
    EXPECT_TRUE(DecodeRawPicture(Header(0, 1, 1)).isNull());
    EXPECT_TRUE(DecodeRawPicture(Header(1, 0, 1)).isNull());
    EXPECT_TRUE(DecodeRawPicture(Header(2, 4, 1) + px).isNull()); // claims more rows than it has
    // Sides whose product overflows 32 bits, and a side past the limit
    // with a length that would fit it.
    EXPECT_TRUE(DecodeRawPicture(Header(0x10000, 0x10000, 1) + px).isNull());
    EXPECT_TRUE(DecodeRawPicture(Header(0xFFFFFFFFu, 0xFFFFFFFFu, 2) + px).isNull());
    EXPECT_TRUE(DecodeRawPicture(Header(16385, 1, 1) + QByteArray(16385 * 4, '\0')).isNull());
    EXPECT_FALSE(DecodeRawPicture(Header(16384, 1, 1) + QByteArray(16384 * 4, '\0')).isNull());
}

TEST(RawPicture, EncoderWritesTheLayoutAndReadsBack)
{
    EXPECT_TRUE(EncodeRawPicture(QImage(), RawPictureFormat::Rgb32).isEmpty());

    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, 0xFF112233u);
    img.setPixel(1, 0, 0xFF445566u);
    EXPECT_EQ(EncodeRawPicture(img, RawPictureFormat::Rgb32),
              Header(2, 1, 1) + QByteArray("\x33\x22\x11\xFF\x66\x55\x44\xFF", 8));

    QImage cursor(3, 2, QImage::Format_ARGB32);
    cursor.fill(Qt::transparent);
    cursor.setPixel(2, 1, 0xFF0000FFu);
    const QByteArray raw = EncodeRawPicture(cursor, RawPictureFormat::Argb32);
    EXPECT_EQ(raw.size(), 16 + 3 * 2 * 4);
    EXPECT_EQ(raw.left(16), Header(3, 2, 2));
    const QImage back = DecodeRawPicture(raw);
    EXPECT_EQ(back.format(), QImage::Format_ARGB32);
    EXPECT_EQ(back.pixel(0, 0), 0x00000000u);
    EXPECT_EQ(back.pixel(2, 1), 0xFF0000FFu);
}
