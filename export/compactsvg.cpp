#include "export/compactsvg.h"

#include <cmath>

#include "canvas/colours.h"

namespace kvelmor {

namespace {

// `hundredths` / 100 as the shortest decimal text: 36667 -> "366.67", 1250 -> "12.5",
// -7 -> "-.07", 0 -> "0".
void appendHundredths(std::string& text, std::int64_t hundredths)
{
    if (hundredths < 0) {
        text += '-';
        hundredths = -hundredths;
    }
    const std::int64_t whole = hundredths / 100;
    const int fraction = int(hundredths % 100);
    if (whole != 0 || fraction == 0) text += std::to_string(whole);
    if (fraction != 0) {
        text += '.';
        text += char('0' + fraction / 10);
        if (fraction % 10 != 0) text += char('0' + fraction % 10);
    }
}

// A number after another in a list: a space between them, unless the sign parts them.
void appendNext(std::string& text, std::int64_t hundredths)
{
    if (hundredths >= 0) text += ' ';
    appendHundredths(text, hundredths);
}

}  // namespace

CompactSvgSurface::CompactSvgSurface(QPalette palette) : palette_(std::move(palette)) {}

CompactSvgSurface::Point CompactSvgSurface::toHundredths(float x, float y) const
{
    const double perPixel = state_.unit == ScaleUnit::Twips ? 15.0 : 1.0;
    return {std::llround(x / perPixel * 100), std::llround(y / perPixel * 100)};
}

std::string CompactSvgSurface::colourName(Colour colour) const
{
    return resolveColour(colour, palette_).name().toStdString();
}

void CompactSvgSurface::line(float x1, float y1, float x2, float y2)
{
    line(x1, y1, x2, y2, systemColour(kButtonTextColour));
}

void CompactSvgSurface::line(float x1, float y1, float x2, float y2, Colour colour)
{
    const Pen pen{resolveColour(colour, palette_).rgb(), state_.lineWidth};
    const Point from = toHundredths(x1, y1);
    const Point to = toHundredths(x2, y2);
    if (groupPen_ != pen) {
        closeGroup();
        const std::string name = colourName(colour);
        text_ += "<g";
        if (name != "#000000") text_ += " stroke=\"" + name + '"';
        if (pen.width != 1) text_ += " stroke-width=\"" + std::to_string(pen.width) + '"';
        text_ += ">\n";
        groupPen_ = pen;
    }
    if (!pathOpen_ || from != pathEnd_) {
        // A new path: its start in full, and its first step even when rounding makes it
        // nothing, so that a line shorter than a hundredth still leaves its square caps.
        closePath();
        text_ += "<path d=\"M";
        appendHundredths(text_, from.x);
        appendNext(text_, from.y);
        text_ += 'l';
        appendHundredths(text_, to.x - from.x);
        appendNext(text_, to.y - from.y);
        pathOpen_ = true;
        cursor_ = to;
    } else if (to != cursor_) {
        appendNext(text_, to.x - cursor_.x);
        appendNext(text_, to.y - cursor_.y);
        cursor_ = to;
    }
    pathEnd_ = to;
}

void CompactSvgSurface::circle(float x, float y, float radius)
{
    closeGroup();
    const Point centre = toHundredths(x, y);
    const Point radiusPoint = toHundredths(radius, 0);
    text_ += "<circle cx=\"";
    appendHundredths(text_, centre.x);
    text_ += "\" cy=\"";
    appendHundredths(text_, centre.y);
    text_ += "\" r=\"";
    appendHundredths(text_, radiusPoint.x);
    text_ += "\" fill=\"";
    text_ += state_.fillStyle == FillStyle::Solid ? colourName(state_.fillColour) : "none";
    text_ += "\" stroke=\"" + colourName(systemColour(kButtonTextColour)) + '"';
    if (state_.lineWidth != 1) text_ += " stroke-width=\"" + std::to_string(state_.lineWidth) + '"';
    text_ += "/>\n";
}

void CompactSvgSurface::closePath()
{
    if (!pathOpen_) return;
    text_ += "\"/>\n";
    pathOpen_ = false;
}

void CompactSvgSurface::closeGroup()
{
    closePath();
    if (!groupPen_) return;
    text_ += "</g>\n";
    groupPen_.reset();
}

const std::string& CompactSvgSurface::elements()
{
    closeGroup();
    return text_;
}

}  // namespace kvelmor
