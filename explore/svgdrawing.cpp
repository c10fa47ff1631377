#include "explore/svgdrawing.h"

#include <cstdio>

#include "worksheet/svgtext.h"

namespace kvelmor {

namespace {

using Primitive = RecordingSurface::Primitive;

double pixels(float value, ScaleUnit unit)
{
    return unit == ScaleUnit::Twips ? double(value) / 15 : double(value);
}

std::string point(double x, double y)
{
    return svgNumber(x) + ',' + svgNumber(y);
}

bool continues(const Primitive& line, const Primitive& next)
{
    return next.kind == RecordingSurface::Kind::Line && next.colour == line.colour &&
           next.lineWidth == line.lineWidth && next.unit == line.unit && next.x1 == line.x2 &&
           next.y1 == line.y2;
}

std::string stroke(const Primitive& p)
{
    return " stroke=\"" + svgColour(p.colour) + "\" stroke-width=\"" + std::to_string(p.lineWidth) +
           '"';
}

}  // namespace

std::string svgColour(std::optional<Colour> colour)
{
    Colour c = colour.value_or(rgb(0, 0, 0));
    if (isSystemColour(c)) c = c == systemColour(kTitleBarTextColour) ? rgb(255, 255, 255) : 0;
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return text;
}

std::string svgElements(const RecordingSurface& drawing)
{
    const std::vector<Primitive>& all = drawing.primitives();
    std::string svg;
    for (std::size_t i = 0; i < all.size();) {
        const Primitive& p = all[i];
        if (p.kind == RecordingSurface::Kind::Circle) {
            const bool filled = p.fillStyle == FillStyle::Solid;
            svg += "<circle cx=\"" + svgNumber(pixels(p.x1, p.unit)) + "\" cy=\"" +
                   svgNumber(pixels(p.y1, p.unit)) + "\" r=\"" + svgNumber(pixels(p.x2, p.unit)) +
                   "\" fill=\"" + (filled ? svgColour(p.fillColour) : std::string("none")) + '"' +
                   stroke(p) + "/>\n";
            ++i;
            continue;
        }
        std::string points = point(pixels(p.x1, p.unit), pixels(p.y1, p.unit)) + ' ' +
                             point(pixels(p.x2, p.unit), pixels(p.y2, p.unit));
        std::size_t next = i + 1;
        for (; next < all.size() && continues(all[next - 1], all[next]); ++next) {
            points += ' ' + point(pixels(all[next].x2, p.unit), pixels(all[next].y2, p.unit));
        }
        svg += "<polyline points=\"" + points + "\" fill=\"none\"" + stroke(p) +
               " stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
        i = next;
    }
    return svg;
}

}  // namespace kvelmor
