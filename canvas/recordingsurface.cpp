#include "canvas/recordingsurface.h"

namespace kvelmor {

void RecordingSurface::line(float x1, float y1, float x2, float y2)
{
    add(Kind::Line, x1, y1, x2, y2, std::nullopt);
}

void RecordingSurface::line(float x1, float y1, float x2, float y2, Colour colour)
{
    add(Kind::Line, x1, y1, x2, y2, colour);
}

void RecordingSurface::circle(float x, float y, float radius)
{
    add(Kind::Circle, x, y, radius, 0, std::nullopt);
}

void RecordingSurface::drawOnto(Surface& target) const
{
    for (const Primitive& p : primitives_) {
        target.setScaleUnit(p.unit);
        target.setLineWidth(p.lineWidth);
        target.setFillStyle(p.fillStyle);
        target.setFillColour(p.fillColour);
        if (p.kind == Kind::Circle) {
            target.circle(p.x1, p.y1, p.x2);
        } else if (p.colour) {
            target.line(p.x1, p.y1, p.x2, p.y2, *p.colour);
        } else {
            target.line(p.x1, p.y1, p.x2, p.y2);
        }
    }
    target.setScaleUnit(state_.unit);
    target.setLineWidth(state_.lineWidth);
    target.setFillStyle(state_.fillStyle);
    target.setFillColour(state_.fillColour);
}

void RecordingSurface::add(Kind kind, float x1, float y1, float x2, float y2,
                           std::optional<Colour> colour)
{
    primitives_.push_back({kind, x1, y1, x2, y2, colour, state_.lineWidth, state_.unit,
                           state_.fillStyle, state_.fillColour, flushes_});
}

}  // namespace kvelmor
