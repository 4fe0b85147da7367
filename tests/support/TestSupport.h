// Helpers shared by the test executables of the GUI libraries (toolkit,
// widgets, settings, app): rendering, pixels, pointer events. The helpers
// that need Qt Core only are in CoreTestSupport.h, which this includes.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include "support/CoreTestSupport.h"
#include "toolkit/Color.h"

class TLabel;

namespace kestrix::test {

// Renders a widget (and its children) into an RGB32 image of its size.
QImage Render(QWidget* w);

// Renders a widget (and its children) as a desktop of the given scale shows
// it: into an RGB32 image of its size times `ratio` (rounded up) whose device
// pixel ratio is `ratio`. Only `part` (in the widget's coordinates) when it
// is given; the rest stays black.
QImage RenderAtRatio(QWidget* w, qreal ratio, const QRect& part = QRect());

// The image with every pixel repeated as an n x n block: what a whole
// scale n must show of a one-times picture.
QImage Blocks(const QImage& img, int n);

// How many pixels of two images of one size differ (-1 for different sizes).
int DifferingPixels(const QImage& a, const QImage& b);

// The smallest rectangle holding every pixel where two images of one size
// differ (only those `within` when it is given); a null rectangle when none
// does.
QRect DifferenceBounds(const QImage& a, const QImage& b, const QRect& within = QRect());

// A rectangle of one-times pixels as it covers pixels at `ratio`: its
// corners times the ratio, outward to whole pixels.
QRect ScaledBox(const QRect& r, qreal ratio);

// Where a label's caption puts ink in its window rendered at `ratio`: the
// bounds of the pixels that change when the caption's colour does.
QRect CaptionInk(QWidget* window, TLabel* label, qreal ratio);

// Checks every label of the window that shows a caption at 1x: at `ratio`
// its ink lies inside its box scaled (ScaledBox), and the ink's edges are
// those of the one-times ink times the ratio, within `slack` pixels (whole
// and in place: not spread apart, not cut). Returns how many it checked.
int ExpectCaptionsInTheirScaledBoxes(QWidget* window, qreal ratio, double slack = 1.5);

// The pixel at (x, y) as a design colour value (0x00BBGGRR), so expectations
// can be written with the same numbers the layout uses.
TColor PixelAt(const QImage& img, int x, int y);

// Counts the pixels of a rectangle (left, top, right, bottom exclusive) that
// have the given colour.
int CountColor(const QImage& img, int left, int top, int right, int bottom, TColor c);

// Sends the pointer's enter (at (x, y) in the widget) or leave event, as the
// platform does when the pointer crosses the widget's edge.
void SendEnter(QWidget* w, int x = 1, int y = 1);
void SendLeave(QWidget* w);

// Saves an image next to the test binary for a human to look at when a pixel
// assertion fails; returns the file name.
QString SaveForInspection(const QImage& img, const QString& name);

} // namespace kestrix::test
