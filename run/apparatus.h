#pragma once

#include "canvas/surface.h"
#include "run/scene.h"

namespace kvelmor {

inline constexpr Colour kGrey = rgb(0xC0, 0xC0, 0xC0);      // the window's own back colour
inline constexpr Colour kPaleCyan = rgb(0xC0, 0xFF, 0xFF);  // light: beam, slit, rays

// Paints the grey background over the previous scene and draws the bench for `scene`: source,
// beam, light in the slit, slit screen, detector line, probability axis and the rays from the slit
// centre to the detector line. Leaves the surface in twips with line width 1.
void drawApparatus(Surface& surface, const Scene& scene);

}  // namespace kvelmor
