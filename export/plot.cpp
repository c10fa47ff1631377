#include "export/plot.h"

#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace kvelmor {

namespace {

// The picture is as tall as the window's client area and uses its 15 twips to a pixel, so that a
// detector height lies on the same pixel row here as on the detector line of the run's picture.
constexpr int kWidth = 520;
constexpr int kHeight = 560;
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
const QColor kArrowsColour(0x00, 0x72, 0xB2);
const QColor kArrowsFill(0xBF, 0xDC, 0xEC);  // the blue at a quarter on white
const QColor kContinuousColour(0xD5, 0x5E, 0x00);
const QColor kGrid(0xDD, 0xDD, 0xDD);
constexpr double kStepWidth = 1.25;
constexpr double kCurveWidth = 3;

struct Texts {
    QString title;
    QString heightAxis;
    QString probabilityAxis;
    QString arrows;
    QString continuous;
    QLocale locale;
};

Texts textsFor(const PlotData& data, bool czech)
{
    if (czech) {
        return {QStringLiteral("Kmitočet fotonu: %1, Detektor-Clona: %2")
                    .arg(data.frequencyCaption)
                    .arg(data.distance),
                QStringLiteral("Výška detektoru (twipy)"),
                QStringLiteral("Pravděpodobnost (čtverec délky součtu)"),
                QStringLiteral("součet 2003 šipek"),
                QStringLiteral("spojitá štěrbina"),
                QLocale(QLocale::Czech, QLocale::Czechia)};
    }
    return {QStringLiteral("Photon frequency: %1, detector to slit: %2")
                .arg(data.frequencyCaption)
                .arg(data.distance),
            QStringLiteral("Detector height (twips)"),
            QStringLiteral("Probability (squared length of the sum)"),
            QStringLiteral("sum of 2003 arrows"),
            QStringLiteral("continuous slit"),
            QLocale(QLocale::English, QLocale::UnitedStates)};
}

QFont plotFont(int pixelSize, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Tick spacing of 1, 2 or 5 times a power of ten giving about `wanted` intervals over [0, most].
double niceStep(double most, int wanted)
{
    const double raw = most / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power) return factor * power;
    }
    return 10 * power;
}

// The probability axis: from 0 to a whole number of ticks at or above the largest value.
struct ValueAxis {
    double step;
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
    const double step = niceStep(most, 5);
    return {step, step * std::ceil(most / step - 1e-9)};
}

double pixelRow(double detectorY)
{
    return detectorY / kTwipsPerPixel;
}

QString tickText(const QLocale& locale, double value, double step)
{
    if (step >= 1) return locale.toString(static_cast<qlonglong>(std::llround(value)));
    return locale.toString(value, 'g', 6);
}

// Each row owns the band of detector heights up to half-way to its neighbours; the bars' step line
// runs down each band at the row's value.
std::vector<double> bandEdges(const std::vector<double>& y)
{
    const std::size_t n = y.size();
    std::vector<double> edges(n + 1);
    if (n == 1) {
        const double half = 12.5 / kTwipsPerPixel;  // half a detector step
        edges = {y[0] - half, y[0] + half};
        return edges;
    }
    for (std::size_t i = 1; i < n; ++i) edges[i] = (y[i - 1] + y[i]) / 2;
    edges[0] = 2 * y[0] - edges[1];
    edges[n] = 2 * y[n - 1] - edges[n - 1];
    return edges;
}

void drawGrid(QPainter& p, const ValueAxis& axis)
{
    p.setPen(QPen(kGrid, 1));
    for (int h = kFirstHeight; h <= kLastHeight; h += kHeightStep) {
        p.drawLine(QPointF(kLeft, pixelRow(h)), QPointF(kRight, pixelRow(h)));
    }
    for (double v = axis.step; v < axis.end - axis.step / 2; v += axis.step) {
        p.drawLine(QPointF(axis.x(v), kTop), QPointF(axis.x(v), kBottom));
    }
}

void drawData(QPainter& p, const std::vector<PlotRow>& rows, const ValueAxis& axis)
{
    if (rows.empty()) return;
    std::vector<double> y;
    for (const PlotRow& row : rows) y.push_back(pixelRow(row.detectorY));
    const std::vector<double> edges = bandEdges(y);

    QPolygonF steps;
    QPolygonF curve;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double x = axis.x(rows[i].squaredLength);
        steps << QPointF(x, edges[i]) << QPointF(x, edges[i + 1]);
        curve << QPointF(axis.x(rows[i].continuousSquaredLength), y[i]);
    }
    QPolygonF bars = steps;
    bars.prepend(QPointF(kLeft, edges.front()));
    bars.append(QPointF(kLeft, edges.back()));

    p.save();
    p.setClipRect(QRectF(kLeft, kTop, kRight - kLeft, kBottom - kTop));
    p.setPen(Qt::NoPen);
    p.setBrush(kArrowsFill);
    p.drawPolygon(bars);
    p.setBrush(Qt::NoBrush);
    // The curve is wider and drawn first: where the two agree, it shows as an orange edge on
    // both sides of the blue step line instead of hiding it.
    p.setPen(QPen(kContinuousColour, kCurveWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(curve);
    p.setPen(QPen(kArrowsColour, kStepWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(steps);
    p.restore();
}

void drawAxes(QPainter& p, const ValueAxis& axis, const Texts& texts)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kLeft, kTop, kRight - kLeft, kBottom - kTop));

    p.setFont(plotFont(12));
    for (int h = kFirstHeight; h <= kLastHeight; h += kHeightStep) {
        const double row = pixelRow(h);
        p.drawLine(QPointF(kLeft - 5, row), QPointF(kLeft, row));
        p.drawText(QRectF(kLeft - 60, row - 8, 52, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(h));
    }
    for (int n = 0; n * axis.step <= axis.end * (1 + 1e-9); ++n) {
        const double value = n * axis.step;
        const double x = axis.x(value);
        p.drawLine(QPointF(x, kBottom), QPointF(x, kBottom + 5));
        p.drawText(QRectF(x - 45, kBottom + 7, 90, 16), Qt::AlignHCenter | Qt::AlignTop,
                   tickText(texts.locale, value, axis.step));
    }

    p.setFont(plotFont(13));
    p.drawText(QRectF(kLeft, kBottom + 30, kRight - kLeft, 20), Qt::AlignHCenter | Qt::AlignTop,
               texts.probabilityAxis);
    p.save();
    p.translate(16, (kTop + kBottom) / 2);
    p.rotate(-90);
    p.drawText(QRectF(-(kBottom - kTop) / 2, -8, kBottom - kTop, 18), Qt::AlignCenter,
               texts.heightAxis);
    p.restore();
}

void drawTitleAndLegend(QPainter& p, const Texts& texts)
{
    p.setPen(Qt::black);
    p.setFont(plotFont(15, true));
    p.drawText(QRectF(0, 10, kWidth, 22), Qt::AlignHCenter | Qt::AlignVCenter, texts.title);

    p.setFont(plotFont(12));
    const double row = 58;
    const double half = (kRight - kLeft) / 2;
    // The bars' sample: a filled box edged in the step line's blue; the curve's: a line.
    const double x1 = kLeft + 10;
    p.setPen(QPen(kArrowsColour, kStepWidth));
    p.setBrush(kArrowsFill);
    p.drawRect(QRectF(x1, row - 6, 28, 12));
    p.setBrush(Qt::NoBrush);
    const double x2 = x1 + half;
    p.setPen(QPen(kContinuousColour, kCurveWidth, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x2, row), QPointF(x2 + 28, row));
    p.setPen(Qt::black);
    p.drawText(QRectF(x1 + 36, row - 9, half - 50, 18), Qt::AlignLeft | Qt::AlignVCenter,
               texts.arrows);
    p.drawText(QRectF(x2 + 36, row - 9, half - 50, 18), Qt::AlignLeft | Qt::AlignVCenter,
               texts.continuous);
}

void paintPlot(QPainter& p, const PlotData& data, bool czech)
{
    std::vector<PlotRow> rows;
    for (const PlotRow& row : data.rows) {
        if (std::isfinite(row.detectorY) && std::isfinite(row.squaredLength) &&
            std::isfinite(row.continuousSquaredLength)) {
            rows.push_back(row);
        }
    }
    const Texts texts = textsFor(data, czech);
    const ValueAxis axis = valueAxisFor(rows);

    p.setFont(plotFont(12));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
    drawGrid(p, axis);
    drawData(p, rows, axis);
    drawAxes(p, axis, texts);
    drawTitleAndLegend(p, texts);
}

}  // namespace

QByteArray plotSvg(const PlotData& data, bool czech)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(kWidth, kHeight));
    svg.setViewBox(QRect(0, 0, kWidth, kHeight));
    svg.setTitle(textsFor(data, czech).title);
    svg.setDescription(QStringLiteral("Kvelmor"));
    {
        QPainter painter(&svg);
        paintPlot(painter, data, czech);
    }
    return bytes;
}

QImage plotImage(const PlotData& data, int scale, bool czech)
{
    QImage image(QSize(kWidth, kHeight) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        paintPlot(painter, data, czech);
    }
    return image;
}

}  // namespace kvelmor
