#pragma once

#include <QPainter>
#include <QPalette>

#include "canvas/surface.h"

namespace kvelmor {

// Draws onto any painter (an SVG generator, say) in logical pixels, at the exact coordinates it
// is given: no rounding to pixels, since a vector picture has none. Lines get square caps, as on
// the window.
class VectorSurface final : public StatefulSurface {
public:
    VectorSurface(QPainter& painter, QPalette palette);

    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override {}

private:
    double toPixels(float v) const;

    QPainter& painter_;
    QPalette palette_;
};

}  // namespace kvelmor
