#include "Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <cstdlib>

namespace {

// Which fonts resolve to a bitmap face, by font key: every text draw asks,
// and the font database answers slowly. Only the GUI thread draws text.
QHash<QString, bool>& BitmapFaces()
{
    static QHash<QString, bool> known;
    return known;
}

bool IsBitmapFace(const QFont& f)
{
    const QString key = f.key();
    auto it = BitmapFaces().constFind(key);
    if (it != BitmapFaces().constEnd())
        return *it;
    const QFontInfo info(f);
    const bool bitmap = !QFontDatabase::isScalable(info.family(), info.styleName());
    BitmapFaces().insert(key, bitmap);
    return bitmap;
}

} // namespace

int LoadDesignFonts()
{
    static int loaded = -1;
    if (loaded >= 0)
        return loaded;
    loaded = 0;
    const char* env = std::getenv("KESTRIX_FONT_DIR");
    const QString dir = env && *env ? QString::fromLocal8Bit(env) : QStringLiteral("/usr/share/wine/fonts");
    for (const char* file : {"ms_sans_serif.ttf", "tahoma.ttf", "tahomabd.ttf", "small_fonts.ttf"}) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            ++loaded;
    }
    QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"));
    BitmapFaces().clear(); // new faces may change what a font resolves to
    return loaded;
}


QFont DesignFont(const QString& family, int height, bool bold)
{
    const int px = height < 0 ? -height : (height > 0 ? height : 11);
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferNoShaping));
    f.setHintingPreference(QFont::PreferFullHinting);
    if (!IsBitmapFace(f))
        return f;
    // The strike's cell includes the internal leading above the letters, so
    // a cell up to three pixels taller than the letter height still fits.
    const int strike = QFontInfo(f).pixelSize();
    if (strike < px || strike > px + 3) {
        f.setFamily(QStringLiteral("Arial"));
        return f;
    }
    if (bold)
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    return f;
}

bool NeedsOverstrikeBold(const QFont& font)
{
    return font.bold() && IsBitmapFace(font);
}

void DrawDesignText(QPainter& painter, const QRect& rect, int flags, const QString& text)
{
    painter.drawText(rect, flags, text);
    if (NeedsOverstrikeBold(painter.font()))
        painter.drawText(rect.translated(1, 0), flags, text);
}

void DrawDesignText(QPainter& painter, int x, int baseline, const QString& text)
{
    painter.drawText(x, baseline, text);
    if (NeedsOverstrikeBold(painter.font()))
        painter.drawText(x + 1, baseline, text);
}

void DrawCellText(QPainter& painter, const QRect& cell, const QRect& text, int horizontalFlags, const QString& s)
{
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs | horizontalFlags;
    painter.setClipRect(cell);
    DrawDesignText(painter, text, flags, s);
    painter.setClipping(false);
}

QFont DefaultFormFont()
{
    return DesignFont(QStringLiteral("MS Sans Serif"), -11);
}
