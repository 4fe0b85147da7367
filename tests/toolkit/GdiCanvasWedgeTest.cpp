// Pies, arcs and runs of pies against a plain pixel-by-pixel rendering of
// what they promise, over many boxes and rays: the ellipse's pixels (as
// Ellipse draws them) whose angle about the box centre, counterclockwise
// from the start ray, is within the sweep (1e-9 rad of slack; equal rays
// sweep the whole ellipse; the centre pixel is in every wedge), and the
// pie's radials stepped as LineTo steps from the centre pixel to where
// each ray meets the ellipse.
#include <gtest/gtest.h>

#include "toolkit/GdiCanvas.h"

#include <QImage>
#include <climits>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

struct Box {
    int left, top, right, bottom;
    int W() const { return right - left; }
    int H() const { return bottom - top; }
};

// 0 outside the ellipse, 1 on its outline, 2 inside: read from Ellipse's
// own picture of the box.
std::vector<int> EllipsePixels(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    GdiCanvas c(img);
    c.Fill(clBlack);
    c.SetPen(clWhite);
    c.SetBrush(clRed);
    c.Ellipse(0, 0, w, h);
    std::vector<int> kind(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor p = c.Pixel(x, y);
            kind[std::size_t(y) * w + x] = p == clWhite ? 1 : p == clRed ? 2 : 0;
        }
    return kind;
}

// The angle of (x, y) about (cx, cy), counterclockwise on screen, in [0, 2 pi).
double Angle(double x, double y, double cx, double cy)
{
    double a = std::atan2(cy - y, x - cx);
    return a < 0 ? a + kTwoPi : a;
}

// The pixels (box coordinates) of one wedge's fill, by the angle rule.
std::vector<bool> WedgePixels(const Box& b, const std::vector<int>& kind, QPoint from, QPoint to)
{
    const int w = b.W(), h = b.H();
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
    const double start = Angle(double(from.x()) - b.left, double(from.y()) - b.top, cx, cy);
    double sweep = Angle(double(to.x()) - b.left, double(to.y()) - b.top, cx, cy) - start;
    if (sweep <= 0)
        sweep += kTwoPi;
    std::vector<bool> in(kind.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double rel = Angle(x, y, cx, cy) - start;
            if (rel < 0)
                rel += kTwoPi;
            const bool centre = w % 2 == 1 && h % 2 == 1 && x == w / 2 && y == h / 2;
            in[std::size_t(y) * w + x] = kind[std::size_t(y) * w + x] != 0 && (centre || rel <= sweep + 1e-9);
        }
    return in;
}

// The pixels (box coordinates) of the radial along the ray through `through`.
std::vector<QPoint> RadialPixels(const Box& b, const std::vector<int>& kind, QPoint through)
{
    const int w = b.W(), h = b.H();
    const double cx = (b.left + b.right - 1) / 2.0, cy = (b.top + b.bottom - 1) / 2.0;
    const double dx = through.x() - cx, dy = through.y() - cy;
    if (dx == 0 && dy == 0)
        return {};
    const double ha = (w - 1) / 2.0, hb = (h - 1) / 2.0;
    const double d = std::sqrt((ha > 0 ? dx * dx / (ha * ha) : 0) + (hb > 0 ? dy * dy / (hb * hb) : 0));
    const double s = d > 0 ? 1 / d : 0;
    if (std::abs(cx + s * dx) > 1 << 30 || std::abs(cy + s * dy) > 1 << 30)
        return {}; // a thin box's far meeting point: no radial
    const long long ex = RoundHalfEven(cx + s * dx), ey = RoundHalfEven(cy + s * dy);
    const long long x0 = (b.left + b.right - 1) / 2, y0 = (b.top + b.bottom - 1) / 2;
    // Lines are stepped along their longer axis: step k of n (the end
    // point left out) puts the other coordinate at ceil(k d / n - 1/2).
    // Each pixel of the box is checked against that, so far ends cost
    // nothing.
    const long long ddx = ex - x0, ddy = ey - y0, n = std::max(std::llabs(ddx), std::llabs(ddy));
    const bool xMajor = std::llabs(ddx) >= std::llabs(ddy);
    auto ceilDiv = [](long long p, long long q) { return p / q + (p % q != 0 && p > 0); }; // q > 0
    std::vector<QPoint> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const long long px = b.left + x, py = b.top + y;
            bool on = px == ex && py == ey;
            if (!on && n > 0) {
                const long long major = xMajor ? px - x0 : py - y0, d = xMajor ? ddy : ddx;
                const long long k = (xMajor ? ddx : ddy) > 0 ? major : -major;
                const long long other = (xMajor ? py - y0 : px - x0);
                on = k >= 0 && k < n && other == ceilDiv(2 * k * d - n, 2 * n);
            }
            if (on && kind[std::size_t(y) * w + x] != 0)
                pixels.emplace_back(x, y);
        }
    return pixels;
}

enum class Style { Pie, PieClearPen, PieClearBrush, Arc };

// One pie or arc drawn by the rules onto img.
void ReferenceWedge(QImage& img, const Box& b, QPoint from, QPoint to, TColor pen, TColor brush, Style style)
{
    if (b.W() < 1 || b.H() < 1)
        return;
    const std::vector<int> kind = EllipsePixels(b.W(), b.H());
    const std::vector<bool> in = WedgePixels(b, kind, from, to);
    GdiCanvas c(img);
    const TColor outline = style == Style::PieClearPen ? brush : pen;
    const bool fill = style == Style::Pie || style == Style::PieClearPen;
    for (int y = 0; y < b.H(); ++y)
        for (int x = 0; x < b.W(); ++x) {
            const std::size_t i = std::size_t(y) * b.W() + x;
            if (in[i] && (kind[i] == 1 || fill))
                c.SetPixel(b.left + x, b.top + y, kind[i] == 1 ? outline : brush);
        }
    if (style == Style::Pie || style == Style::PieClearBrush)
        for (QPoint through : {from, to})
            for (QPoint p : RadialPixels(b, kind, through))
                c.SetPixel(b.left + p.x(), b.top + p.y(), pen);
}

void DrawWedge(QImage& img, const Box& b, QPoint from, QPoint to, TColor pen, TColor brush, Style style)
{
    GdiCanvas c(img);
    c.SetPen(pen);
    c.SetBrush(brush);
    if (style == Style::PieClearPen)
        c.SetPenClear();
    if (style == Style::PieClearBrush)
        c.SetBrushClear();
    if (style == Style::Arc)
        c.Arc(b.left, b.top, b.right, b.bottom, from.x(), from.y(), to.x(), to.y());
    else
        c.Pie(b.left, b.top, b.right, b.bottom, from.x(), from.y(), to.x(), to.y());
}

// A background that no wedge colour matches, different at every pixel.
QImage Background(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x % 7 * 20, y % 5 * 30, 250));
    return img;
}

int Differing(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// Points worth aiming a ray at: the corners (inside and just outside), the
// centre pixel and its row and column, points on one line from the centre,
// far away points, and random points around the box.
std::vector<QPoint> RayPoints(const Box& b, std::mt19937& rng)
{
    const int c2x = b.left + b.right - 1, c2y = b.top + b.bottom - 1; // twice the centre
    const int icx = c2x / 2, icy = c2y / 2;
    std::vector<QPoint> points{{b.left, b.top},           {b.right, b.top},        {b.left, b.bottom},
                               {b.right, b.bottom},       {b.right - 1, b.top},    {b.left, b.bottom - 1},
                               {b.right - 1, b.bottom - 1}, {icx, icy},            {icx + 3, icy},
                               {icx - 2, icy},            {icx, icy - 4},          {icx, icy + 1},
                               {1000000, icy},            {icx, -3000000},         {INT_MAX, INT_MIN},
                               {-2000000000, 7}};
    std::uniform_int_distribution<int> x(b.left - 6, b.right + 6), y(b.top - 6, b.bottom + 6);
    for (int i = 0; i < 10; ++i) {
        const QPoint p(x(rng), y(rng));
        points.push_back(p);
        // The same direction three times as far: 2q - c = 3 (2p - c).
        points.emplace_back(3 * p.x() - c2x, 3 * p.y() - c2y);
    }
    return points;
}

std::vector<Box> Boxes(std::mt19937& rng)
{
    std::vector<Box> boxes;
    const int sizes[] = {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 17, 24, 33};
    std::uniform_int_distribution<int> shift(-4, 4);
    for (int w : sizes)
        for (int h : sizes)
            if ((w * 7 + h * 3) % 4 == 0 || w == h || w == 1 || h == 1) {
                const int l = shift(rng), t = shift(rng);
                boxes.push_back({l, t, l + w, t + h});
            }
    boxes.push_back({3, 3, 3, 9});  // no width
    boxes.push_back({2, 9, 12, 4}); // upside down
    boxes.push_back({-30, -20, 10, 60}); // mostly outside the picture
    return boxes;
}

} // namespace

TEST(GdiCanvasWedges, PiesAndArcsFollowTheAngleRulePixelForPixel)
{
    std::mt19937 rng(20240611);
    int drawn = 0;
    for (const Box& b : Boxes(rng)) {
        const std::vector<QPoint> points = RayPoints(b, rng);
        std::uniform_int_distribution<std::size_t> pick(0, points.size() - 1);
        std::vector<std::pair<QPoint, QPoint>> rays;
        for (std::size_t i = 0; i < 16; ++i) // each special point as a start and as an end
            rays.emplace_back(points[i], points[pick(rng)]), rays.emplace_back(points[pick(rng)], points[i]);
        rays.emplace_back(points[0], points[0]); // equal rays
        rays.emplace_back(points[16], points[17]); // one direction, two points
        rays.emplace_back(points[17], points[16]);
        for (int i = 0; i < 8; ++i)
            rays.emplace_back(points[pick(rng)], points[pick(rng)]);
        for (const auto& [from, to] : rays)
            for (Style style : {Style::Pie, Style::PieClearPen, Style::PieClearBrush, Style::Arc}) {
                QImage expected = Background(40, 40), actual = expected;
                ReferenceWedge(expected, b, from, to, clWhite, clRed, style);
                DrawWedge(actual, b, from, to, clWhite, clRed, style);
                ASSERT_EQ(Differing(expected, actual), 0)
                    << "box (" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << "), rays ("
                    << from.x() << ", " << from.y() << ") to (" << to.x() << ", " << to.y() << "), style "
                    << int(style);
                ++drawn;
            }
    }
    EXPECT_GT(drawn, 1000);
}

TEST(GdiCanvasWedges, TheArcGaugesBoxesFollowTheAngleRule)
{
    // The memory panel's arc (box 113 x 73, its upper half shown) with its
    // background half and border arcs, and the ellipse gauge's full box.
    struct Case {
        Box box;
        QPoint from, to;
        Style style;
    };
    const Case cases[] = {
        {{0, 0, 113, 73}, {113, 36}, {0, 36}, Style::Pie},
        {{0, 0, 113, 73}, {113, 0}, {0, 73}, Style::Arc},
        {{0, 0, 113, 73}, {0, 73}, {113, 0}, Style::Arc},
        {{0, 0, 99, 49}, {99, 0}, {0, 49}, Style::Arc},
        {{0, 0, 99, 49}, {50, 0}, {0, 24}, Style::Pie},
        {{0, 0, 120, 80}, {119, 40}, {0, 40}, Style::Pie},
    };
    for (const Case& k : cases) {
        QImage expected = Background(130, 90), actual = expected;
        ReferenceWedge(expected, k.box, k.from, k.to, clWhite, clBlack, k.style);
        DrawWedge(actual, k.box, k.from, k.to, clWhite, clBlack, k.style);
        EXPECT_EQ(Differing(expected, actual), 0) << k.box.W() << "x" << k.box.H() << ", style " << int(k.style);
    }
}

TEST(GdiCanvasWedges, RunsOfPiesAndTheirCoversMatchPiesDrawnByTheRules)
{
    // Each run drawn as one (PieSeries, and a cover laid in its colours)
    // against the reference drawing its pies in turn; runs of rays from the
    // same special points, the arc gauge's hundred steps, and a run too long
    // for a cover.
    std::mt19937 rng(77);
    auto check = [&](const Box& b, const std::vector<GdiCanvas::PieSlice>& slices, QSize size) {
        QImage expected = Background(size.width(), size.height()), run = expected, laid = expected;
        for (const GdiCanvas::PieSlice& s : slices)
            ReferenceWedge(expected, b, s.Start, s.End, s.Color, s.Color, Style::Pie);
        GdiCanvas(run).PieSeries(b.left, b.top, b.right, b.bottom, slices);
        EXPECT_EQ(Differing(expected, run), 0) << "run of " << slices.size() << " in " << b.W() << "x" << b.H();
        const GdiCanvas::PieCover cover = GdiCanvas::PieSeriesCover(b.left, b.top, b.right, b.bottom, slices);
        if (!cover.Valid())
            return;
        std::vector<TColor> colours;
        for (const GdiCanvas::PieSlice& s : slices)
            colours.push_back(s.Color);
        GdiCanvas(laid).DrawPieCover(cover, colours);
        EXPECT_EQ(Differing(expected, laid), 0) << "cover of " << slices.size() << " in " << b.W() << "x" << b.H();
    };
    auto colour = [](std::size_t i) { return RGBToColor(int(i * 37 % 256), int(i * 11 % 256), int(100 + i % 100)); };

    int runs = 0;
    for (const Box& b : Boxes(rng)) {
        if (runs++ % 3 != 0 && b.W() < 30) // a third of the small boxes is plenty
            continue;
        const std::vector<QPoint> points = RayPoints(b, rng);
        std::uniform_int_distribution<std::size_t> pick(0, points.size() - 1), length(1, 40);
        for (int r = 0; r < 4; ++r) {
            std::vector<GdiCanvas::PieSlice> slices;
            const std::size_t n = length(rng);
            for (std::size_t i = 0; i < n; ++i)
                slices.push_back({points[pick(rng)], points[pick(rng)], colour(i)});
            // Slices along the special points too: each one's end is the
            // next one's start.
            if (r == 0)
                for (std::size_t i = 0; i + 1 < 16; ++i)
                    slices.push_back({points[i], points[i + 1], colour(n + i)});
            check(b, slices, QSize(40, 40));
        }
    }

    // The memory panel's arc at 100 %: each step's slice from a point a
    // little past the step back to the previous step.
    std::vector<GdiCanvas::PieSlice> arc;
    auto at = [](long double t) {
        return QPoint(RoundHalfEven(double((1 - std::cos(t)) * 56)), RoundHalfEven(double((1 - std::sin(t)) * 36)));
    };
    QPoint previous(0, 36);
    for (int i = 1; i <= 100; ++i) {
        const long double theta = (long double)i / 100 * std::numbers::pi_v<long double>;
        arc.push_back({at(theta + (i < 100 ? 0.027L : 0)), previous, colour(std::size_t(i))});
        previous = at(theta);
    }
    check({0, 0, 113, 73}, arc, QSize(114, 37));
    check({0, 0, 113, 73}, arc, QSize(114, 74));
    // A percentage that keeps moving: runs of one box again and again (the
    // canvas may work the later ones out another way).
    for (std::size_t percent : {1, 7, 33, 50, 80, 99, 64, 12, 100, 3, 90, 45})
        check({0, 0, 113, 73}, std::vector<GdiCanvas::PieSlice>(arc.begin(), arc.begin() + percent), QSize(114, 37));
    arc.resize(GdiCanvas::kMostPieSlices + 20, {QPoint(3, 3), QPoint(100, 30), clLime});
    check({0, 0, 113, 73}, arc, QSize(114, 37));
}
