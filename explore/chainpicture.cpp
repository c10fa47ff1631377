#include "explore/chainpicture.h"

#include <algorithm>
#include <cmath>

namespace kvelmor {

namespace {

constexpr double kMargin = 12;       // pixels kept free round the chain
constexpr double kMarkBand = 30;     // pixels below the chain for the scale mark and its number
constexpr double kMarkTick = 4;      // half the height of the mark's end ticks
constexpr double kLabelGap = 6;      // pixels from the mark's right end to its number
constexpr double kLabelHeight = 16;  // the number's box, centred on the mark's line
constexpr double kCurveStep = 0.75;  // pixels: closer points of the faint curve are left out

struct Fit {
    double scale;   // pixels per twip
    double x0, y0;  // the pixel of the twip point (0, 0)

    double x(double twips) const { return x0 + twips * scale; }
    double y(double twips) const { return y0 + twips * scale; }
};

Fit fitInto(const Chain& chain, const Chain& curve, const PictureArea& area)
{
    double left = chain.front().x, right = left, top = chain.front().y, bottom = top;
    for (const Chain* points : {&chain, &curve}) {
        for (const Point& p : *points) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    }
    const double width = std::max(area.width - 2 * kMargin, 1.0);
    const double height = std::max(area.height - 2 * kMargin - kMarkBand, 1.0);
    const double extent = std::max({right - left, bottom - top, 1e-9});
    const double scale = std::min(width, height) / extent;
    const double centreX = area.left + area.width / 2;
    const double centreY = area.top + kMargin + height / 2;
    return {scale, centreX - (left + right) / 2 * scale, centreY - (top + bottom) / 2 * scale};
}

// Lines through `points`, leaving out the points that lie closer than `step` pixels to the last
// one drawn (never the last point).
void drawPolyline(Surface& s, const Chain& points, const Fit& fit, Colour colour, double step)
{
    for (std::size_t i = 1, from = 0; i < points.size(); ++i) {
        const double dx = (points[i].x - points[from].x) * fit.scale;
        const double dy = (points[i].y - points[from].y) * fit.scale;
        if (dx * dx + dy * dy < step * step && i + 1 < points.size()) continue;
        s.line(fit.x(points[from].x), fit.y(points[from].y), fit.x(points[i].x), fit.y(points[i].y),
               colour);
        from = i;
    }
}

}  // namespace

int scaleMarkTwips(double most)
{
    int best = 0;
    for (double power = 1; power <= most && power < 1e9; power *= 10) {
        for (int factor : {1, 2, 5}) {
            if (factor * power <= most) best = int(factor * power);
        }
    }
    return best;
}

ScaleMark drawChainPicture(Surface& s, const Chain& chain, const Chain& curve, bool continuous,
                           const PictureArea& area)
{
    if (chain.size() < 2) return {};
    const Fit fit = fitInto(chain, curve, area);
    s.setScaleUnit(ScaleUnit::Pixels);

    s.setLineWidth(3);
    drawPolyline(s, curve, fit, kExploreCurve, kCurveStep);
    // A chain of arrows shows every arrow, as the run draws it; the continuous one is a curve.
    s.setLineWidth(1);
    drawPolyline(s, chain, fit, kExploreChain, continuous ? kCurveStep : 0);
    s.setLineWidth(3);
    s.line(fit.x(chain.front().x), fit.y(chain.front().y), fit.x(chain.back().x),
           fit.y(chain.back().y), kExploreSum);

    ScaleMark mark{};
    mark.twips = scaleMarkTwips(0.3 * area.width / fit.scale);
    if (mark.twips > 0) {
        mark.left = area.left + kMargin;
        mark.right = mark.left + mark.twips * fit.scale;
        mark.y = area.top + area.height - kMarkBand + 4;
        s.setLineWidth(1);
        s.line(mark.left, mark.y, mark.right, mark.y, kExploreChain);
        s.line(mark.left, mark.y - kMarkTick, mark.left, mark.y + kMarkTick, kExploreChain);
        s.line(mark.right, mark.y - kMarkTick, mark.right, mark.y + kMarkTick, kExploreChain);
    }
    return mark;
}

PictureText scaleMarkLabel(const ScaleMark& mark, const PictureArea& area, std::string number)
{
    const double left = mark.right + kLabelGap;
    return {std::move(number),
            {left, mark.y - kLabelHeight / 2,
             std::max(area.left + area.width - kMargin - left, 0.0), kLabelHeight},
            12,
            12,
            false,
            false};
}

}  // namespace kvelmor
