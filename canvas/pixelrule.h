#pragma once

#include <algorithm>
#include <cmath>

#include "canvas/surface.h"

namespace kvelmor::pixelrule {

// Where a drawing lands in device pixels, for the picture every front end draws a run into
// (PixelPicture): the desktop window, the export's PNG and the browser page.
//
// A logical pixel is `ratio` device pixels. Every end point and circle centre is rounded to the
// nearest point of a grid with n points to a logical pixel, n being the ratio's whole part (at
// least 1): whole device pixels at a whole ratio, whole logical pixels at any ratio below 2. A pen
// w logical pixels wide is placed around the middle of a grid cell when w is odd and around its
// corner when w is even, and covers the device pixels whose middles lie within the w logical
// pixels around that point (or, where none does, the one pixel under it), with square caps. So
// at a ratio of 1 a 1-pixel line covers the pixels from its first to its last end point, and a
// 2-pixel horizontal line from column a to column b on row r covers columns a-1..b of rows r-1
// and r; at a whole ratio every pen covers a whole number of device pixels.
//
// Why the grid: a pen covers the area it covers on the grid, mapped to device pixels, and the
// grid is a logical pixel below a ratio of 2 and never finer than a device pixel above it. Pens
// that touch or overlap on the grid therefore still touch or overlap in device pixels: the bars,
// 25 twips apart and 2 pixels high, and the beam's lines, 10 twips apart, join without a gap at a
// ratio of 0.67 as at 1.25 or 3, where rounding the pen's centre to the nearest device pixel and
// its width to whole device pixels, each on its own, leaves grey rows between them.

inline constexpr double kTwipsPerPixel = 15;

struct DevicePoint {
    double x;
    double y;
    bool operator==(const DevicePoint&) const = default;
};

// The whole part of a ratio, at least 1: the grid has this many points to a logical pixel. A
// ratio a rounding error below a whole number (1.9999999) counts as that number.
inline int gridPoints(double ratio)
{
    return std::max(1, static_cast<int>(std::floor(ratio + 1e-6)));
}

// Device pixels from one grid point to the next: 1 at a whole ratio, never less than 1 from a
// ratio of 1 upwards.
inline double gridCell(double ratio)
{
    return ratio / gridPoints(ratio);
}

// The pen's width in device pixels, not rounded.
inline double penExtent(int lineWidth, double ratio)
{
    return lineWidth * ratio;
}

// Grid points per unit of the current scale unit.
inline double gridScale(ScaleUnit unit, int points)
{
    return (unit == ScaleUnit::Twips ? 1 / kTwipsPerPixel : 1.0) * points;
}

// Device pixels per unit of the current scale unit.
inline double deviceScale(ScaleUnit unit, double ratio)
{
    return (unit == ScaleUnit::Twips ? 1 / kTwipsPerPixel : 1.0) * ratio;
}

// A point of the grid, counted in grid cells from the origin: whole numbers.
struct GridPoint {
    double x;
    double y;
};

// The one place where coordinates of the current unit are rounded: to the nearest grid point.
inline GridPoint toGrid(float x, float y, const DrawingState& state, double ratio)
{
    const double scale = gridScale(state.unit, gridPoints(ratio));
    return {std::floor(x * scale + 0.5), std::floor(y * scale + 0.5)};
}

// The pen's centre in device pixels when placed on grid point `g`.
inline DevicePoint toDevice(GridPoint g, const DrawingState& state, double ratio)
{
    const double cell = gridCell(ratio);
    const double offset = state.lineWidth % 2 ? ratio / 2 : 0.0;
    return {g.x * cell + offset, g.y * cell + offset};
}

// Coordinates of the current unit as the pen's centre in device pixels.
inline DevicePoint toDevice(float x, float y, const DrawingState& state, double ratio)
{
    return toDevice(toGrid(x, y, state, ratio), state, ratio);
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

// The device pixels a pen `extent` device pixels wide covers along one axis when placed at
// `centre`: those whose middle lies in [centre - extent/2, centre + extent/2), or, where no
// middle does, the one pixel under the centre. A middle within kTie of an edge counts as lying on
// it, so that a pixel whose middle falls on the line between two grid cells belongs to the second
// whatever the rounding of the arithmetic (at fractional ratios such middles are common).
inline constexpr double kTie = 1e-9;

struct PixelRange {
    int first;
    int last;
};

inline PixelRange penRange(double centre, double extent)
{
    const int first = static_cast<int>(std::ceil(centre - extent / 2 - 0.5 - kTie));
    const int last = static_cast<int>(std::ceil(centre + extent / 2 - 0.5 - kTie)) - 1;
    if (last < first) {
        const int under = static_cast<int>(std::floor(centre));
        return {under, under};
    }
    return {first, last};
}

// The grid cell, along one axis, that the middle of device pixel `p` lies in.
inline double cellOf(int p, double ratio)
{
    return std::floor((p + 0.5) / gridCell(ratio) + kTie);
}

// How far apart, at most, in device pixels, the middles of the grid cells of two neighbouring
// device pixels lie: a cell where a cell is a device pixel or more; below that, where a device
// pixel spans more than one cell, as many cells as it can step over. A ring at least this wide
// leaves no neighbouring pixels of its outline apart.
inline double cellStep(double ratio)
{
    const double cell = gridCell(ratio);
    return cell * std::ceil(1 / cell - kTie);
}

}  // namespace kvelmor::pixelrule
