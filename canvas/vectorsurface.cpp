#include "canvas/vectorsurface.h"

#include "canvas/colours.h"

namespace kvelmor {

VectorSurface::VectorSurface(QPainter& painter, QPalette palette)
    : painter_(painter), palette_(std::move(palette))
{
}

double VectorSurface::toPixels(float v) const
{
    return state_.unit == ScaleUnit::Twips ? v / 15.0 : v;
}

void VectorSurface::line(float x1, float y1, float x2, float y2)
{
    line(x1, y1, x2, y2, systemColour(kButtonTextColour));
}

void VectorSurface::line(float x1, float y1, float x2, float y2, Colour colour)
{
    painter_.setPen(
        QPen(resolveColour(colour, palette_), state_.lineWidth, Qt::SolidLine, Qt::SquareCap));
    painter_.drawLine(QPointF(toPixels(x1), toPixels(y1)), QPointF(toPixels(x2), toPixels(y2)));
}

void VectorSurface::circle(float x, float y, float radius)
{
    painter_.setPen(
        QPen(resolveColour(systemColour(kButtonTextColour), palette_), state_.lineWidth));
    painter_.setBrush(state_.fillStyle == FillStyle::Solid
                          ? QBrush(resolveColour(state_.fillColour, palette_))
                          : QBrush(Qt::NoBrush));
    const double r = toPixels(radius);
    painter_.drawEllipse(QPointF(toPixels(x), toPixels(y)), r, r);
}

}  // namespace kvelmor
