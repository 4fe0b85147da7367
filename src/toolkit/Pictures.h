// The program's pictures, compiled in from resources/kestrix.qrc: button
// glyphs and icons (":/glyphs/NAME.xpm") and LED lamps (":/leds/NAME"). The
// look-ups read the raw pixels the build makes of them (":/raw/glyphs/NAME",
// ":/raw/leds/NAME", see RawPicture.h), the same pixels without the parse.
#pragma once

#include <QImage>
#include <QString>

// Makes the pictures of resources/kestrix.qrc and their raw forms available
// (the resource files are compiled into a static library, so they must be
// registered explicitly). Safe to call more than once; the look-ups below
// call it themselves.
void InitResources();

// The raw picture at a resource path such as ":/raw/cursors/handpoint", as
// stored (RGB32 or ARGB32); null when there is none or it is malformed.
// Not kept: GlyphPicture and LedPicture keep theirs.
QImage RawResourcePicture(const QString& path);

// A glyph or icon by name, such as "reload" for ":/glyphs/reload.xpm", in
// RGB32 (null when there is none).
QImage GlyphPicture(const QString& name);

// An LED lamp picture by name, such as "BSM" for ":/leds/BSM", in RGB32
// (null when there is none).
QImage LedPicture(const QString& name);
