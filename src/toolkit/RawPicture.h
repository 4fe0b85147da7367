// Pictures stored ready to use, so that loading one copies pixels instead of
// parsing XPM text. The build turns the XPM sources of resources/ into this
// form (picturetool/); the look-ups of Pictures.h and Cursors.h read it.
//
// Layout, all numbers little-endian 32-bit:
//   "KXRP"  width  height  format   then width * height pixels, rows top to
//   bottom, each 0xAARRGGBB.
// The format is 1 for RGB32 (alpha ignored, always read as opaque) and 2 for
// ARGB32 (straight, not premultiplied, alpha).
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

enum class RawPictureFormat : quint32 { Rgb32 = 1, Argb32 = 2 };

// Bytes before the pixels.
constexpr qsizetype kRawPictureHeaderSize = 16;
// Larger sides are refused as corrupt: the program's pictures are icons.
constexpr quint32 kRawPictureMaxSide = 16384;

// `image` in the raw form, converted to `format` first (empty for a null
// image).
QByteArray EncodeRawPicture(const QImage& image, RawPictureFormat format);

// The picture held in `data`, as QImage::Format_RGB32 or Format_ARGB32. Null
// for anything that is not exactly one well-formed raw picture: wrong magic,
// unknown format, a zero or oversized side, or a length that does not match
// the header.
QImage DecodeRawPicture(QByteArrayView data);
