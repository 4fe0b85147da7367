// A small drawing surface over an RGB32 QImage that follows the classic GDI
// rules the drawn controls are written in, not Qt's defaults:
//  - rectangles are (left, top, right, bottom), right and bottom excluded;
//    an empty or inverted rectangle draws nothing;
//  - lines and polylines leave out their last point and are stepped by our own
//    rule, so diagonals land on the same pixels every time;
//  - ellipses, pies and arcs take the GDI bounding box; pies and arcs sweep
//    counterclockwise (as seen on screen) from the start ray to the end ray,
//    both measured from the box centre;
//  - no antialiasing anywhere.
// Every widget composes its picture on one of these and copies it in one go.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Color.h"

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero; -1 when c is 0 (as the platform's MulDiv answers).
int MulDiv(int a, int b, int c);

// Nearest integer, halves to the even neighbour (the toolkit's Round).
int RoundHalfEven(double v);

class GdiCanvas {
public:
    // Draws on img, which must be Format_RGB32 (or ARGB32) and not shared.
    explicit GdiCanvas(QImage& img);

    QImage& Image() { return img_; }
    int Width() const { return img_.width(); }
    int Height() const { return img_.height(); }

    // Pen: colour and width; a pen may be "clear" (draws no outline).
    void SetPen(TColor color, int width = 1);
    void SetPenClear();
    // Brush: solid colour, or "clear" (no fill).
    void SetBrush(TColor color);
    void SetBrushClear();
    TColor PenColor() const { return penColor_; }
    TColor BrushColor() const { return brushColor_; }

    // FillRect with an explicit colour (the brush is untouched).
    void FillRect(int left, int top, int right, int bottom, TColor color);
    void FillRect(const QRect& r, TColor color); // r as QRect (x, y, w, h)
    // Limits FillRect (and so Fill, Rectangle's box and the bevels) to
    // `region`, the part of the picture a paint event will show: a child's
    // repaint then refills only its own spot of a large panel, and repaints
    // of spots far apart refill those spots, not the box around them.
    // Pixels outside the region are left as they were; an empty region is
    // the whole picture.
    void ClipFills(const QRegion& region) { fillClip_ = region; }
    // Where fills land: the clip's bounds, or the whole picture.
    QRect FillBounds() const { return fillClip_.isEmpty() ? img_.rect() : fillClip_.boundingRect() & img_.rect(); }
    // Fills the whole image.
    void Fill(TColor color);

    // Pen position and line drawing; LineTo lights the start and leaves out
    // the end point, then moves the pen there.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    QPoint PenPos() const { return penPos_; }
    // Polyline through the points, leaving out the last point.
    void Polyline(const std::vector<QPoint>& points);

    // Outline with the pen, filled with the brush; (right, bottom) excluded.
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH);
    // Pie: the wedge of the ellipse in the box between the rays from the box
    // centre through (x1, y1) (start) and (x2, y2) (end), swept
    // counterclockwise; outlined with the pen (arc and both radials), filled
    // with the brush.
    void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
    // A run of pies of one box, each outlined and filled in its own colour,
    // drawn as if by SetPen(c), SetBrush(c), Pie(...) for each in turn, but in
    // one pass over the box whatever their number (a gauge draws a hundred).
    struct PieSlice {
        QPoint Start, End;
        TColor Color;
    };
    void PieSeries(int left, int top, int right, int bottom, const std::vector<PieSlice>& slices);
    // Which slice of such a run colours each pixel of its box: it depends on
    // the box and the slices' rays alone, not on their colours or on the
    // picture, so a control that draws the same rays again keeps it and
    // only lays the colours (DrawPieCover). Runs of more than kMostPieSlices
    // have no cover (Valid() is false): PieSeries draws them pie by pie.
    static constexpr std::size_t kMostPieSlices = 128;
    struct PieCover {
        int Left = 0, Top = 0, W = 0, H = 0;
        std::size_t Slices = 0;
        std::vector<std::uint8_t> Owner; // W x H by rows: 0 none, k the k-th slice
        bool Valid() const { return Slices > 0; }
    };
    static PieCover PieSeriesCover(int left, int top, int right, int bottom, const std::vector<PieSlice>& slices);
    // Lays a cover in colours[k - 1] for slice k (one colour per slice), and
    // leaves pen and brush in the last slice's colour as PieSeries does.
    void DrawPieCover(const PieCover& cover, const std::vector<TColor>& colours);
    // Arc: only the outline part of the ellipse between the same rays.
    void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
    // Closed polygon, filled with the brush, outlined with the pen.
    void Polygon(const std::vector<QPoint>& points);

    // "Surface" flood fill: replaces the 4-connected area of pixels whose
    // colour equals `surface` that contains (x, y) by `fill`. Nothing happens
    // when (x, y) is outside the image or does not have the surface colour.
    void FloodFillSurface(int x, int y, TColor surface, TColor fill);

    // Inverts every colour bit inside the rectangle (right/bottom excluded).
    void InvertRect(int left, int top, int right, int bottom);
    // Combines src into this image at (x, y) by bitwise XOR (source-invert copy).
    void XorBlit(const QImage& src, int x = 0, int y = 0);
    // Copies src at (x, y); pixels of src equal to `transparent` are skipped
    // unless transparent is clNone.
    void Draw(const QImage& src, int x, int y, TColor transparent = clNone);

    // Text with a transparent background in the given font and colour, top-left
    // of the text cell at (x, y); clipped to `clip` when it is not null. A bold
    // bitmap font from DesignFont is made bold as GDI does (DrawDesignText):
    // each character drawn twice, one pixel apart, and one pixel wider.
    void TextOut(int x, int y, const QString& text, const QFont& font, TColor color,
                 const QRect& clip = QRect());
    // The extent TextOut gives the text: width in pixels, and the cell height.
    static int TextWidth(const QString& text, const QFont& font);
    static int TextHeight(const QFont& font);

    // Single pixel access in design colour values.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

private:
    void plot(int x, int y, std::uint32_t pixel);
    void line(int x0, int y0, int x1, int y1, std::uint32_t pixel);
    // Visits the pixels of a line by our stepping, end point left out.
    static void stepLine(int x0, int y0, int x1, int y1, const std::function<void(int, int)>& visit);
    // The ellipse of a w x h box, outlined with the pen and (when fill)
    // filled with the brush, on its own image; undrawn pixels hold a key.
    QImage ellipseSprite(int w, int h, bool fill) const;
    // Which pixels of a w x h box the ellipse outlines and fills, the angle
    // of each pixel about the box centre, and the drawn pixels in order of
    // angle: worked out once per box size and thread, and kept for the
    // next canvases (a window repaints the same few boxes again and again).
    enum : std::uint8_t { kOutside, kOnOutline, kInterior };
    struct EllipseGeometry;
    EllipseGeometry& geometry(int w, int h) const;
    static std::shared_ptr<EllipseGeometry> keptGeometry(int w, int h);
    const std::vector<std::uint8_t>& ellipseShape(int w, int h) const;
    void wedge(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2, bool pie);

    QImage& img_;
    TColor penColor_ = clBlack;
    int penWidth_ = 1;
    bool penClear_ = false;
    TColor brushColor_ = clWhite;
    bool brushClear_ = false;
    QPoint penPos_;
    QRegion fillClip_; // empty: the whole picture
    mutable std::shared_ptr<EllipseGeometry> geometry_;
};

// Draws `width` nested one-pixel frames on rect (left, top, right, bottom,
// right/bottom excluded): top and left in `topColor`, bottom and right in
// `bottomColor`; the rectangle shrinks by one pixel on every side per frame.
void Frame3D(GdiCanvas& canvas, int& left, int& top, int& right, int& bottom, TColor topColor,
             TColor bottomColor, int width);
