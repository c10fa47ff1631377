#pragma once

#include <string>

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
// for `twips` twips; its number goes to the right of it (scaleMarkLabel). `twips` is 0 when no
// mark fits.
struct ScaleMark {
    double left;
    double right;
    double y;
    int twips;
};

// A text of a picture, drawn over the picture's pixels by each front end in its own fonts: `text`
// in Arial of `pixelSize` pixels, bold or not, its baseline `baseline` pixels below the top of
// `box`, centred across the box or starting at its left edge. Nothing of it shows outside `box`,
// and the picture has nothing but its background under the box, so two front ends' pictures
// differ only inside their texts' boxes.
struct PictureText {
    std::string text;
    PictureArea box;
    double pixelSize;
    double baseline;
    bool bold;
    bool centred;
};

// Draws a chain as the run draws its chains, large: fitted into `area` at one scale, centred,
// behind it the continuous slit's chain `curve` in a pale tint, then the straight arrow and the
// slit arrows in black (every arrow; a `continuous` chain as a curve) and the green sum arrow from
// the first point to the last; a scale mark below, at the left, with room for its number to its
// right. Coordinates are handed over in pixels (the surface is set to that unit). The background
// is the caller's: the area is not filled.
ScaleMark drawChainPicture(Surface& surface, const Chain& chain, const Chain& curve,
                           bool continuous, const PictureArea& area);

// The scale mark's length: the largest of 1, 2, 5, 10, 20, 50, ... twips that is at most `most`
// twips long; 0 when even 1 twip is longer.
int scaleMarkTwips(double most);

// Where the scale mark's number goes: right of the mark, as far as the area's margin, `number`
// in 12-pixel Arial on a baseline a little below the mark's line.
PictureText scaleMarkLabel(const ScaleMark& mark, const PictureArea& area, std::string number);

}  // namespace kvelmor
