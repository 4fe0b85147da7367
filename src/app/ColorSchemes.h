// The six colour schemes of View > Color Scheme, in the order of the menu
// items Cs0 .. Cs5.
#pragma once

#include <array>

#include "toolkit/Color.h"

struct SchemeColors {
    TColor Light;
    TColor Middle;
    TColor Dark;
};

// Gray, Light Blue, Blue, Red, Green, System Colors. The middle colour
// identifies a scheme: the check marks follow it.
inline constexpr std::array<SchemeColors, 6> kSchemes = {{
    {0xFFFFFF, 0xC0C0C0, 0x808080},
    {0xFFFFFF, 0xF8C6A5, 0xEB8947},
    {0xFFFFFF, 0xFF8080, 0x800000},
    {0xFFFFFF, 0x8080FF, 0x000080},
    {0xFFFFFF, 0xC0DCC0, 0x008000},
    {clBtnHighlight, clBtnFace, clBtnShadow},
}};
