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

void RecordingSurface::add(Kind kind, float x1, float y1, float x2, float y2,
                           std::optional<Colour> colour)
{
    primitives_.push_back({kind, x1, y1, x2, y2, colour, state_.lineWidth, state_.unit,
                           state_.fillStyle, state_.fillColour, flushes_});
}

}  // namespace kvelmor
