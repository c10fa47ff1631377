#pragma once

#include <cstdint>

namespace kvelmor {

// A colour as 0x00BBGGRR (red in the low byte), or 0x80000000 + n for the desktop's system colour
// n.
using Colour = std::uint32_t;

inline constexpr Colour kSystemColourFlag = 0x80000000u;
constexpr Colour systemColour(unsigned index)
{
    return kSystemColourFlag + index;
}
constexpr bool isSystemColour(Colour c)
{
    return (c & kSystemColourFlag) != 0;
}
constexpr Colour rgb(unsigned r, unsigned g, unsigned b)
{
    return r | (g << 8) | (b << 16);
}

inline constexpr unsigned kTitleBarTextColour = 9;
inline constexpr unsigned kButtonTextColour = 18;

enum class ScaleUnit { Twips, Pixels };
enum class FillStyle { Solid, Transparent };

// Immediate-mode drawing on the window's client area, with a little state that stays in force
// between calls, and between runs. Coordinates are in the current scale unit (15 twips make a
// pixel), origin top left, y downwards. Line widths are in pixels.
class Surface {
public:
    virtual ~Surface() = default;

    virtual void setScaleUnit(ScaleUnit unit) = 0;
    virtual void setLineWidth(int pixels) = 0;
    virtual void setFillStyle(FillStyle style) = 0;
    virtual void setFillColour(Colour colour) = 0;

    // A straight segment in the current line width, in the fore colour (the desktop's button
    // text) or in the given colour.
    virtual void line(float x1, float y1, float x2, float y2) = 0;
    virtual void line(float x1, float y1, float x2, float y2, Colour colour) = 0;

    // A full circle outlined in the fore colour with the current line width, filled according to
    // the fill style and fill colour.
    virtual void circle(float x, float y, float radius) = 0;

    // Makes everything drawn so far visible on the screen before returning.
    virtual void flush() = 0;
};

// The drawing state a surface keeps between calls, and between runs.
struct DrawingState {
    ScaleUnit unit = ScaleUnit::Twips;
    int lineWidth = 1;
    FillStyle fillStyle = FillStyle::Transparent;
    Colour fillColour = 0;
};

// A surface that keeps the drawing state for its primitives to use.
class StatefulSurface : public Surface {
public:
    void setScaleUnit(ScaleUnit unit) final { state_.unit = unit; }
    void setLineWidth(int pixels) final { state_.lineWidth = pixels; }
    void setFillStyle(FillStyle style) final { state_.fillStyle = style; }
    void setFillColour(Colour colour) final { state_.fillColour = colour; }

    const DrawingState& state() const { return state_; }

protected:
    DrawingState state_;
};

}  // namespace kvelmor
