#pragma once

#include <algorithm>
#include <cmath>

#include "canvas/surface.h"

namespace kvelmor::pixelrule {

// Where a drawing lands in device pixels, shared by every picture that draws a run: the desktop
// window's off-screen image and the browser page's canvas. Plain C++, so both front ends round the
// same way.
//
// Every end point and circle centre is rounded to the nearest device pixel (a logical pixel is
// `ratio` of them). A line w logical pixels wide is stroked around the middle of a logical pixel
// when w is odd and around its corner when w is even, with square caps: so a 1-pixel line covers
// the pixels from its first to its last end point, and a 2-pixel horizontal line from column a to
// column b on row r covers columns a-1..b of rows r-1 and r. At a whole ratio the picture is the
// 1x picture enlarged.

inline constexpr double kTwipsPerPixel = 15;

struct DevicePoint {
    double x;
    double y;
    bool operator==(const DevicePoint&) const = default;
};

// The pen in device pixels: at least one.
inline int penWidth(int lineWidth, double ratio)
{
    return std::max(1, static_cast<int>(std::lround(lineWidth * ratio)));
}

// Device pixels per unit of the current scale unit.
inline double deviceScale(ScaleUnit unit, double ratio)
{
    return (unit == ScaleUnit::Twips ? 1 / kTwipsPerPixel : 1.0) * ratio;
}

// The one place where coordinates of the current unit become device pixels.
inline DevicePoint toDevice(float x, float y, const DrawingState& state, double ratio)
{
    const double scale = deviceScale(state.unit, ratio);
    const double offset = state.lineWidth % 2 ? ratio / 2 : 0.0;
    return {std::floor(x * scale + 0.5) + offset, std::floor(y * scale + 0.5) + offset};
}

inline double deviceRadius(float radius, const DrawingState& state, double ratio)
{
    return radius * deviceScale(state.unit, ratio);
}

// A circle less than a device pixel across is too small to outline: it leaves the pen's square.
inline bool isDot(double deviceRadius)
{
    return deviceRadius < 0.5;
}

// The pixels a pen `width` device pixels wide covers along one axis when placed at `centre`: those
// whose middle lies in [centre - width/2, centre + width/2).
struct PixelRange {
    int first;
    int last;
};

inline PixelRange penRange(double centre, int width)
{
    const int first = static_cast<int>(std::ceil(centre - width / 2.0 - 0.5));
    return {first, first + width - 1};
}

}  // namespace kvelmor::pixelrule
