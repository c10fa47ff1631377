#pragma once

#include <QPainter>
#include <QPalette>

#include "canvas/surface.h"

namespace kvelmor {

// Draws onto any painter (an SVG generator, say) in logical pixels, at the exact coordinates it
// is given: no rounding to pixels, since a vector picture has none. Lines get square caps, as on
// the window.
class VectorSurface final : public Surface {
public:
    VectorSurface(QPainter& painter, QPalette palette);

    void setScaleUnit(ScaleUnit unit) override { unit_ = unit; }
    void setLineWidth(int pixels) override { lineWidth_ = pixels; }
    void setFillStyle(FillStyle style) override { fillStyle_ = style; }
    void setFillColour(Colour colour) override { fillColour_ = colour; }
    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override {}

private:
    double toPixels(float v) const;

    QPainter& painter_;
    QPalette palette_;
    ScaleUnit unit_ = ScaleUnit::Twips;
    int lineWidth_ = 1;
    FillStyle fillStyle_ = FillStyle::Transparent;
    Colour fillColour_ = 0;
};

}  // namespace kvelmor
