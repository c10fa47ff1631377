#include "export/replay.h"

namespace kvelmor {

void replay(const RecordingSurface& drawing, Surface& target)
{
    int flushes = 0;
    for (const RecordingSurface::Primitive& p : drawing.primitives()) {
        for (; flushes < p.flushesBefore; ++flushes) target.flush();
        target.setScaleUnit(p.unit);
        target.setLineWidth(p.lineWidth);
        target.setFillStyle(p.fillStyle);
        target.setFillColour(p.fillColour);
        if (p.kind == RecordingSurface::Kind::Circle) {
            target.circle(p.x1, p.y1, p.x2);
        } else if (p.colour) {
            target.line(p.x1, p.y1, p.x2, p.y2, *p.colour);
        } else {
            target.line(p.x1, p.y1, p.x2, p.y2);
        }
    }
    for (; flushes < drawing.flushes(); ++flushes) target.flush();
}

}  // namespace kvelmor
