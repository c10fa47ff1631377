#pragma once

#include "canvas/surface.h"
#include "explore/chain.h"

namespace kvelmor {

// A rectangle of a picture, in pixels.
struct PictureArea {
    double left;
    double top;
    double width;
    double height;
};

// The colours of the explorer's pictures, drawn on white: the chain in black, the sum arrow in a
// green dark enough to stand out from white on a projector, the continuous slit's curve as a pale
// tint of the worksheet plot's vermillion.
inline constexpr Colour kExploreBackground = rgb(0xFF, 0xFF, 0xFF);
inline constexpr Colour kExploreChain = rgb(0, 0, 0);
inline constexpr Colour kExploreSum = rgb(0, 0x96, 0);
inline constexpr Colour kExploreCurve = rgb(0xF0, 0xC7, 0xA6);

// The scale mark drawn below a chain: a line from `left` to `right` at `y` (pixels) that stands
// for `twips` twips; its number goes centred under it, at `textTop`. `twips` is 0 when no mark
// fits.
struct ScaleMark {
    double left;
    double right;
    double y;
    double textTop;
    int twips;
};

// Draws a chain as the run draws its chains, large: fitted into `area` at one scale, centred,
// behind it the continuous slit's chain `curve` in a pale tint, then the straight arrow and the
// slit arrows in black (every arrow; a `continuous` chain as a curve) and the green sum arrow from
// the first point to the last; a scale mark below. Coordinates are handed over in pixels (the
// surface is set to that unit). The background is the caller's: the area is not filled.
ScaleMark drawChainPicture(Surface& surface, const Chain& chain, const Chain& curve,
                           bool continuous, const PictureArea& area);

// The scale mark's length: the largest of 1, 2, 5, 10, 20, 50, ... twips that is at most `most`
// twips long; 0 when even 1 twip is longer.
int scaleMarkTwips(double most);

}  // namespace kvelmor
