#pragma once

#include <optional>
#include <vector>

#include "canvas/surface.h"

namespace kvelmor {

// A surface that draws nothing and logs every primitive with the drawing state it was made in:
// tests count and inspect what a run draws, and a picture at a new size is drawn again from it.
class RecordingSurface final : public StatefulSurface {
public:
    enum class Kind { Line, Circle };

    struct Primitive {
        Kind kind;
        float x1, y1, x2, y2;          // a circle keeps its centre in x1, y1 and its radius in x2
        std::optional<Colour> colour;  // empty: the fore colour
        int lineWidth;
        ScaleUnit unit;
        FillStyle fillStyle;
        Colour fillColour;
        int flushesBefore;  // how many flushes came before this primitive
    };

    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, Colour colour) override;
    void circle(float x, float y, float radius) override;
    void flush() override { ++flushes_; }

    // Draws every primitive onto `target` in the drawing state it was made in, then leaves `target`
    // in this surface's current state, as if what was drawn here had been drawn there. No flushes.
    void drawOnto(Surface& target) const;

    const std::vector<Primitive>& primitives() const { return primitives_; }
    int flushes() const { return flushes_; }
    void clear()
    {
        primitives_.clear();
        flushes_ = 0;
    }

private:
    void add(Kind kind, float x1, float y1, float x2, float y2, std::optional<Colour> colour);

    std::vector<Primitive> primitives_;
    int flushes_ = 0;
};

}  // namespace kvelmor
