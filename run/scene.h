#pragma once

namespace kvelmor {

// Geometry of the optical bench, in twips (1/1440 inch, 15 to a pixel), y growing downwards.
// Everything is fixed except where the detector line stands, which follows the distance choice.
struct Scene {
    static constexpr double lensX = 2500;           // where the widening beam turns parallel
    static constexpr double axisY = 3500;           // height of source, slit centre and rays
    static constexpr double sourceX = lensX - 800;  // centre of the source circle
    static constexpr double sourceRadius = 100;
    static constexpr double screenX = lensX + 1000;  // the slit screen
    static constexpr double slitHalfHeight = 1000;   // the slit spans axisY +- 1000
    static constexpr double benchTop = 1500;         // upper end of screen, detector line, axis
    static constexpr double benchBottom = 7500;      // lower end; detector steps count up from it
    static constexpr double probabilityX = 7500;     // axis on which the bars stand

    double detectorX;  // 4500, 5500 or 6500 for the distances 300, 350 and 400

    static constexpr Scene forDistance(double distance)
    {
        return Scene{(screenX - 5000) + 20 * distance};
    }
};

}  // namespace kvelmor
