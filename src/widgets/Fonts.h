// The layout names "MS Sans Serif", "Microsoft Sans Serif", "Tahoma" and
// "Small Fonts". Faithful versions ship with Debian's fonts-wine outside
// fontconfig's path; we load them when present and otherwise let fontconfig
// substitute.
#pragma once

#include <QFont>
#include <QString>

// Loads the design fonts into the application's font database and maps
// "Microsoft Sans Serif" onto "MS Sans Serif". Returns how many font files
// were loaded (0 when fonts-wine is absent). Safe to call more than once.
int LoadDesignFonts();

// A font as the layout gives it: family, height in the layout's sense (a
// negative height is a pixel size, so -11 is 11 pixels), bold or not.
QFont DesignFont(const QString& family, int height, bool bold = false);

// The form font of the layout: "MS Sans Serif", height -11.
QFont DefaultFormFont();
