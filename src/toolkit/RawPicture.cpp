#include "RawPicture.h"

#include <QtEndian>

namespace {

constexpr char kMagic[4] = {'K', 'X', 'R', 'P'};

quint32 Word(const char* p) { return qFromLittleEndian<quint32>(p); }

} // namespace

QByteArray EncodeRawPicture(const QImage& image, RawPictureFormat format)
{
    if (image.isNull())
        return {};
    const QImage img =
        image.convertToFormat(format == RawPictureFormat::Rgb32 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    const qsizetype w = img.width(), h = img.height();
    QByteArray out(kRawPictureHeaderSize + w * h * 4, Qt::Uninitialized);
    char* p = out.data();
    memcpy(p, kMagic, 4);
    qToLittleEndian<quint32>(quint32(w), p + 4);
    qToLittleEndian<quint32>(quint32(h), p + 8);
    qToLittleEndian<quint32>(quint32(format), p + 12);
    p += kRawPictureHeaderSize;
    for (qsizetype y = 0; y < h; ++y, p += w * 4)
        qToLittleEndian<quint32>(img.constScanLine(int(y)), w, p);
    return out;
}

QImage DecodeRawPicture(QByteArrayView data)
{
    if (data.size() < kRawPictureHeaderSize || memcmp(data.data(), kMagic, 4) != 0)
        return {};
    const quint32 w = Word(data.data() + 4), h = Word(data.data() + 8), f = Word(data.data() + 12);
    if (w == 0 || h == 0 || w > kRawPictureMaxSide || h > kRawPictureMaxSide)
        return {};
    if (f != quint32(RawPictureFormat::Rgb32) && f != quint32(RawPictureFormat::Argb32))
        return {};
    // Both sides are bounded, so this cannot overflow.
    if (quint64(data.size()) != quint64(kRawPictureHeaderSize) + quint64(w) * h * 4)
        return {};
    const bool opaque = f == quint32(RawPictureFormat::Rgb32);
    QImage img(int(w), int(h), opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (img.isNull()) // out of memory
        return {};
    const char* src = data.data() + kRawPictureHeaderSize;
    for (quint32 y = 0; y < h; ++y, src += qsizetype(w) * 4) {
        auto* line = reinterpret_cast<quint32*>(img.scanLine(int(y)));
        qFromLittleEndian<quint32>(src, w, line);
        // RGB32 must hold 0xFF in the alpha byte, whatever the file says.
        if (opaque)
            for (quint32 x = 0; x < w; ++x)
                line[x] |= 0xFF000000u;
    }
    return img;
}
