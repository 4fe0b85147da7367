#include "GdiCanvas.h"

#include "Fonts.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <unordered_map>

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t p = std::int64_t(a) * std::int64_t(b);
    const bool negative = (p < 0) != (c < 0);
    const std::uint64_t ap = p < 0 ? std::uint64_t(-p) : std::uint64_t(p);
    const std::uint64_t ac = c < 0 ? std::uint64_t(-std::int64_t(c)) : std::uint64_t(c);
    const std::uint64_t q = (ap * 2 + ac) / (ac * 2);
    if (q > std::uint64_t(std::numeric_limits<int>::max()) + (negative ? 1u : 0u))
        return -1;
    return negative ? int(-std::int64_t(q)) : int(q);
}

int RoundHalfEven(double v)
{
    return int(std::nearbyint(v)); // the default rounding mode is to-nearest-even
}

namespace {

// Marks the pixels of an off-screen sprite that nothing was drawn on (alpha
// 0, so never a drawn pixel).
constexpr std::uint32_t kSpriteKey = 0x00123456u;

QRect ToQRect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

namespace {

// The angle of (x, y) about (cx, cy), counterclockwise as seen on screen
// (y grows downwards), in [0, 2 pi).
double AngleOf(double x, double y, double cx, double cy)
{
    double a = std::atan2(-(y - cy), x - cx);
    if (a < 0)
        a += 2 * std::numbers::pi;
    return a;
}

// Where the ray from the box centre (cx, cy) through `ray` meets the
// ellipse of half-axes a and b, rounded to a pixel; false for a ray from the
// centre through itself.
bool RadialEnd(double cx, double cy, double a, double b, QPoint ray, QPoint& end)
{
    const double dx = ray.x() - cx, dy = ray.y() - cy;
    if (dx == 0 && dy == 0)
        return false;
    const double denom = std::sqrt((a > 0 ? dx * dx / (a * a) : 0) + (b > 0 ? dy * dy / (b * b) : 0));
    const double s = denom > 0 ? 1.0 / denom : 0;
    // A box one pixel wide or high meets a far ray far away: beyond the
    // range of a coordinate there is no radial.
    constexpr double kFarthest = 1 << 30;
    if (std::abs(cx + s * dx) > kFarthest || std::abs(cy + s * dy) > kFarthest)
        return false;
    end = QPoint(RoundHalfEven(cx + s * dx), RoundHalfEven(cy + s * dy));
    return true;
}

// Steps a line as GdiCanvas::stepLine does, without a function object in
// between (a gauge steps two hundred radials per paint); no more than the
// first `most` steps when given.
template <class Visit>
void StepLineWith(int x0, int y0, int x1, int y1, Visit&& visit, int most = INT_MAX)
{
    const int dx = x1 - x0, dy = y1 - y0;
    const int n = std::max(std::abs(dx), std::abs(dy));
    // Step k of n along the longer axis puts the other coordinate at
    // ceil(k * d / n - 1/2) = ceil((2kd - n) / 2n); the end point is left
    // out. The quotient is carried from step to step (q, remainder r in
    // [0, 2n)): each step adds 2d, at most 2n, to the numerator.
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const long long d = xMajor ? dy : dx;
    const long long den = 2LL * n;
    long long q = -1, r = n; // -n = -1 * 2n + n
    const int steps = std::min(n, most);
    for (int k = 0; k < steps; ++k) {
        const int other = int(q + (r != 0));
        if (xMajor)
            visit(x0 + (dx > 0 ? k : -k), y0 + other);
        else
            visit(x0 + other, y0 + (dy > 0 ? k : -k));
        r += 2 * d;
        if (r >= den) {
            r -= den;
            ++q;
        } else if (r < 0) {
            r += den;
            --q;
        }
    }
}

// The radial from the centre pixel (x0, y0) of the box [left, right) x
// [top, bottom) to (x1, y1), stepped as lines are, end point left out:
// once the longer axis leaves the box it never comes back, so the steps
// stop there (a far end of a thin box is millions of steps away).
template <class Visit>
void StepRadialWith(int x0, int y0, int x1, int y1, int left, int top, int right, int bottom, Visit&& visit)
{
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const int from = xMajor ? x0 : y0, to = xMajor ? x1 : y1;
    const int most = to > from ? (xMajor ? right : bottom) - from : from - (xMajor ? left : top) + 1;
    StepLineWith(x0, y0, x1, y1, visit, std::max(most, 0));
}


// Which side of the rays of a pie (or a run of pies) each pixel lies on,
// worked out with integers instead of an arc tangent per pixel.
//
// Vectors from the box centre are doubled, with y upwards, so that the
// centre and every pixel centre have integer coordinates. A pixel whose
// vector is not parallel to a ray (same direction) is at least
// 1 / (|p| |v|) radians from it: within the bounds of RaySectors::Exact
// that is far more than the 1e-9 the angle rule allows plus the rounding
// of atan2, so the exact answer and the angle rule's agree. A pixel that
// does lie on a ray is decided by the angle rule itself.
struct RayDir {
    std::int64_t X = 0, Y = 0;
};

// 0 for angles in [0, pi), 1 for [pi, 2 pi).
int HalfOf(RayDir v) { return v.Y > 0 || (v.Y == 0 && v.X > 0) ? 0 : 1; }

std::int64_t Cross(RayDir a, RayDir b) { return a.X * b.Y - a.Y * b.X; }

// Smaller angle, counterclockwise from the right.
bool AngleBefore(RayDir a, RayDir b)
{
    const int ha = HalfOf(a), hb = HalfOf(b);
    return ha != hb ? ha < hb : Cross(a, b) > 0;
}

bool SameDirection(RayDir a, RayDir b) { return HalfOf(a) == HalfOf(b) && Cross(a, b) == 0; }

// The ray from the centre of box (left, top, right, bottom) through p. A ray
// through the centre itself has angle 0 by the angle rule (atan2 of zeros).
RayDir RayDirOf(int left, int top, int right, int bottom, QPoint p)
{
    RayDir d{2 * std::int64_t(p.x()) - (std::int64_t(left) + right - 1),
             (std::int64_t(top) + bottom - 1) - 2 * std::int64_t(p.y())};
    if (d.X == 0 && d.Y == 0)
        d.X = 1;
    return d;
}

// ceil(num / den) for den > 0, and whether it divides evenly; in 32 bits
// when the numbers fit (a 64-bit division is several times slower).
std::int64_t CeilDiv(std::int64_t num, std::int64_t den, bool& exact)
{
    std::int64_t q, r;
    if (num >= INT32_MIN && num <= INT32_MAX && den <= INT32_MAX) {
        q = std::int32_t(num) / std::int32_t(den);
        r = std::int32_t(num) % std::int32_t(den);
    } else {
        q = num / den;
        r = num % den;
    }
    exact = r == 0;
    return q + (r != 0 && num > 0);
}

// The distinct directions of a set of rays in angle order; sector j is the
// open angle from direction j to direction j + 1 (the last one to the
// first, across the right).
class RaySectors {
public:
    // Whether integers decide the box's pixels exactly as the angle rule
    // would (see above); boxes and rays beyond these bounds keep the rule.
    static bool Exact(int left, int top, int right, int bottom)
    {
        constexpr int kMostCoordinate = 1 << 28, kMostSide = 1 << 14;
        for (int v : {left, top, right, bottom})
            if (v > kMostCoordinate || v < -kMostCoordinate)
                return false;
        return right - left <= kMostSide && bottom - top <= kMostSide;
    }
    static bool Exact(int w, int h, RayDir ray)
    {
        constexpr std::int64_t kMostRay = 1 << 20;
        if (std::abs(ray.X) > kMostRay || std::abs(ray.Y) > kMostRay)
            return false;
        // |p| |v| <= 1e8 for every pixel p: 1e-8 radians or more between a
        // ray and any pixel off it.
        const double box = double(w - 1) * (w - 1) + double(h - 1) * (h - 1);
        return box * (double(ray.X) * ray.X + double(ray.Y) * ray.Y) <= 1e16;
    }

    explicit RaySectors(std::vector<RayDir> rays)
        : dirs_(std::move(rays))
    {
        std::sort(dirs_.begin(), dirs_.end(), AngleBefore);
        dirs_.erase(std::unique(dirs_.begin(), dirs_.end(), SameDirection), dirs_.end());
        count_ = int(dirs_.size());
        // Directions at angle 0 (at most one), then in (0, pi), at pi, in (pi, 2 pi).
        firstAbove0_ = count_ > 0 && dirs_[0].Y == 0 && dirs_[0].X > 0 ? 1 : 0;
        firstAtPi_ = firstAbove0_;
        while (firstAtPi_ < count_ && HalfOf(dirs_[std::size_t(firstAtPi_)]) == 0)
            ++firstAtPi_;
        firstAbovePi_ = firstAtPi_;
        if (firstAbovePi_ < count_ && dirs_[std::size_t(firstAbovePi_)].Y == 0)
            ++firstAbovePi_;
    }

    int Count() const { return count_; }
    RayDir Direction(int j) const { return dirs_[std::size_t(j)]; }
    int IndexOf(RayDir d) const
    {
        return int(std::lower_bound(dirs_.begin(), dirs_.end(), d, AngleBefore) - dirs_.begin());
    }

    // Row y of a w x h box, columns x0 .. x1 (box coordinates): calls
    // run(from, to, sector) for the columns [from, to) inside a sector,
    // onRay(x, j) for a pixel on direction j and onRay(x, -1) for the
    // centre pixel, from left to right.
    template <class Run, class OnRay>
    void Row(int w, int h, int y, int x0, int x1, Run&& run, OnRay&& onRay) const
    {
        if (x0 > x1 || count_ == 0)
            return;
        const int n = count_;
        auto wrap = [n](int i) { return i < 0 ? i + n : i; }; // i in [-1, n)
        const std::int64_t pY = (h - 1) - 2 * std::int64_t(y);
        if (pY == 0) {
            // The centre row: left of the centre all at angle pi, right of
            // it all at angle 0.
            auto side = [&](int from, int to, bool onDir, int dir, int sector) {
                from = std::max(from, x0);
                to = std::min(to, x1 + 1);
                if (from >= to)
                    return;
                if (!onDir) {
                    run(from, to, sector);
                    return;
                }
                for (int x = from; x < to; ++x)
                    onRay(x, dir);
            };
            side(0, w / 2, firstAbovePi_ > firstAtPi_, firstAtPi_, wrap(firstAtPi_ - 1));
            if (w % 2 == 1 && x0 <= w / 2 && w / 2 <= x1)
                onRay(w / 2, -1);
            side(w / 2 + w % 2, w, firstAbove0_ == 1, 0, n - 1);
            return;
        }
        // Along a row the angle falls from left to right above the centre
        // and rises below it; each direction into the row's half meets the
        // row once, at x = (vX pY / vY + w - 1) / 2.
        int pos = x0, sector;
        // False once ray i meets the row past x1 (so do all after it).
        auto cross = [&](int i, int next) {
            const RayDir v = dirs_[std::size_t(i)];
            std::int64_t num = v.X * pY + v.Y * (w - 1), den = 2 * v.Y;
            if (den < 0) {
                num = -num;
                den = -den;
            }
            // The first column at or past the ray is ceil(num / den); only
            // one between pos and x1 needs the division.
            if (num > x1 * den)
                return false;
            if (num > (pos - 1) * den) {
                bool onIt;
                const int at = int(CeilDiv(num, den, onIt));
                if (at > pos)
                    run(pos, at, sector);
                pos = at;
                if (onIt) {
                    onRay(pos, i);
                    ++pos;
                }
            }
            sector = next;
            return true;
        };
        if (pY > 0) {
            sector = wrap(firstAtPi_ - 1);
            for (int i = firstAtPi_ - 1; i >= firstAbove0_ && pos <= x1; --i)
                if (!cross(i, wrap(i - 1)))
                    break;
        } else {
            sector = wrap(firstAbovePi_ - 1);
            for (int i = firstAbovePi_; i < n && pos <= x1; ++i)
                if (!cross(i, i))
                    break;
        }
        if (pos <= x1)
            run(pos, x1 + 1, sector);
    }

private:
    std::vector<RayDir> dirs_;
    int count_ = 0, firstAbove0_ = 0, firstAtPi_ = 0, firstAbovePi_ = 0;
};

// How far past its end ray (radians) a wedge still reaches.
constexpr double kSweepSlack = 1e-9;

// Whether the angle rule puts `angle` in the sweep from `start`: at or past
// the start ray, up to the sweep and 1e-9 beyond (the rule of every wedge).
bool InSweep(double angle, double start, double sweep)
{
    double rel = angle - start;
    if (rel < 0)
        rel += 2 * std::numbers::pi;
    return rel <= sweep + kSweepSlack;
}

// For a pixel on a slice's own ray, whether the angle rule's answer is known
// without the pixel's angle: on the end ray (start elsewhere) the angle is
// the sweep to within rounding, far inside the 1e-9; on the start ray of an
// axis the angles are equal (atan2 of a zero and a coordinate does not
// depend on its size), and so is any pixel of a full sweep. Only a start
// ray off the axes of a part sweep needs the angle, which may fall either
// side of the ray's own by rounding.
enum class OnOwnRay { In, ByAngle };
OnOwnRay OnRayOfSlice(bool atStart, bool atEnd, RayDir dir, double sweep)
{
    if (!atStart || dir.X == 0 || dir.Y == 0 || (atEnd && sweep > std::numbers::pi))
        return OnOwnRay::In;
    return OnOwnRay::ByAngle;
}

} // namespace

GdiCanvas::GdiCanvas(QImage& img)
    : img_(img)
{
    if (img_.format() != QImage::Format_RGB32 && img_.format() != QImage::Format_ARGB32)
        img_ = img_.convertToFormat(QImage::Format_RGB32);
}

void GdiCanvas::SetPen(TColor color, int width)
{
    penColor_ = color;
    penWidth_ = std::max(1, width);
    penClear_ = false;
}

void GdiCanvas::SetPenClear() { penClear_ = true; }

void GdiCanvas::SetBrush(TColor color)
{
    brushColor_ = color;
    brushClear_ = false;
}

void GdiCanvas::SetBrushClear() { brushClear_ = true; }

void GdiCanvas::FillRect(int left, int top, int right, int bottom, TColor color)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, img_.width());
    bottom = std::min(bottom, img_.height());
    if (right <= left || bottom <= top)
        return;
    const std::uint32_t px = ToPixel(color);
    // Rows by the stride: asking the image for each row checks it for
    // sharing every time.
    uchar* const bits = img_.bits();
    const qsizetype stride = img_.bytesPerLine();
    // The first row pixel by pixel, the others copied from it: a copy of a
    // row is several times faster than the fill loop, which is not
    // vectorised at this optimisation level.
    auto fill = [&](int l, int t, int r, int b) {
        auto* first = reinterpret_cast<std::uint32_t*>(bits + t * stride) + l;
        std::fill(first, first + (r - l), px);
        for (int y = t + 1; y < b; ++y)
            std::memcpy(reinterpret_cast<std::uint32_t*>(bits + y * stride) + l, first, std::size_t(r - l) * 4);
    };
    if (fillClip_.isEmpty()) {
        fill(left, top, right, bottom);
        return;
    }
    for (const QRect& c : fillClip_) {
        const int l = std::max(left, c.left()), t = std::max(top, c.top());
        const int r = std::min(right, c.left() + c.width()), b = std::min(bottom, c.top() + c.height());
        if (l < r && t < b)
            fill(l, t, r, b);
    }
}

void GdiCanvas::FillRect(const QRect& r, TColor color)
{
    FillRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), color);
}

void GdiCanvas::Fill(TColor color) { FillRect(0, 0, img_.width(), img_.height(), color); }

void GdiCanvas::MoveTo(int x, int y) { penPos_ = QPoint(x, y); }

void GdiCanvas::plot(int x, int y, std::uint32_t pixel)
{
    if (penWidth_ <= 1) {
        if (x >= 0 && y >= 0 && x < img_.width() && y < img_.height())
            reinterpret_cast<std::uint32_t*>(img_.scanLine(y))[x] = pixel;
        return;
    }
    // A wide pen covers a square centred on the line's pixel.
    const int lo = -(penWidth_ / 2);
    for (int dy = lo; dy < lo + penWidth_; ++dy)
        for (int dx = lo; dx < lo + penWidth_; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < img_.width() && py < img_.height())
                reinterpret_cast<std::uint32_t*>(img_.scanLine(py))[px] = pixel;
        }
}

void GdiCanvas::stepLine(int x0, int y0, int x1, int y1, const std::function<void(int, int)>& visit)
{
    StepLineWith(x0, y0, x1, y1, visit);
}

void GdiCanvas::line(int x0, int y0, int x1, int y1, std::uint32_t pixel)
{
    if (penWidth_ > 1) {
        stepLine(x0, y0, x1, y1, [&](int x, int y) { plot(x, y, pixel); });
        return;
    }
    // A thin pen lights single pixels: straight into the rows, without
    // asking the image for each one.
    uchar* const bits = img_.bits();
    const qsizetype stride = img_.bytesPerLine();
    const int w = img_.width(), h = img_.height();
    StepLineWith(x0, y0, x1, y1, [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < w && y < h)
            reinterpret_cast<std::uint32_t*>(bits + y * stride)[x] = pixel;
    });
}

void GdiCanvas::LineTo(int x, int y)
{
    if (!penClear_)
        line(penPos_.x(), penPos_.y(), x, y, ToPixel(penColor_));
    penPos_ = QPoint(x, y);
}

void GdiCanvas::Polyline(const std::vector<QPoint>& points)
{
    if (points.empty())
        return;
    const QPoint saved = penPos_;
    MoveTo(points.front().x(), points.front().y());
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].x(), points[i].y());
    penPos_ = saved; // Polyline does not move the current position
}

void GdiCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    if (penClear_) {
        // Without a pen the fill covers one pixel less on the right and bottom.
        if (!brushClear_)
            FillRect(left, top, right - 1, bottom - 1, brushColor_);
        return;
    }
    if (!brushClear_)
        FillRect(left + 1, top + 1, right - 1, bottom - 1, brushColor_);
    const TColor pen = penColor_;
    FillRect(left, top, right, top + 1, pen);
    FillRect(left, bottom - 1, right, bottom, pen);
    FillRect(left, top, left + 1, bottom, pen);
    FillRect(right - 1, top, right, bottom, pen);
}

struct GdiCanvas::EllipseGeometry {
    int W = 0, H = 0;
    std::vector<std::uint8_t> Kind;
    // Filled on first use: only wedges need them.
    std::vector<double> Angle;        // per pixel, counterclockwise from the right
    std::vector<int> Order;           // the drawn pixels by angle
    std::vector<double> SortedAngle;  // their angles, in that order
    // Runs of pies worked out by sectors (PieSeriesCover) while Order is
    // not there yet.
    int SectorRuns = 0;
    // A ray of a run of pies, for a box at (Left, Top) and the point it
    // passes through: its angle, and the pixels (indices into the box, on
    // the shape) its radial steps over. A gauge gives the same two hundred
    // rays on every paint; working them out is most of a run's cost.
    struct RayKey {
        int Left, Top, X, Y;
        bool operator==(const RayKey&) const = default;
    };
    struct RayKeyHash {
        std::size_t operator()(const RayKey& k) const
        {
            return std::hash<std::uint64_t>()((std::uint64_t(std::uint32_t(k.Left)) << 48) ^
                                              (std::uint64_t(std::uint32_t(k.Top)) << 32) ^
                                              (std::uint64_t(std::uint32_t(k.X)) << 16) ^ std::uint32_t(k.Y));
        }
    };
    struct Ray {
        double Angle = 0;
        std::vector<int> Radial;
    };
    std::unordered_map<RayKey, Ray, RayKeyHash> Rays;
};


GdiCanvas::EllipseGeometry& GdiCanvas::geometry(int w, int h) const
{
    if (!geometry_ || geometry_->W != w || geometry_->H != h)
        geometry_ = keptGeometry(w, h);
    return *geometry_;
}

std::shared_ptr<GdiCanvas::EllipseGeometry> GdiCanvas::keptGeometry(int w, int h)
{
    // The last few box sizes of this thread, the most recent first.
    constexpr std::size_t kKept = 8;
    thread_local std::vector<std::shared_ptr<EllipseGeometry>> kept;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i]->W == w && kept[i]->H == h) {
            std::rotate(kept.begin(), kept.begin() + std::ptrdiff_t(i), kept.begin() + std::ptrdiff_t(i) + 1);
            return kept.front();
        }
    }
    auto g = std::make_shared<EllipseGeometry>();
    g->W = w;
    g->H = h;
    // Drawn on an image of its own: Qt's outline of a box one pixel high
    // would spill past the box, and clipping does not stop it. Always with a
    // pen: the pen-less fill is asymmetric.
    constexpr QRgb kOutline = 0xFFFF0000u, kInside = 0xFF00FF00u;
    QImage sprite(w, h, QImage::Format_ARGB32);
    sprite.fill(kSpriteKey);
    {
        QPainter p(&sprite);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen pen{QColor::fromRgba(kOutline)};
        pen.setWidth(0);
        p.setPen(pen);
        p.setBrush(QColor::fromRgba(kInside));
        p.drawEllipse(QRect(0, 0, w - 1, h - 1));
    }
    g->Kind.assign(std::size_t(w) * std::size_t(h), kOutside);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(sprite.constScanLine(y));
        for (int x = 0; x < w; ++x)
            g->Kind[std::size_t(y) * w + x] = line[x] == kOutline ? kOnOutline : line[x] == kInside ? kInterior : kOutside;
    }
    if (kept.size() >= kKept)
        kept.pop_back();
    kept.insert(kept.begin(), g);
    return g;
}

const std::vector<std::uint8_t>& GdiCanvas::ellipseShape(int w, int h) const { return geometry(w, h).Kind; }

namespace {

// The angle of every pixel of the box (the centre is the middle of the
// pixel columns and rows; angles do not depend on where the box stands, the
// coordinates being small integers and halves).
void FillAngles(std::vector<double>& angles, int w, int h)
{
    if (!angles.empty())
        return;
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
    angles.resize(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            angles[std::size_t(y) * w + x] = AngleOf(x, y, cx, cy);
}

} // namespace

QImage GdiCanvas::ellipseSprite(int w, int h, bool fill) const
{
    const std::vector<std::uint8_t>& shape = ellipseShape(w, h);
    // A clear pen outlines in the brush colour, which covers the same pixels
    // as the GDI fill.
    const std::uint32_t outline = ToPixel(penClear_ ? brushColor_ : penColor_);
    const bool inside = fill && !brushClear_;
    const std::uint32_t brush = ToPixel(brushColor_);
    QImage sprite(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(sprite.scanLine(y));
        const std::uint8_t* kinds = shape.data() + std::size_t(y) * w;
        for (int x = 0; x < w; ++x)
            line[x] = kinds[x] == kOnOutline ? outline : (kinds[x] == kInterior && inside) ? brush : kSpriteKey;
    }
    return sprite;
}

void GdiCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right - left < 1 || bottom - top < 1 || (penClear_ && brushClear_))
        return;
    const QImage sprite = ellipseSprite(right - left, bottom - top, true);
    const QRect box = ToQRect(left, top, right, bottom).intersected(img_.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(sprite.constScanLine(y - top)) - left;
        auto* dst = reinterpret_cast<std::uint32_t*>(img_.scanLine(y));
        for (int x = box.left(); x <= box.right(); ++x)
            if (src[x] != kSpriteKey)
                dst[x] = src[x];
    }
}

void GdiCanvas::RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH)
{
    if (right - left < 1 || bottom - top < 1 || (penClear_ && brushClear_))
        return;
    const int ew = std::min(std::abs(cornerW), right - left);
    const int eh = std::min(std::abs(cornerH), bottom - top);
    if (ew < 2 || eh < 2) {
        Rectangle(left, top, right, bottom);
        return;
    }
    // The corners are the quarters of the corner ellipse; the straight edges
    // and the inside repeat its middle column and row. That keeps the shape
    // symmetric, which Qt's own rounded rectangle is not.
    const QImage corner = ellipseSprite(ew, eh, true);
    auto source = [](int offset, int length, int size) {
        if (offset < size / 2)
            return offset;
        if (length - 1 - offset < size / 2)
            return size - (length - offset);
        return size / 2;
    };
    const QRect clip = ToQRect(left, top, right, bottom).intersected(img_.rect());
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(corner.constScanLine(source(y - top, bottom - top, eh)));
        auto* dst = reinterpret_cast<std::uint32_t*>(img_.scanLine(y));
        for (int x = clip.left(); x <= clip.right(); ++x) {
            const std::uint32_t v = src[source(x - left, right - left, ew)];
            if (v != kSpriteKey)
                dst[x] = v;
        }
    }
}

// A pixel of the ellipse is in the wedge when its angle about the centre,
// counterclockwise from the start ray, is at most the sweep and 1e-9 rad;
// equal rays sweep the whole ellipse, and the centre pixel is in every
// wedge. The radials are stepped as LineTo steps, from the centre pixel to
// where each ray meets the ellipse.
void GdiCanvas::wedge(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2, bool pie)
{
    if (right - left < 1 || bottom - top < 1)
        return;
    // Pixel centres in index coordinates: the ellipse spans columns left ..
    // right-1 and rows top .. bottom-1, so its centre is the middle of those.
    const double cx = (left + right - 1) / 2.0;
    const double cy = (top + bottom - 1) / 2.0;
    auto angleOf = [&](double x, double y) { return AngleOf(x, y, cx, cy); };
    const double start = angleOf(x1, y1);
    const double end = angleOf(x2, y2);
    double sweep = end - start;
    if (sweep <= 0)
        sweep += 2 * std::numbers::pi; // equal rays: the whole ellipse

    const QRect box = QRect(left, top, right - left, bottom - top).intersected(img_.rect());
    if (box.isEmpty())
        return;
    const int w = right - left, h = bottom - top;
    EllipseGeometry& g = geometry(w, h);
    const std::vector<std::uint8_t>& shape = g.Kind;
    const std::uint32_t outline = ToPixel(penClear_ ? brushColor_ : penColor_);
    const bool inside = pie && !brushClear_;
    const std::uint32_t brush = ToPixel(brushColor_);
    const RayDir startDir = RayDirOf(left, top, right, bottom, QPoint(x1, y1));
    const RayDir endDir = RayDirOf(left, top, right, bottom, QPoint(x2, y2));
    if (RaySectors::Exact(left, top, right, bottom) && RaySectors::Exact(w, h, startDir)
        && RaySectors::Exact(w, h, endDir)) {
        // Sector 0 of two directions runs from the start ray to the end
        // ray; one direction (equal rays) makes one sector, the whole
        // ellipse or, when the rule's sweep is a hair, nothing.
        const RaySectors sectors({startDir, endDir});
        const bool sameRay = sectors.Count() == 1;
        const bool sectorIn[2] = {sameRay ? sweep > std::numbers::pi : sectors.IndexOf(startDir) == 0,
                                  !sameRay && sectors.IndexOf(startDir) == 1};
        const double cxBox = (w - 1) / 2.0, cyBox = (h - 1) / 2.0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const std::uint8_t* kind = shape.data() + std::size_t(y - top) * w;
            auto* dst = reinterpret_cast<std::uint32_t*>(img_.scanLine(y)) + left;
            auto paint = [&](int x) {
                if (kind[x] == kOnOutline)
                    dst[x] = outline;
                else if (kind[x] == kInterior && inside)
                    dst[x] = brush;
            };
            sectors.Row(
                w, h, y - top, box.left() - left, box.right() - left,
                [&](int from, int to, int sector) {
                    if (sectorIn[sector])
                        for (int x = from; x < to; ++x)
                            paint(x);
                },
                [&](int x, int dir) {
                    if (dir < 0)
                        return paint(x); // the centre
                    const bool atStart = dir == sectors.IndexOf(startDir), atEnd = dir == sectors.IndexOf(endDir);
                    if (OnRayOfSlice(atStart, atEnd, sectors.Direction(dir), sweep) == OnOwnRay::In
                        || InSweep(AngleOf(x, y - top, cxBox, cyBox), start, sweep))
                        paint(x);
                });
        }
    } else {
        FillAngles(g.Angle, w, h);
        // By each pixel's angle. The pixel at the centre (a box odd both
        // ways has one) is in every wedge.
        const bool hasCentre = w % 2 == 1 && h % 2 == 1;
        const int centreX = left + w / 2, centreY = top + h / 2;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const std::uint8_t* kind = shape.data() + std::size_t(y - top) * w - left;
            const double* angle = g.Angle.data() + std::size_t(y - top) * w - left;
            auto* dst = reinterpret_cast<std::uint32_t*>(img_.scanLine(y));
            for (int x = box.left(); x <= box.right(); ++x) {
                if (kind[x] == kOutside || (kind[x] == kInterior && !inside))
                    continue;
                const bool atCentre = hasCentre && x == centreX && y == centreY;
                if (atCentre || InSweep(angle[x], start, sweep))
                    dst[x] = kind[x] == kOnOutline ? outline : brush;
            }
        }
    }
    if (!pie || penClear_)
        return;
    // The two radials, from the centre to where each ray meets the ellipse.
    const double a = (right - left - 1) / 2.0, b = (bottom - top - 1) / 2.0;
    const int icx = (left + right - 1) / 2, icy = (top + bottom - 1) / 2;
    const std::uint32_t px = ToPixel(penColor_);
    for (const QPoint ray : {QPoint(x1, y1), QPoint(x2, y2)}) {
        QPoint end;
        if (!RadialEnd(cx, cy, a, b, ray, end))
            continue;
        const int ex = end.x(), ey = end.y();
        // The rounded end may fall just outside the outline: the radial stays
        // on the ellipse's own pixels.
        auto onShape = [&](int x, int y) {
            const int sx = x - left, sy = y - top;
            if (sx >= 0 && sy >= 0 && sx < w && sy < h && shape[std::size_t(sy) * w + sx] != kOutside)
                plot(x, y, px);
        };
        StepRadialWith(icx, icy, ex, ey, left, top, right, bottom, onShape);
        onShape(ex, ey);
    }
}

void GdiCanvas::Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2)
{
    wedge(left, top, right, bottom, x1, y1, x2, y2, true);
}

void GdiCanvas::PieSeries(int left, int top, int right, int bottom, const std::vector<PieSlice>& slices)
{
    if (slices.empty())
        return;
    if (slices.size() > kMostPieSlices) {
        for (const PieSlice& slice : slices) {
            SetPen(slice.Color);
            SetBrush(slice.Color);
            Pie(left, top, right, bottom, slice.Start.x(), slice.Start.y(), slice.End.x(), slice.End.y());
        }
        return;
    }
    SetPen(slices.back().Color);
    SetBrush(slices.back().Color);
    if (right - left < 1 || bottom - top < 1 || QRect(left, top, right - left, bottom - top).intersected(img_.rect()).isEmpty())
        return;
    std::vector<TColor> colours;
    colours.reserve(slices.size());
    for (const PieSlice& slice : slices)
        colours.push_back(slice.Color);
    DrawPieCover(PieSeriesCover(left, top, right, bottom, slices), colours);
}

namespace {

// The fill of a run of pies in the owner bytes of a w x h box (centre and
// radials aside): kinds holds the ellipse's pixels, 0 for those outside.
void CoverBySectors(int w, int h, std::size_t n, const std::vector<RayDir>& dirs, const double* starts,
                    const double* sweeps, const std::uint8_t* kinds, std::uint8_t* owner)
{
    // Every pixel off the rays lies in one sector between neighbouring
    // directions, and a slice covers a sector whole or not at all: the
    // sector's owner is the last slice over it.
    const RaySectors sectors(dirs);
    const int count = sectors.Count();
    std::vector<int> from(n), to(n);
    std::vector<std::uint8_t> sectorOwner(std::size_t(count), 0);
    for (std::size_t k = 0; k < n; ++k) {
        from[k] = sectors.IndexOf(dirs[2 * k]);
        to[k] = sectors.IndexOf(dirs[2 * k + 1]);
        const std::uint8_t id = std::uint8_t(k + 1);
        if (from[k] != to[k]) {
            for (int j = from[k]; j != to[k]; j = j + 1 == count ? 0 : j + 1)
                sectorOwner[std::size_t(j)] = id;
        } else if (sweeps[k] > std::numbers::pi) {
            std::fill(sectorOwner.begin(), sectorOwner.end(), id);
        }
    }
    auto covers = [&](std::size_t k, int sector) {
        if (from[k] == to[k])
            return sweeps[k] > std::numbers::pi;
        const int into = sector - from[k], length = to[k] - from[k];
        return (into < 0 ? into + count : into) < (length < 0 ? length + count : length);
    };
    // A pixel on direction j: the slices that start or end there decide by
    // the angle rule; any other slice has j inside its sweep or outside it,
    // as it has sector j. The latter's last slice is worked out once per
    // direction; the slices of each direction in order (offsets into one
    // list).
    std::vector<int> atDir(std::size_t(count) + 1, 0), slicesAt;
    for (std::size_t k = 0; k < n; ++k) {
        ++atDir[std::size_t(from[k]) + 1];
        if (to[k] != from[k])
            ++atDir[std::size_t(to[k]) + 1];
    }
    for (int j = 0; j < count; ++j)
        atDir[std::size_t(j) + 1] += atDir[std::size_t(j)];
    slicesAt.resize(std::size_t(atDir.back()));
    {
        std::vector<int> fill(atDir.begin(), atDir.end() - 1);
        for (std::size_t k = 0; k < n; ++k) {
            slicesAt[std::size_t(fill[std::size_t(from[k])]++)] = int(k);
            if (to[k] != from[k])
                slicesAt[std::size_t(fill[std::size_t(to[k])]++)] = int(k);
        }
    }
    // The last slice known to reach the pixels of direction j without their
    // angles: those with j inside their sweep, and those with j for a ray
    // that OnRayOfSlice settles.
    std::vector<int> knownLast(std::size_t(count), -1); // -1: not worked out yet
    auto lastKnown = [&](int j) {
        int& last = knownLast[std::size_t(j)];
        if (last < 0) {
            last = 0;
            for (std::size_t k = n; k-- > 0;) {
                const bool atStart = from[k] == j, atEnd = to[k] == j;
                if ((atStart || atEnd) ? OnRayOfSlice(atStart, atEnd, sectors.Direction(j), sweeps[k]) == OnOwnRay::In
                                       : covers(k, j)) {
                    last = int(k) + 1;
                    break;
                }
            }
        }
        return last;
    };

    const double cxBox = (w - 1) / 2.0, cyBox = (h - 1) / 2.0;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* o = owner + std::size_t(y) * w;
        const std::uint8_t* kind = kinds + std::size_t(y) * w;
        sectors.Row(
            w, h, y, 0, w - 1,
            [&](int a, int b, int sector) {
                const std::uint8_t id = sectorOwner[std::size_t(sector)];
                if (id != 0)
                    for (int x = a; x < b; ++x)
                        o[x] = kind[x] != 0 ? id : 0;
            },
            [&](int x, int j) {
                if (j < 0 || kind[x] == 0)
                    return; // the centre is every slice's
                int best = lastKnown(j);
                double angle = -1; // worked out when first needed
                for (int i = atDir[std::size_t(j) + 1]; i-- > atDir[std::size_t(j)];) {
                    const int k = slicesAt[std::size_t(i)];
                    if (k + 1 <= best)
                        break;
                    // The ones settled without the angle are in `best` already.
                    if (OnRayOfSlice(from[k] == j, to[k] == j, sectors.Direction(j), sweeps[k]) == OnOwnRay::In)
                        continue;
                    if (angle < 0)
                        angle = AngleOf(x, y, cxBox, cyBox);
                    if (InSweep(angle, starts[k], sweeps[k])) {
                        best = k + 1;
                        break;
                    }
                }
                o[x] = std::uint8_t(best);
            });
    }
}

// The same by each pixel's angle, for boxes and rays beyond the sectors'
// bounds: the drawn pixels sorted by angle (kept in sortedOrder and
// sortedAngle, filled on first use), and each slice a run of them.
void CoverByAngles(int w, int h, const std::vector<std::uint8_t>& kinds, std::vector<double>& angles,
                   std::vector<int>& sortedOrder, std::vector<double>& sortedAngle, const double* starts,
                   const double* sweeps, std::size_t slices, std::uint8_t* owner)
{
    FillAngles(angles, w, h);
    if (sortedOrder.empty()) {
        for (std::size_t i = 0; i < kinds.size(); ++i)
            if (kinds[i] != 0)
                sortedOrder.push_back(int(i));
        std::stable_sort(sortedOrder.begin(), sortedOrder.end(), [&](int a, int b) { return angles[a] < angles[b]; });
        sortedAngle.reserve(sortedOrder.size());
        for (int i : sortedOrder)
            sortedAngle.push_back(angles[i]);
    }
    constexpr double eps = kSweepSlack;
    const double* sorted = sortedAngle.data();
    const std::size_t n = sortedAngle.size();

    // Each slice reaches the pixels whose angle lies in its sweep, as
    // wedge() decides it: those at or past the start ray up to the sweep,
    // and, when the sweep wraps past the right, those before it. Both are
    // runs of the pixels in angle order, found by halving; the pixel takes
    // the colour of the last slice that reaches it.
    struct Event {
        std::size_t Pos;
        int Slice; // +k opens slice k, -k closes it
    };
    std::vector<Event> events;
    events.reserve(4 * slices);
    for (std::size_t k = 0; k < slices; ++k) {
        const double start = starts[k];
        const double sweep = sweeps[k];
        const std::size_t from = std::size_t(std::lower_bound(sorted, sorted + n, start) - sorted);
        const std::size_t toA = std::size_t(
            std::partition_point(sorted + from, sorted + n, [&](double a) { return a - start <= sweep + eps; }) - sorted);
        const std::size_t toB = std::size_t(std::partition_point(sorted, sorted + from, [&](double a) {
                                                double rel = a - start;
                                                rel += 2 * std::numbers::pi;
                                                return rel <= sweep + eps;
                                            }) -
                                            sorted);
        const int id = int(k) + 1;
        if (toA > from) {
            events.push_back({from, id});
            events.push_back({toA, -id});
        }
        if (toB > 0) {
            events.push_back({0, id});
            events.push_back({toB, -id});
        }
    }
    // At one position a run that ends goes before one that begins: a slice
    // over the whole ellipse ends its wrapped run where its first begins.
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.Pos != b.Pos ? a.Pos < b.Pos : a.Slice < b.Slice;
    });

    const int* const order = sortedOrder.data();
    const Event* const event = events.data();
    const std::size_t eventCount = events.size();
    std::uint64_t open0 = 0, open1 = 0;
    std::size_t e = 0;
    // Past the last run nothing is open: an arc's slices leave the lower
    // half of their ellipse alone.
    const std::size_t lastPos = eventCount ? std::min(n, event[eventCount - 1].Pos) : 0;
    for (std::size_t pos = 0; pos < lastPos; ++pos) {
        for (; e < eventCount && event[e].Pos == pos; ++e) {
            const int id = std::abs(event[e].Slice) - 1;
            std::uint64_t& word = id < 64 ? open0 : open1;
            const std::uint64_t bit = std::uint64_t(1) << (id % 64);
            word = event[e].Slice > 0 ? word | bit : word & ~bit;
        }
        if (open1)
            owner[std::size_t(order[pos])] = std::uint8_t(64 + 64 - std::countl_zero(open1));
        else if (open0)
            owner[std::size_t(order[pos])] = std::uint8_t(64 - std::countl_zero(open0));
    }
}

} // namespace

GdiCanvas::PieCover GdiCanvas::PieSeriesCover(int left, int top, int right, int bottom,
                                              const std::vector<PieSlice>& slices)
{
    PieCover cover;
    // A slice index must fit the set of slices reaching a pixel (two words).
    if (slices.empty() || slices.size() > kMostPieSlices || right - left < 1 || bottom - top < 1)
        return cover;
    const int w = right - left, h = bottom - top;
    const std::shared_ptr<EllipseGeometry> kept = keptGeometry(w, h);
    EllipseGeometry& g = *kept;
    const double cx = (left + right - 1) / 2.0;
    const double cy = (top + bottom - 1) / 2.0;

    // Rays of other boxes or runs must not pile up without end.
    constexpr std::size_t kMostRays = 4096;
    if (g.Rays.size() > kMostRays)
        g.Rays.clear();
    const double a = (right - left - 1) / 2.0, b = (bottom - top - 1) / 2.0;
    const int icx = (left + right - 1) / 2, icy = (top + bottom - 1) / 2;
    auto rayOf = [&](QPoint through) -> const EllipseGeometry::Ray& {
        auto [it, added] = g.Rays.try_emplace({left, top, through.x(), through.y()});
        EllipseGeometry::Ray& ray = it->second;
        if (!added)
            return ray;
        ray.Angle = AngleOf(through.x(), through.y(), cx, cy);
        QPoint end;
        if (!RadialEnd(cx, cy, a, b, through, end))
            return ray;
        // The rounded end may fall just outside the outline: the radial
        // stays on the ellipse's own pixels.
        auto onShape = [&](int x, int y) {
            const int sx = x - left, sy = y - top;
            if (sx >= 0 && sy >= 0 && sx < w && sy < h && g.Kind[std::size_t(sy) * w + sx] != kOutside)
                ray.Radial.push_back(sy * w + sx);
        };
        StepRadialWith(icx, icy, end.x(), end.y(), left, top, right, bottom, onShape);
        onShape(end.x(), end.y());
        return ray;
    };
    const std::size_t n = slices.size();
    std::vector<const EllipseGeometry::Ray*> rays;
    rays.reserve(2 * n);
    std::vector<double> starts(n), sweeps(n);
    std::vector<RayDir> dirs;
    dirs.reserve(2 * n);
    bool exact = RaySectors::Exact(left, top, right, bottom);
    for (std::size_t k = 0; k < n; ++k) {
        const PieSlice& slice = slices[k];
        rays.push_back(&rayOf(slice.Start));
        rays.push_back(&rayOf(slice.End));
        starts[k] = rays[2 * k]->Angle;
        sweeps[k] = rays[2 * k + 1]->Angle - starts[k];
        if (sweeps[k] <= 0)
            sweeps[k] += 2 * std::numbers::pi; // equal rays: the whole ellipse
        for (QPoint through : {slice.Start, slice.End}) {
            dirs.push_back(RayDirOf(left, top, right, bottom, through));
            exact = exact && RaySectors::Exact(w, h, dirs.back());
        }
    }

    // owner: 1 + the index of the last slice that drew the pixel, 0 for none.
    cover.Owner.assign(std::size_t(w) * std::size_t(h), 0);
    // Plain local pointers: stores through a byte pointer may alias
    // anything, and would make every vector be read afresh.
    std::uint8_t* const owner = cover.Owner.data();
    const std::uint8_t* const kinds = g.Kind.data();
    static_assert(kOutside == 0);
    // By sectors, a run costs about as much as the kinds' angles and their
    // order do once, and twice what a run by that order costs: the first
    // runs of a box (a start's three arcs) go by sectors, and a box whose
    // runs keep changing (a gauge's percentage moving) is sorted then.
    constexpr int kSectorRuns = 8;
    if (exact && g.Order.empty() && g.SectorRuns < kSectorRuns) {
        ++g.SectorRuns;
        CoverBySectors(w, h, n, dirs, starts.data(), sweeps.data(), kinds, owner);
    } else {
        CoverByAngles(w, h, g.Kind, g.Angle, g.Order, g.SortedAngle, starts.data(), sweeps.data(), n, owner);
    }
    // The centre pixel belongs to every slice.
    if (w % 2 == 1 && h % 2 == 1 && kinds[std::size_t(h / 2) * w + w / 2] != kOutside)
        owner[std::size_t(h / 2) * w + w / 2] = std::uint8_t(slices.size());

    // The radials of each slice, drawn after its fill and before the next
    // slice: a radial pixel shows the later of the two. Without branches:
    // whether a pixel is already a later slice's is as good as random.
    for (std::size_t k = 0; k < slices.size(); ++k) {
        const std::uint8_t id = std::uint8_t(k + 1);
        for (const EllipseGeometry::Ray* ray : {rays[2 * k], rays[2 * k + 1]})
            for (const int i : ray->Radial)
                owner[i] = std::max(owner[i], id);
    }

    cover.Left = left;
    cover.Top = top;
    cover.W = w;
    cover.H = h;
    cover.Slices = slices.size();
    return cover;
}

void GdiCanvas::DrawPieCover(const PieCover& cover, const std::vector<TColor>& colours)
{
    if (!cover.Valid() || colours.size() != cover.Slices)
        return;
    SetPen(colours.back());
    SetBrush(colours.back());
    std::uint32_t pixels[kMostPieSlices + 1] = {};
    for (std::size_t k = 0; k < colours.size(); ++k)
        pixels[k + 1] = ToPixel(colours[k]);
    const QRect box = QRect(cover.Left, cover.Top, cover.W, cover.H).intersected(img_.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const std::uint8_t* o = cover.Owner.data() + std::size_t(y - cover.Top) * cover.W - cover.Left;
        auto* dst = reinterpret_cast<std::uint32_t*>(img_.scanLine(y));
        for (int x = box.left(); x <= box.right(); ++x)
            if (o[x])
                dst[x] = pixels[o[x]];
    }
}

void GdiCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2)
{
    if (penClear_)
        return;
    const bool savedBrush = brushClear_;
    brushClear_ = true;
    wedge(left, top, right, bottom, x1, y1, x2, y2, false);
    brushClear_ = savedBrush;
}

void GdiCanvas::Polygon(const std::vector<QPoint>& points)
{
    if (points.size() < 2 || (penClear_ && brushClear_))
        return;
    if (!brushClear_) {
        // Without a pen Qt's fill leaves out the right and bottom edges, as GDI's does.
        QPainter p(&img_);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(brushColor_));
        p.drawPolygon(points.data(), int(points.size()), Qt::OddEvenFill);
    }
    if (penClear_)
        return;
    // The outline is every edge, the closing one included, each stepped as a
    // line: every vertex is lit as the start of the next edge.
    const std::uint32_t px = ToPixel(penColor_);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPoint& a = points[i];
        const QPoint& b = points[(i + 1) % points.size()];
        line(a.x(), a.y(), b.x(), b.y(), px);
    }
}

void GdiCanvas::FloodFillSurface(int x, int y, TColor surface, TColor fill)
{
    const int w = img_.width(), h = img_.height();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    const std::uint32_t from = ToPixel(surface) & 0xFFFFFFu;
    const std::uint32_t to = ToPixel(fill);
    uchar* const bits = img_.bits();
    const qsizetype stride = img_.bytesPerLine();
    auto at = [&](int px, int py) -> std::uint32_t& {
        return reinterpret_cast<std::uint32_t*>(bits + py * stride)[px];
    };
    if ((at(x, y) & 0xFFFFFFu) != from || (to & 0xFFFFFFu) == from)
        return;
    std::vector<QPoint> stack{QPoint(x, y)};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        int lx = p.x();
        const int py = p.y();
        if ((at(lx, py) & 0xFFFFFFu) != from)
            continue;
        while (lx > 0 && (at(lx - 1, py) & 0xFFFFFFu) == from)
            --lx;
        int rx = p.x();
        while (rx + 1 < w && (at(rx + 1, py) & 0xFFFFFFu) == from)
            ++rx;
        for (int i = lx; i <= rx; ++i)
            at(i, py) = to;
        for (int ny : {py - 1, py + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            bool inRun = false;
            for (int i = lx; i <= rx; ++i) {
                const bool match = (at(i, ny) & 0xFFFFFFu) == from;
                if (match && !inRun)
                    stack.emplace_back(i, ny);
                inRun = match;
            }
        }
    }
}

void GdiCanvas::InvertRect(int left, int top, int right, int bottom)
{
    const QRect r = ToQRect(left, top, right, bottom).intersected(img_.rect());
    if (right <= left || bottom <= top || r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(img_.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            line[x] ^= 0x00FFFFFFu;
    }
}

void GdiCanvas::XorBlit(const QImage& src, int x, int y)
{
    const QImage s = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    const QRect r = QRect(x, y, s.width(), s.height()).intersected(img_.rect());
    for (int py = r.top(); py <= r.bottom(); ++py) {
        const auto* sl = reinterpret_cast<const std::uint32_t*>(s.constScanLine(py - y));
        auto* dl = reinterpret_cast<std::uint32_t*>(img_.scanLine(py));
        for (int px = r.left(); px <= r.right(); ++px)
            dl[px] ^= sl[px - x] & 0x00FFFFFFu;
    }
}

void GdiCanvas::Draw(const QImage& src, int x, int y, TColor transparent)
{
    const QImage s = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    const QRect r = QRect(x, y, s.width(), s.height()).intersected(img_.rect());
    const bool keyed = transparent != clNone;
    const std::uint32_t key = ToPixel(transparent) & 0xFFFFFFu;
    for (int py = r.top(); py <= r.bottom(); ++py) {
        const auto* sl = reinterpret_cast<const std::uint32_t*>(s.constScanLine(py - y));
        auto* dl = reinterpret_cast<std::uint32_t*>(img_.scanLine(py));
        for (int px = r.left(); px <= r.right(); ++px) {
            const std::uint32_t v = sl[px - x];
            if (!keyed || (v & 0xFFFFFFu) != key)
                dl[px] = 0xFF000000u | v;
        }
    }
}

namespace {

QFont Aliased(const QFont& font)
{
    QFont f = font;
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::NoAntialias));
    return f;
}

} // namespace

int GdiCanvas::TextWidth(const QString& text, const QFont& font)
{
    // DesignFont gives a bold bitmap face its extra pixel per character as
    // letter spacing, which the metrics include.
    return QFontMetrics(Aliased(font)).horizontalAdvance(text);
}

int GdiCanvas::TextHeight(const QFont& font) { return QFontMetrics(Aliased(font)).height(); }

void GdiCanvas::TextOut(int x, int y, const QString& text, const QFont& font, TColor color, const QRect& clip)
{
    QPainter p(&img_);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    const QFont f = Aliased(font);
    p.setFont(f);
    p.setPen(ToQColor(color));
    if (!clip.isNull())
        p.setClipRect(clip);
    DrawDesignText(p, x, y + p.fontMetrics().ascent(), text);
}

TColor GdiCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= img_.width() || y >= img_.height())
        return clNone;
    return PixelToColor(reinterpret_cast<const std::uint32_t*>(img_.constScanLine(y))[x]);
}

void GdiCanvas::SetPixel(int x, int y, TColor color)
{
    if (x >= 0 && y >= 0 && x < img_.width() && y < img_.height())
        reinterpret_cast<std::uint32_t*>(img_.scanLine(y))[x] = ToPixel(color);
}

void Frame3D(GdiCanvas& canvas, int& left, int& top, int& right, int& bottom, TColor topColor,
             TColor bottomColor, int width)
{
    for (; width > 0 && right > left && bottom > top; --width) {
        // Top row and left column stop one short of the far corners, which
        // belong to the bottom/right colour.
        canvas.FillRect(left, top, right - 1, top + 1, topColor);
        canvas.FillRect(left, top, left + 1, bottom - 1, topColor);
        canvas.FillRect(right - 1, top, right, bottom, bottomColor);
        canvas.FillRect(left, bottom - 1, right, bottom, bottomColor);
        ++left;
        ++top;
        --right;
        --bottom;
    }
}
