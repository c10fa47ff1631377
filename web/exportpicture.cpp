#include "web/exportpicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "canvas/pixelrule.h"
#include "web/pixelpicture.h"

namespace kvelmor {

namespace {

struct Point {
    double x, y;
};

// The pixels drawn on: rows of 0xAABBGGRR words, written a span of one row at a time.
struct Pixels {
    int width;
    int height;
    std::uint32_t* data;

    void span(int x0, int x1, int y, std::uint32_t value) const  // inclusive, clipped
    {
        if (y < 0 || y >= height) return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        if (x0 <= x1)
            std::fill(data + std::size_t(y) * width + x0, data + std::size_t(y) * width + x1 + 1,
                      value);
    }

    // The pixels from the rounded left edge up to the rounded right one, and the same in y.
    void rect(double left, double top, double right, double bottom, std::uint32_t value) const
    {
        const auto round = [](double v) { return int(std::floor(v + 0.5)); };
        for (int y = round(top); y < round(bottom); ++y)
            span(round(left), round(right) - 1, y, value);
    }
};

// 16.16 fixed point, as the toolkit's rasteriser keeps its edges: a value cut towards zero, with
// values beyond an int's range held at its ends.
using Fixed = std::int64_t;
constexpr Fixed kOne = 65536;

Fixed toFixed(double v)
{
    const double scaled = v * kOne;
    constexpr double kLimit = 2147483647.0 * kOne;
    if (scaled > kLimit) return Fixed(2147483647) * kOne;
    if (scaled < -kLimit - kOne) return Fixed(-2147483647 - 1) * kOne;
    return Fixed(scaled);
}

int wholePart(Fixed v)
{
    return int(v >> 16);
}

// A quotient whose divisor may be zero: the slope of a level edge is "very large", not infinite.
double slope(double dx, double dy)
{
    if (dy == 0) return dx > 0 ? 1e20 : -1e20;
    return dx / dy;
}

// Whether two coordinates fall within one 1/64 pixel step of each other.
bool within64th(double a, double b)
{
    return int((b - a) * 64.) == 0;
}

double snapDown64th(double v)
{
    return std::floor(v * 64) * (1 / 64.0);
}

// Cuts the segment to the rectangle [left, right] x [top, bottom], moving each end that lies
// outside along the segment to the edge it crosses, x first, as the toolkit does. False when the
// segment lies wholly outside (or is not finite).
bool cut(Point& a, Point& b, double left, double right, double top, double bottom)
{
    double &x1 = a.x, &y1 = a.y, &x2 = b.x, &y2 = b.y;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    if (x1 < left) {
        if (x2 <= left) return false;
        y1 += (y2 - y1) / (x2 - x1) * (left - x1);
        x1 = left;
    } else if (x1 > right) {
        if (x2 >= right) return false;
        y1 += (y2 - y1) / (x2 - x1) * (right - x1);
        x1 = right;
    }
    if (x2 < left) {
        y2 += (y2 - y1) / (x2 - x1) * (left - x2);
        x2 = left;
    } else if (x2 > right) {
        y2 += (y2 - y1) / (x2 - x1) * (right - x2);
        x2 = right;
    }
    if (y1 < top) {
        if (y2 <= top) return false;
        x1 += (x2 - x1) / (y2 - y1) * (top - y1);
        y1 = top;
    } else if (y1 > bottom) {
        if (y2 >= bottom) return false;
        x1 += (x2 - x1) / (y2 - y1) * (bottom - y1);
        y1 = bottom;
    }
    if (y2 < top) {
        x2 += (x2 - x1) / (y2 - y1) * (top - y2);
        y2 = top;
    } else if (y2 > bottom) {
        x2 += (x2 - x1) / (y2 - y1) * (bottom - y2);
        y2 = bottom;
    }
    return true;
}

// -- lines -----------------------------------------------------------------------------------

// A pen one device pixel wide: along the longer axis (x where both are as long) from half a pixel
// before the first end point to half a pixel after the last, one pixel a row or column.
void thinLine(const Pixels& p, Point a, Point b, std::uint32_t value)
{
    if (!cut(a, b, -1, p.width + 1, -1, p.height + 1)) return;
    const auto to26Dot6 = [](double v) { return static_cast<int>(v * 64.); };
    const int ax = to26Dot6(a.x), ay = to26Dot6(a.y), bx = to26Dot6(b.x), by = to26Dot6(b.y);
    const bool steep = std::abs(bx - ax) < std::abs(by - ay);
    int u1 = steep ? ay : ax, v1 = steep ? ax : ay;  // u along the walk, v across it
    int u2 = steep ? by : bx, v2 = steep ? bx : by;
    if (u1 == u2) return;  // shorter than 1/64 pixel both ways: nothing
    if (u1 > u2) {
        std::swap(u1, u2);
        std::swap(v1, v2);
    }
    const Fixed step = Fixed(v2 - v1) * kOne / (u2 - u1);  // across per pixel along, in 16.16
    Fixed v = Fixed(v1) * 1024;                            // 26.6 to 16.16
    u1 -= 32;  // the square caps: half a pixel on at each end
    u2 += 32;
    v -= step >> 1;
    // The pixels whose middles the walk passes, each taken where the line crosses its middle.
    int u = (u1 + 32) >> 6;
    const int end = (u2 + 32) >> 6;
    if (u == end) return;
    v += (Fixed(u) * 64 + (step > 0 ? 32 : 0) - u1) * step >> 6;
    for (; u < end; ++u, v += step) {
        const int across = wholePart(v);
        if (steep)
            p.span(across, across, u, value);
        else
            p.span(u, u, across, value);
    }
}

// A pen `pen` device pixels wide (two or more): the line lengthened by half the pen at each end
// and widened to the pen, its rows filled where their middles lie inside.
void wideLine(const Pixels& p, Point a, Point b, double pen, std::uint32_t value)
{
    double width = pen / std::hypot(b.x - a.x, b.y - a.y);  // the pen over the line's length
    if (!(width > 0)) return;
    const double cap = 0.5 * width;
    Point pa{a.x - cap * (b.x - a.x), a.y - cap * (b.y - a.y)};
    Point pb{b.x + cap * (b.x - a.x), b.y + cap * (b.y - a.y)};

    // Cut to the picture widened by the pen, the pen kept as wide as the line is shortened.
    const double reachX = std::abs(b.y - a.y) * width * 0.5;
    const double reachY = std::abs(b.x - a.x) * width * 0.5;
    const double left = 0 - reachX;
    const double top = 0 - reachY;
    if (!cut(pa, pb, left, left + ((p.width + reachX) - left), top,
             top + ((p.height + reachY) - top)))
        return;
    const double before = (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
    const double after = (pa.x - pb.x) * (pa.x - pb.x) + (pa.y - pb.y) * (pa.y - pb.y);
    if (after == 0) return;
    width *= std::sqrt(before / after);

    if (within64th(pa.y, pb.y)) {  // level: taken as plumb, turned
        const double x = (pa.x + pb.x) * 0.5;
        const double dy = width * (std::abs(pb.x - pa.x) * 0.5);
        const double y = pa.y;
        pa = {x, y - dy};
        pb = {x, y + dy};
        width = 1 / width;
    }
    if (within64th(pa.x, pb.x)) {  // plumb: a rectangle
        if (pa.y > pb.y) std::swap(pa, pb);
        const double half = 0.5 * width * (pb.y - pa.y);
        const double l = std::clamp(pa.x - half, 0.0, double(p.width));
        const double r = std::clamp(pa.x + half, 0.0, double(p.width));
        const double t = std::clamp(pa.y, 0.0, double(p.height));
        const double bt = std::clamp(pb.y, 0.0, double(p.height));
        if (within64th(l, r) || within64th(t, bt)) return;
        const int lastRow = bt < 0.5 ? -1 : int(bt - 0.5);
        const int lastColumn = r < 0.5 ? -1 : int(r - 0.5);
        for (int y = int(t + 0.5); y <= lastRow; ++y) p.span(int(l + 0.5), lastColumn, y, value);
        return;
    }

    // Any other slant: a quadrilateral from its top corner down to its bottom one, between a left
    // and a right edge that each bend once, at the left and at the right corner.
    if (pa.y > pb.y) std::swap(pa, pb);
    const double half = 0.5 * width;
    const Point across{(pb.y - pa.y) * half, -((pb.x - pa.x) * half)};
    const auto at = [](Point q, Point d, double sign) {
        return Point{snapDown64th(q.x + sign * d.x), snapDown64th(q.y + sign * d.y)};
    };
    const bool rightwards = pa.x < pb.x;
    const Point tp = rightwards ? at(pa, across, 1) : at(pa, across, -1);
    const Point lf = rightwards ? at(pa, across, -1) : at(pb, across, -1);
    const Point rt = rightwards ? at(pb, across, 1) : at(pa, across, 1);
    const Point bm = rightwards ? at(pb, across, -1) : at(pb, across, 1);

    const double topLeft = slope(lf.x - tp.x, lf.y - tp.y);
    const double topRight = slope(rt.x - tp.x, rt.y - tp.y);
    const double bottomLeft = slope(bm.x - lf.x, bm.y - lf.y);
    const double bottomRight = slope(bm.x - rt.x, bm.y - rt.y);

    // Rows from the first whose middle is below the top corner to the last whose middle is above
    // the bottom one; each edge where it crosses a row's middle, half a pixel in, so that a pixel
    // is taken when its middle is inside.
    const int firstRow = int(tp.y + 0.5);
    int leftBend = lf.y < 0.5 ? -1 : int(lf.y - 0.5);
    int rightBend = rt.y < 0.5 ? -1 : int(rt.y - 0.5);
    int lastRow = bm.y < 0.5 ? -1 : int(bm.y - 0.5);
    int firstBend = std::min(leftBend, rightBend);
    Fixed leftAbove = toFixed(tp.x + 0.5 + (firstRow + 0.5 - tp.y) * topLeft);
    Fixed leftBelow = toFixed(lf.x + 0.5 + (leftBend + 1.5 - lf.y) * bottomLeft);
    Fixed rightAbove = toFixed(tp.x - 0.5 + (firstRow + 0.5 - tp.y) * topRight);
    Fixed rightBelow = toFixed(rt.x - 0.5 + (rightBend + 1.5 - rt.y) * bottomRight);

    int y = firstRow;
    const auto rows = [&](int& until, Fixed& leftX, Fixed& rightX, double leftSlope,
                          double rightSlope) {
        const Fixed leftStep = toFixed(leftSlope);
        const Fixed rightStep = toFixed(rightSlope);
        const int from = std::min(until + 1, 0);  // rows above the picture are passed over
        if (y < from) {
            leftX += leftStep * (from - y);
            rightX += rightStep * (from - y);
            y = from;
        }
        until = std::min(until, p.height - 1);
        for (; y <= until; ++y, leftX += leftStep, rightX += rightStep) {
            const int x0 = std::max(wholePart(leftX), 0);
            const int x1 = std::min(wholePart(rightX), p.width - 1);
            p.span(x0, x1, y, value);
        }
    };
    rows(firstBend, leftAbove, rightAbove, topLeft, topRight);
    rows(rightBend, leftBelow, rightAbove, bottomLeft, topRight);
    rows(leftBend, leftAbove, rightBelow, topLeft, bottomRight);
    rows(lastRow, leftBelow, rightBelow, bottomLeft, bottomRight);
}

// -- circles ---------------------------------------------------------------------------------

struct Cubic {
    Point a, b, c, d;  // from a to d, pulled towards b and c
};

// The toolkit's circle: four quarter curves whose control points stand the circle's radius times
// kKappa along its tangents, clockwise on the screen from its rightmost point.
constexpr double kKappa = 0.5522847498;

std::array<Cubic, 4> circleCurves(Point centre, double radius)
{
    const double x = centre.x - radius, y = centre.y - radius;
    const double w = 2 * radius, h = 2 * radius;
    const double w2 = w / 2, h2 = h / 2;
    const double w2k = w2 * kKappa, h2k = h2 * kKappa;
    const Point right{x + w, y + h2}, bottom{x + w2, y + h}, left{x, y + h2}, top{x + w2, y};
    return {{{right, {x + w, y + h2 + h2k}, {x + w2 + w2k, y + h}, bottom},
             {bottom, {x + w2 - w2k, y + h}, {x, y + h2 + h2k}, left},
             {left, {x, y + h2 - h2k}, {x + w2 - w2k, y}, top},
             {top, {x + w2 + w2k, y}, {x + w, y + h2 - h2k}, right}}};
}

std::pair<Cubic, Cubic> halves(const Cubic& q)
{
    const auto mid = [](Point u, Point v) { return Point{(u.x + v.x) * .5, (u.y + v.y) * .5}; };
    const Point ab = mid(q.a, q.b), bc = mid(q.b, q.c), cd = mid(q.c, q.d);
    const Point abc = mid(ab, bc), bcd = mid(bc, cd);
    const Point m = mid(abc, bcd);
    return {{q.a, ab, abc, m}, {m, bcd, cd, q.d}};
}

Point pointAt(const Cubic& q, double t)
{
    const double s = 1. - t;
    const auto along = [&](double p1, double p2, double p3, double p4) {
        double a = p1 * s + p2 * t;
        double b = p2 * s + p3 * t;
        const double c = p3 * s + p4 * t;
        a = a * s + b * t;
        b = b * s + c * t;
        return a * s + b * t;
    };
    return {along(q.a.x, q.b.x, q.c.x, q.d.x), along(q.a.y, q.b.y, q.c.y, q.d.y)};
}

// The curve as straight pieces: halved until the control points lie within a quarter of its
// L1 length (counted in the toolkit's measure) of its chord, at most nine times; the end point of
// every piece is appended.
void flattenOnto(const Cubic& q, std::vector<Point>& points)
{
    constexpr double kFlatness = 0.25;
    struct Piece {
        Cubic curve;
        int halvingsLeft;
    };
    std::vector<Piece> pieces{{q, 9}};
    while (!pieces.empty()) {
        const Cubic c = pieces.back().curve;
        const int left = pieces.back().halvingsLeft;
        const double dx = c.d.x - c.a.x, dy = c.d.y - c.a.y;
        double length = std::abs(dx) + std::abs(dy);
        double off;
        if (length > 1.) {
            off = std::abs(dx * (c.a.y - c.b.y) - dy * (c.a.x - c.b.x)) +
                  std::abs(dx * (c.a.y - c.c.y) - dy * (c.a.x - c.c.x));
        } else {
            off = std::abs(c.a.x - c.b.x) + std::abs(c.a.y - c.b.y) + std::abs(c.a.x - c.c.x) +
                  std::abs(c.a.y - c.c.y);
            length = 1.;
        }
        if (off < kFlatness * length || left == 0) {
            points.push_back(c.d);
            pieces.pop_back();
        } else {
            const auto [first, second] = halves(c);
            pieces.back() = {second, left - 1};
            pieces.push_back({first, left - 1});
        }
    }
}

// The unit normal of the direction v, turned a quarter counter-clockwise on the screen.
Point unitNormal(Point v)
{
    const double length = std::hypot(v.y, -v.x);
    return {v.y / length, -v.x / length};
}

// The curve moved `offset` along its normals, as the toolkit approximates it: each control point
// moved out along the normals of the control polygon's legs that meet there, the curve halved
// where the result strays from the true offset by more than `strayed` of it, checked at a
// quarter, a half and three quarters.
bool movedOut(const Cubic& q, double offset, double strayed, Cubic& moved)
{
    const Point legs[3] = {{q.b.x - q.a.x, q.b.y - q.a.y},
                           {q.c.x - q.b.x, q.c.y - q.b.y},
                           {q.d.x - q.c.x, q.d.y - q.c.y}};
    const Point n[3] = {unitNormal(legs[0]), unitNormal(legs[1]), unitNormal(legs[2])};
    const auto corner = [offset](Point p, Point n1, Point n2) {
        const double r = 1.0 + n1.x * n2.x + n1.y * n2.y;
        if (std::abs(r) <= 1e-12) return Point{p.x + offset * n1.x, p.y + offset * n1.y};
        const double k = offset / r;
        return Point{p.x + k * (n1.x + n2.x), p.y + k * (n1.y + n2.y)};
    };
    moved = {{q.a.x + offset * n[0].x, q.a.y + offset * n[0].y},
             corner(q.b, n[0], n[1]),
             corner(q.c, n[1], n[2]),
             {q.d.x + offset * n[2].x, q.d.y + offset * n[2].y}};
    const double square = offset * offset;
    for (double t = 0.25; t < 1; t += 0.25) {
        const Point p1 = pointAt(q, t);
        const Point p2 = pointAt(moved, t);
        const double ex = p1.x - p2.x, ey = p1.y - p2.y;
        if (std::abs(ex * ex + ey * ey - square) > strayed * offset * offset) return false;
        const double s = 1. - t;
        const Point normal{
            (q.b.y - q.a.y) * (s * s) + (q.c.y - q.b.y) * (t * s) + (q.d.y - q.c.y) * (t * t),
            -(q.b.x - q.a.x) * (s * s) - (q.c.x - q.b.x) * (t * s) - (q.d.x - q.c.x) * (t * t)};
        const double l = std::abs(normal.x) + std::abs(normal.y);
        if (l != 0 && std::abs(normal.x * ey - normal.y * ex) / l > strayed * offset) return false;
    }
    return true;
}

std::vector<Cubic> offsetCurve(const Cubic& q, double offset)
{
    constexpr int kMostPieces = 15;
    constexpr int kDeepest = 10;
    float strayed = 0.25f;
    std::vector<Cubic> pieces;
    std::vector<Cubic> todo;
    for (;;) {  // with a looser check whenever the pieces grow too many
        pieces.clear();
        todo = {q};
        bool tooMany = false;
        while (!todo.empty() && !tooMany) {
            const int depth = int(todo.size());
            if (depth == kDeepest || int(pieces.size()) == kMostPieces - depth) {
                tooMany = true;
                break;
            }
            Cubic moved;
            if (movedOut(todo.back(), offset, strayed, moved)) {
                pieces.push_back(moved);
                todo.pop_back();
            } else {
                const auto [first, second] = halves(todo.back());
                todo.back() = second;
                todo.push_back(first);
            }
        }
        if (!tooMany) return pieces;
        strayed *= 1.5f;
        if (strayed > 2.0f) break;
    }
    for (; !todo.empty(); todo.pop_back()) {  // given up: every piece left, as it comes
        Cubic moved;
        movedOut(todo.back(), offset, strayed, moved);
        pieces.push_back(moved);
    }
    return pieces;
}

// Fills closed polygons by their rows' middles: corners in 26.6 fixed point, each edge where it
// crosses a row's middle in 16.16, a pixel filled when its middle is on or right of an edge
// crossing and left of the next, where the crossings left of it wind round (non-zero) or number
// odd (even-odd).
void fillContours(const Pixels& p, const std::vector<std::vector<Point>>& contours, bool nonZero,
                  std::uint32_t value)
{
    struct Edge {
        Fixed x, step;
        int top, bottom, winding;
    };
    const auto to26Dot6 = [](double v) { return int(std::floor(v * 64 + 0.5)); };
    std::vector<Edge> edges;
    int top = p.height, bottom = -1;
    for (const std::vector<Point>& contour : contours) {
        for (std::size_t i = 0; i + 1 < contour.size() + 1; ++i) {
            const Point& from = contour[i];
            const Point& to = contour[(i + 1) % contour.size()];
            int ax = to26Dot6(from.x), ay = to26Dot6(from.y);
            int bx = to26Dot6(to.x), by = to26Dot6(to.y);
            int winding = 1;
            if (ay > by) {
                std::swap(ax, bx);
                std::swap(ay, by);
                winding = -1;
            }
            const int first = std::max(0, (ay + 32) >> 6);
            const int last = std::min(p.height - 1, (by - 32) >> 6);
            if (first > last) continue;
            const Fixed x = kOne / 2 + Fixed(ax) * 1024;
            if (bx == ax) {
                edges.push_back({x, 0, first, last, winding});
            } else {
                const Fixed step = Fixed((bx - ax) / double(by - ay) * kOne);
                const Fixed start = (Fixed(first) * kOne + kOne / 2 - Fixed(ay) * 1024);
                edges.push_back({x + ((step * start) >> 16), step, first, last, winding});
            }
            top = std::min(top, first);
            bottom = std::max(bottom, last);
        }
    }
    std::vector<std::pair<int, int>> crossings;  // x, winding
    for (int y = top; y <= bottom; ++y) {
        crossings.clear();
        for (const Edge& e : edges) {
            if (y >= e.top && y <= e.bottom)
                crossings.push_back({wholePart(e.x + e.step * (y - e.top)), e.winding});
        }
        std::sort(crossings.begin(), crossings.end());
        int x = 0;
        int winding = 0;
        for (const auto& [at, turn] : crossings) {
            if (nonZero ? winding != 0 : (winding & 1) != 0) p.span(x, at - 1, y, value);
            x = at;
            winding += turn;
        }
    }
}

}  // namespace

ExportPicture::ExportPicture(int logicalWidth, int logicalHeight, int ratio)
    : width_(logicalWidth * ratio),
      height_(logicalHeight * ratio),
      ratio_(ratio),
      pixels_(std::size_t(width_) * height_, 0u)
{
}

std::vector<std::uint8_t> ExportPicture::clientArea(int logicalWidth, int logicalHeight,
                                                    std::uint32_t background) const
{
    const int w = std::min(logicalWidth * ratio_, width_);
    const int h = std::min(logicalHeight * ratio_, height_);
    const std::uint32_t grey = PixelPicture::pixelOf(background);
    std::vector<std::uint8_t> rgba(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = pixel(x, y) ? pixel(x, y) : grey;
            std::uint8_t* out = &rgba[(std::size_t(y) * w + x) * 4];
            for (int byte = 0; byte < 4; ++byte) out[byte] = std::uint8_t(p >> (8 * byte));
        }
    }
    return rgba;
}

void ExportPicture::line(float x1, float y1, float x2, float y2)
{
    stroke(x1, y1, x2, y2, PixelPicture::pixelOf(systemColour(kButtonTextColour)));
}

void ExportPicture::line(float x1, float y1, float x2, float y2, Colour colour)
{
    stroke(x1, y1, x2, y2, PixelPicture::pixelOf(colour));
}

void ExportPicture::stroke(float x1, float y1, float x2, float y2, std::uint32_t value)
{
    const Pixels p{width_, height_, pixels_.data()};
    const int pen = pixelrule::penWidth(state_.lineWidth, ratio_);
    const pixelrule::DevicePoint a = pixelrule::toDevice(x1, y1, state_, ratio_);
    const pixelrule::DevicePoint b = pixelrule::toDevice(x2, y2, state_, ratio_);
    if (a == b) {
        p.rect(a.x - pen / 2.0, a.y - pen / 2.0, a.x + pen / 2.0, a.y + pen / 2.0, value);
    } else if (pen == 1) {
        thinLine(p, {a.x, a.y}, {b.x, b.y}, value);
    } else {
        wideLine(p, {a.x, a.y}, {b.x, b.y}, pen, value);
    }
}

void ExportPicture::circle(float x, float y, float radius)
{
    const Pixels p{width_, height_, pixels_.data()};
    const int pen = pixelrule::penWidth(state_.lineWidth, ratio_);
    const pixelrule::DevicePoint c = pixelrule::toDevice(x, y, state_, ratio_);
    const double r = pixelrule::deviceRadius(radius, state_, ratio_);
    const std::uint32_t outline = PixelPicture::pixelOf(systemColour(kButtonTextColour));
    if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(r)) return;
    if (pixelrule::isDot(r)) {
        p.rect(c.x - pen / 2.0, c.y - pen / 2.0, c.x + pen / 2.0, c.y + pen / 2.0, outline);
        return;
    }
    if (std::abs(c.x) > 4.0 * width_ + r || std::abs(c.y) > 4.0 * height_ + r) return;  // far off
    // Far larger than any picture (no run draws one): left out rather than carried beyond what
    // the fixed-point coordinates hold.
    if (r > 1e6) return;
    const std::array<Cubic, 4> quarters = circleCurves({c.x, c.y}, r);
    if (state_.fillStyle == FillStyle::Solid) {
        std::vector<Point> inside{quarters[0].a};
        for (const Cubic& q : quarters) flattenOnto(q, inside);
        fillContours(p, {inside}, false, PixelPicture::pixelOf(state_.fillColour));
    }
    // The outline: the curves moved out by half the pen on one side going round, and on the other
    // coming back; the quarters meet level or plumb, so their pieces meet without joins.
    const double offset = pen / 2.0;
    std::vector<Point> out;
    std::vector<Point> back;
    for (const Cubic& q : quarters) {
        for (const Cubic& piece : offsetCurve(q, offset)) {
            if (out.empty()) out.push_back(piece.a);
            flattenOnto(piece, out);
        }
    }
    for (auto q = quarters.rbegin(); q != quarters.rend(); ++q) {
        for (const Cubic& piece : offsetCurve({q->d, q->c, q->b, q->a}, offset)) {
            if (back.empty()) back.push_back(piece.a);
            flattenOnto(piece, back);
        }
    }
    fillContours(p, {out, back}, true, outline);
}

}  // namespace kvelmor
