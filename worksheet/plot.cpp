#include "worksheet/plot.h"

#include <algorithm>
#include <cmath>

#include "worksheet/svgtext.h"

namespace kvelmor {

namespace {

constexpr double kTwipsPerPixel = 15;

// The frame around the data, in pixels.
constexpr double kLeft = 80;
constexpr double kRight = 475;  // room for the last tick's number
constexpr double kTop = 90;
constexpr double kBottom = 476;

// The detector line's ticks: every chain step of a run.
constexpr int kFirstHeight = 1500;
constexpr int kLastHeight = 7000;
constexpr int kHeightStep = 500;

// Okabe-Ito blue and vermillion: told apart with every common colour-vision deficiency, and also
// drawn differently (a step line over filled bars against a smooth curve).
constexpr const char* kArrowsColour = "#0072b2";
constexpr const char* kArrowsFill = "#bfdcec";  // the blue at a quarter on white
constexpr const char* kContinuousColour = "#d55e00";
constexpr const char* kGridColour = "#dddddd";
constexpr const char* kStepWidth = "1.25";
constexpr const char* kCurveWidth = "3";

// Text is set in Arial (Liberation Sans where Arial is missing, with the same measures). Its
// baseline lies 0.905 of the font size below the top of a line of text, and 0.3465 below the
// middle (half of ascent 0.905 less descent 0.212).
double baselineBelowTop(double top, double size)
{
    return top + 0.905 * size;
}

double baselineThroughMiddle(double middle, double size)
{
    return middle + 0.3465 * size;
}

double pixelRow(double detectorY)
{
    return detectorY / kTwipsPerPixel;
}

// A tick spacing of 1, 2 or 5 times a power of ten giving about `wanted` intervals over
// [0, most], and how many decimals its numbers need. Powers of ten are made by multiplying and
// dividing by ten, not by a library's pow and log10, so that the spacing has the same bits
// everywhere.
struct TickStep {
    double size;
    int decimals;
};

TickStep niceStep(double most, int wanted)
{
    const double raw = most / wanted;
    double power = 1;
    int decimals = 0;
    while (power > raw) {
        power /= 10;
        ++decimals;
    }
    while (power * 10 <= raw) power *= 10;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power) return {factor * power, decimals};
    }
    return {10 * power, std::max(decimals - 1, 0)};
}

// The probability axis: from 0 to a whole number of ticks at or above the largest value.
struct ValueAxis {
    TickStep step;
    double end;

    double x(double value) const { return kLeft + value / end * (kRight - kLeft); }
};

ValueAxis valueAxisFor(const std::vector<PlotRow>& rows)
{
    double most = 0;
    for (const PlotRow& row : rows) {
        most = std::max({most, row.squaredLength, row.continuousSquaredLength});
    }
    if (!(most > 0)) most = 1;
    const TickStep step = niceStep(most, 5);
    return {step, step.size * std::ceil(most / step.size - 1e-9)};
}

// A tick's number as the language writes it: rounded to the step's decimals, without trailing
// zeros, thousands grouped.
std::string tickText(double value, int decimals, const PlotTexts& texts)
{
    return groupedNumber(value, decimals, texts.thousandsSeparator, texts.decimalSeparator);
}

// Each row owns the band of detector heights up to half-way to its neighbours; the bars' step line
// runs down each band at the row's value.
std::vector<double> bandEdges(const std::vector<double>& y)
{
    const std::size_t n = y.size();
    if (n == 1) {
        const double half = 12.5 / kTwipsPerPixel;  // half a detector step
        return {y[0] - half, y[0] + half};
    }
    std::vector<double> edges(n + 1);
    for (std::size_t i = 1; i < n; ++i) edges[i] = (y[i - 1] + y[i]) / 2;
    edges[0] = 2 * y[0] - edges[1];
    edges[n] = 2 * y[n - 1] - edges[n - 1];
    return edges;
}

// The document, element by element.
class SvgDocument {
public:
    std::string text;

    void line(double x1, double y1, double x2, double y2, const std::string& style = {})
    {
        text += "<line x1=\"" + svgNumber(x1) + "\" y1=\"" + svgNumber(y1) + "\" x2=\"" +
                svgNumber(x2) + "\" y2=\"" + svgNumber(y2) + '"' + style + "/>\n";
    }

    void rect(double x, double y, double width, double height, const std::string& style)
    {
        text += "<rect x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\" width=\"" +
                svgNumber(width) + "\" height=\"" + svgNumber(height) + '"' + style + "/>\n";
    }

    // A polyline or polygon through `points` (x, y, x, y, ...), each point kept inside the frame.
    void shape(const char* element, const std::vector<double>& points, const std::string& style)
    {
        text += std::string("<") + element + " points=\"";
        for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
            if (i > 0) text += ' ';
            text += svgNumber(std::clamp(points[i], kLeft, kRight)) + ',' +
                    svgNumber(std::clamp(points[i + 1], kTop, kBottom));
        }
        text += '"' + style + "/>\n";
    }

    // Text with its anchor ("start", "middle", "end") at (x, baseline).
    void words(double x, double baseline, const char* anchor, const std::string& words,
               const std::string& style = {})
    {
        text += "<text x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(baseline) +
                "\" text-anchor=\"" + anchor + '"' + style + '>' + xmlEscaped(words) + "</text>\n";
    }
};

std::string stroke(const char* colour, const char* width)
{
    return std::string(" stroke=\"") + colour + "\" stroke-width=\"" + width + '"';
}

void drawGrid(SvgDocument& svg, const ValueAxis& axis)
{
    svg.text += "<g" + stroke(kGridColour, "1") + ">\n";
    for (int h = kFirstHeight; h <= kLastHeight; h += kHeightStep) {
        svg.line(kLeft, pixelRow(h), kRight, pixelRow(h));
    }
    for (double v = axis.step.size; v < axis.end - axis.step.size / 2; v += axis.step.size) {
        svg.line(axis.x(v), kTop, axis.x(v), kBottom);
    }
    svg.text += "</g>\n";
}

// The bars as one filled shape, the continuous slit's curve, and the bars' step line. The curve
// is wider and drawn first: where the two agree, it shows as an orange edge on both sides of the
// blue step line instead of hiding it.
void drawData(SvgDocument& svg, const std::vector<PlotRow>& rows, const ValueAxis& axis)
{
    if (rows.empty()) return;
    std::vector<double> y;
    for (const PlotRow& row : rows) y.push_back(pixelRow(row.detectorY));
    const std::vector<double> edges = bandEdges(y);

    std::vector<double> steps;
    std::vector<double> curve;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double x = axis.x(rows[i].squaredLength);
        steps.insert(steps.end(), {x, edges[i], x, edges[i + 1]});
        curve.insert(curve.end(), {axis.x(rows[i].continuousSquaredLength), y[i]});
    }
    std::vector<double> bars{kLeft, edges.front()};
    bars.insert(bars.end(), steps.begin(), steps.end());
    bars.insert(bars.end(), {kLeft, edges.back()});

    svg.shape("polygon", bars, std::string(" fill=\"") + kArrowsFill + "\" stroke=\"none\"");
    svg.shape("polyline", curve,
              " fill=\"none\"" + stroke(kContinuousColour, kCurveWidth) +
                  " stroke-linecap=\"round\" stroke-linejoin=\"round\"");
    svg.shape("polyline", steps,
              " fill=\"none\"" + stroke(kArrowsColour, kStepWidth) +
                  " stroke-linecap=\"butt\" stroke-linejoin=\"miter\"");
}

void drawAxes(SvgDocument& svg, const ValueAxis& axis, const PlotTexts& texts)
{
    svg.rect(kLeft, kTop, kRight - kLeft, kBottom - kTop,
             " fill=\"none\"" + stroke("#000000", "1"));

    svg.text += "<g" + stroke("#000000", "1") + ">\n";
    for (int h = kFirstHeight; h <= kLastHeight; h += kHeightStep) {
        svg.line(kLeft - 5, pixelRow(h), kLeft, pixelRow(h));
    }
    int ticks = 0;
    while (ticks * axis.step.size <= axis.end * (1 + 1e-9)) ++ticks;
    for (int n = 0; n < ticks; ++n) {
        const double x = axis.x(n * axis.step.size);
        svg.line(x, kBottom, x, kBottom + 5);
    }
    svg.text += "</g>\n";

    svg.text += "<g font-size=\"12\">\n";
    for (int h = kFirstHeight; h <= kLastHeight; h += kHeightStep) {
        svg.words(kLeft - 8, baselineThroughMiddle(pixelRow(h), 12), "end", std::to_string(h));
    }
    for (int n = 0; n < ticks; ++n) {
        const double value = n * axis.step.size;
        svg.words(axis.x(value), baselineBelowTop(kBottom + 7, 12), "middle",
                  tickText(value, axis.step.decimals, texts));
    }
    svg.text += "</g>\n";

    svg.words((kLeft + kRight) / 2, baselineBelowTop(kBottom + 30, 13), "middle",
              texts.probabilityAxis, " font-size=\"13\"");
    // The height axis's title reads upwards along the axis, centred on it.
    svg.words(0, baselineThroughMiddle(1, 13), "middle", texts.heightAxis,
              " font-size=\"13\" transform=\"translate(16," + svgNumber((kTop + kBottom) / 2) +
                  ") rotate(-90)\"");
}

// The title, and a legend row above the frame: each series' sample drawn as the series is, then
// its name.
void drawTitleAndLegend(SvgDocument& svg, const PlotTexts& texts)
{
    svg.words(kPlotWidth / 2.0, baselineThroughMiddle(21, 15), "middle", texts.title,
              " font-size=\"15\" font-weight=\"bold\"");

    const double row = 58;
    const double half = (kRight - kLeft) / 2;
    const double bars = kLeft + 10;
    const double curve = bars + half;
    svg.rect(bars, row - 6, 28, 12,
             std::string(" fill=\"") + kArrowsFill + '"' + stroke(kArrowsColour, kStepWidth));
    svg.line(curve, row, curve + 28, row,
             stroke(kContinuousColour, kCurveWidth) + " stroke-linecap=\"round\"");
    svg.words(bars + 36, baselineThroughMiddle(row, 12), "start", texts.arrows,
              " font-size=\"12\"");
    svg.words(curve + 36, baselineThroughMiddle(row, 12), "start", texts.continuous,
              " font-size=\"12\"");
}

}  // namespace

std::string plotSvg(const std::vector<PlotRow>& rows, const PlotTexts& texts)
{
    std::vector<PlotRow> drawable;
    for (const PlotRow& row : rows) {
        if (std::isfinite(row.detectorY) && std::isfinite(row.squaredLength) &&
            std::isfinite(row.continuousSquaredLength)) {
            drawable.push_back(row);
        }
    }
    const ValueAxis axis = valueAxisFor(drawable);
    const std::string width = std::to_string(kPlotWidth);
    const std::string height = std::to_string(kPlotHeight);

    SvgDocument svg;
    svg.text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\" "
        "width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    svg.text += "<title>" + xmlEscaped(texts.title) + "</title>\n<desc>Kvelmor</desc>\n";
    svg.rect(0, 0, kPlotWidth, kPlotHeight, " fill=\"#ffffff\" stroke=\"none\"");
    drawGrid(svg, axis);
    drawData(svg, drawable, axis);
    svg.text += "<g font-family=\"Arial\" fill=\"#000000\" stroke=\"none\">\n";
    drawAxes(svg, axis, texts);
    drawTitleAndLegend(svg, texts);
    svg.text += "</g>\n</svg>\n";
    return svg.text;
}

}  // namespace kvelmor
