#include "Pictures.h"

#include <QHash>
#include <QResource>
#include <QtGlobal>

#include "RawPicture.h"

static void initKestrixResources()
{
    Q_INIT_RESOURCE(kestrix);
    Q_INIT_RESOURCE(kestrix_pictures);
}

void InitResources()
{
    static const bool done = (initKestrixResources(), true);
    (void)done;
}

namespace {

// The pictures are compiled in as raw pixels (RawPicture.h), made from the
// XPMs at build time: start-up copies them instead of parsing XPM text. A
// window still asks for the same few pictures on every refresh (an LED
// rebuilds its lamps on each colour change), so each is loaded once per
// thread and handed out as a shared copy, which detaches when the caller
// draws on it.
QImage Decoded(const QString& path)
{
    thread_local QHash<QString, QImage> decoded;
    const auto it = decoded.constFind(path);
    if (it != decoded.constEnd())
        return *it;
    const QImage img = RawResourcePicture(path);
    return decoded[path] = img.isNull() ? QImage() : img.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage RawResourcePicture(const QString& path)
{
    InitResources();
    const QResource res(path);
    return res.isValid() ? DecodeRawPicture(res.uncompressedData()) : QImage();
}

QImage GlyphPicture(const QString& name)
{
    return Decoded(QStringLiteral(":/raw/glyphs/") + name);
}

QImage LedPicture(const QString& name)
{
    return Decoded(QStringLiteral(":/raw/leds/") + name);
}
