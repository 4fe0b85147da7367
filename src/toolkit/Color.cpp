#include "Color.h"

namespace {

// The classic "Windows Standard" scheme, so system colours look the same on
// every desktop.
constexpr TColor kSystemColors[] = {
    RGBToColor(192, 192, 192), // 0 scroll bar
    RGBToColor(0, 128, 128),   // 1 desktop
    RGBToColor(0, 0, 128),     // 2 active caption
    RGBToColor(128, 128, 128), // 3 inactive caption
    RGBToColor(192, 192, 192), // 4 menu
    RGBToColor(255, 255, 255), // 5 window
    RGBToColor(0, 0, 0),       // 6 window frame
    RGBToColor(0, 0, 0),       // 7 menu text
    RGBToColor(0, 0, 0),       // 8 window text
    RGBToColor(255, 255, 255), // 9 caption text
    RGBToColor(192, 192, 192), // 10 active border
    RGBToColor(192, 192, 192), // 11 inactive border
    RGBToColor(128, 128, 128), // 12 application workspace
    RGBToColor(0, 0, 128),     // 13 highlight
    RGBToColor(255, 255, 255), // 14 highlight text
    RGBToColor(192, 192, 192), // 15 button face
    RGBToColor(128, 128, 128), // 16 button shadow
    RGBToColor(128, 128, 128), // 17 grey text
    RGBToColor(0, 0, 0),       // 18 button text
    RGBToColor(192, 192, 192), // 19 inactive caption text
    RGBToColor(255, 255, 255), // 20 button highlight
    RGBToColor(0, 0, 0),       // 21 3-D dark shadow
    RGBToColor(192, 192, 192), // 22 3-D light
    RGBToColor(0, 0, 0),       // 23 tooltip text
    RGBToColor(255, 255, 225), // 24 tooltip background
};

} // namespace

TColor ColorToRGB(TColor c)
{
    if ((c & 0xFF000000u) == 0xFF000000u) {
        const unsigned index = c & 0xFFu;
        return index < std::size(kSystemColors) ? kSystemColors[index] : 0;
    }
    if (c == clNone || c == clDefault)
        return 0;
    return c & 0x00FFFFFFu;
}

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

std::uint32_t ToPixel(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return 0xFF000000u | (std::uint32_t(GetRValue(rgb)) << 16) | (std::uint32_t(GetGValue(rgb)) << 8)
        | std::uint32_t(GetBValue(rgb));
}

TColor PixelToColor(std::uint32_t pixel)
{
    return RGBToColor(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
}
