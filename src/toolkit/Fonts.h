// The layout names "MS Sans Serif", "Microsoft Sans Serif", "Tahoma" and
// "Small Fonts". Faithful versions ship with Debian's fonts-wine outside
// fontconfig's path; we load them when present and otherwise let fontconfig
// substitute.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

// Starts reading fontconfig's configuration and font caches on a thread of
// its own: it is the largest single cost of the first font, and started
// before the application object exists it runs while the program connects
// to the display. LoadDesignFonts waits for it. Safe to call more than once.
void PrepareFontsAhead();

// Loads the design fonts into the application's font database and maps
// "Microsoft Sans Serif" onto "MS Sans Serif". Returns how many font files
// were loaded (0 when fonts-wine is absent). Safe to call more than once.
int LoadDesignFonts();

// A font as the layout gives it: family, height in the layout's sense (a
// negative height is a pixel size, so -11 is 11 pixels), bold or not.
// Qt registers a bitmap face ("MS Sans Serif", "Small Fonts") with one strike
// only and neither scales nor emboldens it: a size far from that strike falls
// back to the metric-alike outline family "Arial", and a bold request keeps
// the strike with one extra pixel per character, for the overstrike of
// DrawDesignText (as the classic system emboldens raster fonts).
QFont DesignFont(const QString& family, int height, bool bold = false);

// True for a bold font whose face is a bitmap face: its text must be drawn
// with DrawDesignText to look bold.
bool NeedsOverstrikeBold(const QFont& font);

// QPainter::drawText with the painter's font, drawing a second copy one
// pixel to the right when the font needs the bold overstrike.
void DrawDesignText(QPainter& painter, const QRect& rect, int flags, const QString& text);
void DrawDesignText(QPainter& painter, int x, int baseline, const QString& text);
// One line of text in a table cell (status panel, header section):
// vertically centred in `text` with the horizontal alignment flags given,
// tabs expanded, clipped to `cell`.
void DrawCellText(QPainter& painter, const QRect& cell, const QRect& text, int horizontalFlags, const QString& s);

// The form font of the layout: "MS Sans Serif", height -11.
QFont DefaultFormFont();
