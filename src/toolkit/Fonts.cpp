#include "Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace {

// Which fonts resolve to a bitmap face, by font key: every text draw asks,
// and the font database answers slowly. Only the GUI thread draws text.
QHash<QString, bool>& BitmapFaces()
{
    static QHash<QString, bool> known;
    return known;
}

// The layout's family names that the design fonts stand in for.
struct Substitution {
    const char* family;
    const char* substitute;
};
constexpr Substitution kSubstitutions[] = {{"Microsoft Sans Serif", "MS Sans Serif"}};

// The family a design font is asked for by: a substituted name whose own
// face is not installed goes straight to its stand-in. Qt would find the
// same face through the substitution, but under the other name it loads
// and sets up a second font engine for it (a good part of a millisecond
// each at start-up). Decided once per family; LoadDesignFonts starts over.
QHash<QString, QString>& FamiliesAskedFor()
{
    static QHash<QString, QString> known;
    return known;
}

QString FamilyToAsk(const QString& family)
{
    auto it = FamiliesAskedFor().constFind(family);
    if (it != FamiliesAskedFor().constEnd())
        return *it;
    QString asked = family;
    for (const Substitution& s : kSubstitutions) {
        if (family.compare(QLatin1String(s.family), Qt::CaseInsensitive) != 0)
            continue;
        const QStringList installed = QFontDatabase::families();
        if (!installed.contains(family, Qt::CaseInsensitive)
            && installed.contains(QLatin1String(s.substitute), Qt::CaseInsensitive))
            asked = QLatin1String(s.substitute);
    }
    FamiliesAskedFor().insert(family, asked);
    return asked;
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

// The thread of PrepareFontsAhead, waited for at the latest when the
// program ends.
struct FontSetup {
    std::thread thread;
    ~FontSetup()
    {
        if (thread.joinable())
            thread.join();
    }
};

FontSetup& FontSetupAhead()
{
    static FontSetup setup;
    return setup;
}

} // namespace

void PrepareFontsAhead()
{
    // fontconfig initialises itself once per process and is safe to call
    // from any thread; Qt's own call later finds the work done.
    if (!FontSetupAhead().thread.joinable())
        FontSetupAhead().thread = std::thread([] { FcInit(); });
}

int LoadDesignFonts()
{
    if (FontSetupAhead().thread.joinable())
        FontSetupAhead().thread.join();
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
    for (const Substitution& s : kSubstitutions)
        QFont::insertSubstitution(QLatin1String(s.family), QLatin1String(s.substitute));
    // New faces may change what a font resolves to.
    BitmapFaces().clear();
    FamiliesAskedFor().clear();
    return loaded;
}


QFont DesignFont(const QString& family, int height, bool bold)
{
    const int px = height < 0 ? -height : (height > 0 ? height : 11);
    QFont f(FamilyToAsk(family));
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
