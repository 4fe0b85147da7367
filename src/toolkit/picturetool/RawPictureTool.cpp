// kestrix_rawpicture FORMAT IN.xpm OUT: writes the XPM's pixels in the raw
// form of RawPicture.h, FORMAT rgb32 or argb32. Run by the build for every
// picture the look-ups load; Qt's own XPM reader decodes the source, so the
// pixels are exactly those that loading the XPM at run time gave.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <cstdio>
#include <cstring>

#include "toolkit/RawPicture.h"

int main(int argc, char** argv)
{
    if (argc != 4 || (strcmp(argv[1], "rgb32") != 0 && strcmp(argv[1], "argb32") != 0)) {
        fprintf(stderr, "usage: %s rgb32|argb32 IN.xpm OUT\n", argv[0]);
        return 2;
    }
    const RawPictureFormat format = strcmp(argv[1], "rgb32") == 0 ? RawPictureFormat::Rgb32 : RawPictureFormat::Argb32;
    const QString in = QString::fromLocal8Bit(argv[2]), outName = QString::fromLocal8Bit(argv[3]);
    const QImage img(in, "XPM");
    if (img.isNull()) {
        fprintf(stderr, "%s: cannot read %s as XPM\n", argv[0], argv[2]);
        return 1;
    }
    const QByteArray raw = EncodeRawPicture(img, format);
    // The picture must read back as it was written, or the build stops here.
    const QImage back = DecodeRawPicture(raw);
    const QImage want =
        img.convertToFormat(format == RawPictureFormat::Rgb32 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (back != want) {
        fprintf(stderr, "%s: %s does not read back unchanged\n", argv[0], argv[2]);
        return 1;
    }
    QDir().mkpath(QFileInfo(outName).absolutePath());
    QSaveFile out(outName);
    if (!out.open(QIODevice::WriteOnly) || out.write(raw) != raw.size() || !out.commit()) {
        fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
