// The worksheet plot: its lines are the rows' values through one mapping per axis, the detector
// height runs down as in the window, the texts follow the language, and the bytes do not change.
#include <QBuffer>
#include <QXmlStreamReader>
#include <QtTest>
#include <cmath>

#include "export/plot.h"

using namespace kvelmor;

namespace {

// A run's 221 detector heights with values that are easy to tell apart: the bars between 200 and
// 1800, the continuous curve always to their right, between 2200 and 2800.
PlotData sampleData()
{
    PlotData data{{}, QStringLiteral("střední"), 350};
    for (int n = 0; n < 221; ++n) {
        const double j = 500 + 25 * n;
        data.rows.push_back(
            {7500 - j, 1000 + 800 * std::sin(n / 20.0), 2500 + 300 * std::cos(n / 15.0)});
    }
    return data;
}

struct Polyline {
    QString stroke;
    QList<QPointF> points;
};

struct SvgContents {
    QList<Polyline> polylines;
    QStringList texts;
    QString title;
    QRectF frame;  // the one unfilled rectangle: the frame around the data
};

// The polylines with the stroke colour of their group, the texts, the title and the frame; every
// group that holds a polyline must draw untransformed, or the points would not be pixels.
SvgContents readSvg(const QByteArray& svg)
{
    SvgContents contents;
    QXmlStreamReader xml(svg);
    QList<QXmlStreamAttributes> groups;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) groups.removeLast();
        if (!xml.isStartElement()) continue;
        const auto name = xml.name();
        if (name == QLatin1String("g")) {
            groups.append(xml.attributes());
        } else if (name == QLatin1String("polyline")) {
            const QXmlStreamAttributes& group = groups.last();
            if (group.value("transform") != QLatin1String("matrix(1,0,0,1,0,0)")) {
                qWarning("polyline in a transformed group");
                return {};
            }
            Polyline line{group.value("stroke").toString(), {}};
            const QStringList pairs = xml.attributes().value("points").toString().split(
                QLatin1Char(' '), Qt::SkipEmptyParts);
            for (const QString& pair : pairs) {
                const QStringList xy = pair.split(QLatin1Char(','));
                line.points.append({xy[0].toDouble(), xy[1].toDouble()});
            }
            contents.polylines.append(line);
        } else if (name == QLatin1String("text")) {
            contents.texts.append(xml.readElementText().trimmed());
        } else if (name == QLatin1String("title")) {
            contents.title = xml.readElementText();
        } else if (name == QLatin1String("rect") &&
                   groups.last().value("fill") == QLatin1String("none")) {
            const QXmlStreamAttributes a = xml.attributes();
            contents.frame = QRectF(a.value("x").toDouble(), a.value("y").toDouble(),
                                    a.value("width").toDouble(), a.value("height").toDouble());
        }
    }
    if (xml.hasError()) qWarning("SVG: %s", qPrintable(xml.errorString()));
    return contents;
}

// The long polyline drawn in `stroke` (the legend's short sample line has two points).
QList<QPointF> dataLine(const SvgContents& svg, const char* stroke)
{
    for (const Polyline& line : svg.polylines) {
        if (line.stroke == QLatin1String(stroke) && line.points.size() > 10) return line.points;
    }
    return {};
}

// value -> pixel on one axis, from two points of the plot.
struct Mapping {
    double offset;
    double slope;
    double operator()(double value) const { return offset + slope * value; }
};

Mapping through(double v1, double p1, double v2, double p2)
{
    const double slope = (p2 - p1) / (v2 - v1);
    return {p1 - slope * v1, slope};
}

const char* const kBlue = "#0072b2";
const char* const kOrange = "#d55e00";

bool near(QRgb pixel, QRgb expected, int tolerance)
{
    return std::abs(qRed(pixel) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(expected)) <= tolerance;
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

class TestPlot : public QObject {
    Q_OBJECT

private slots:
    void linesAreTheRowsThroughTheAxes();
    void detectorHeightRunsDownAsInTheWindow();
    void probabilityAxisCoversTheData();
    void pictureShowsTheRowsAtTheirHeights();
    void textsFollowTheLanguage();
    void sameDataGiveTheSameBytes();
    void emptyAndBrokenRowsStillGiveAPlot();
};

// Every corner of the step line and every point of the curve is a row's value and height through
// one and the same pair of axis mappings.
void TestPlot::linesAreTheRowsThroughTheAxes()
{
    const PlotData data = sampleData();
    const SvgContents svg = readSvg(plotSvg(data, true));
    const QList<QPointF> steps = dataLine(svg, kBlue);
    const QList<QPointF> curve = dataLine(svg, kOrange);
    QCOMPARE(steps.size(), 2 * 221);
    QCOMPARE(curve.size(), 221);

    const PlotRow& first = data.rows.front();
    const PlotRow& last = data.rows.back();
    const Mapping y = through(first.detectorY, curve.front().y(), last.detectorY, curve.back().y());
    const Mapping x = through(first.continuousSquaredLength, curve.front().x(),
                              last.continuousSquaredLength, curve.back().x());
    for (int n = 0; n < 221; ++n) {
        const PlotRow& row = data.rows[n];
        const QString where = QStringLiteral("row %1").arg(n);
        // SVG numbers carry six digits: a thousandth of a pixel here.
        QVERIFY2(std::abs(curve[n].x() - x(row.continuousSquaredLength)) < 0.01, qPrintable(where));
        QVERIFY2(std::abs(curve[n].y() - y(row.detectorY)) < 0.01, qPrintable(where));
        // The bar of a row: a vertical piece at its value, centred on its height.
        QVERIFY2(std::abs(steps[2 * n].x() - x(row.squaredLength)) < 0.01, qPrintable(where));
        QVERIFY2(std::abs(steps[2 * n + 1].x() - x(row.squaredLength)) < 0.01, qPrintable(where));
        QVERIFY2(std::abs((steps[2 * n].y() + steps[2 * n + 1].y()) / 2 - y(row.detectorY)) < 0.01,
                 qPrintable(where));
        // Neighbouring bars meet: no gap and no overlap between the bands of two steps.
        if (n > 0)
            QVERIFY2(std::abs(steps[2 * n].y() - steps[2 * n - 1].y()) < 0.01, qPrintable(where));
    }
    // The bars stand on the probability axis: value 0 is the frame's left edge.
    QVERIFY(!svg.frame.isEmpty());
    QVERIFY(std::abs(x(0) - svg.frame.left()) < 0.01);
}

// 1500 twips at the top, 7000 at the bottom, at the window's 15 twips to a pixel: a detector
// height lies on the same pixel row as in the run's picture, whatever the values.
void TestPlot::detectorHeightRunsDownAsInTheWindow()
{
    PlotData data = sampleData();
    for (PlotRow& row : data.rows) row.squaredLength *= 7;  // other values, same heights
    const SvgContents svg = readSvg(plotSvg(data, false));
    const QList<QPointF> curve = dataLine(svg, kOrange);
    QCOMPARE(curve.size(), 221);
    for (int n = 0; n < 221; ++n) {
        QVERIFY2(std::abs(curve[n].y() - data.rows[n].detectorY / 15) < 0.01,
                 qPrintable(QString::number(n)));
    }
    QVERIFY(curve.front().y() > curve.back().y());  // the first row (7000) lies lowest
    QVERIFY(svg.frame.top() <= 1500.0 / 15 && svg.frame.bottom() >= 7000.0 / 15);
    QCOMPARE(plotImage(data, 1, false).height(), 560);  // as tall as the window's picture
}

// The ticks of the probability axis run evenly from 0 to at least the largest value, and both lines
// lie inside the frame.
void TestPlot::probabilityAxisCoversTheData()
{
    for (double factor : {1.0, 0.001, 400.0}) {
        PlotData data = sampleData();
        for (PlotRow& row : data.rows) {
            row.squaredLength *= factor;
            row.continuousSquaredLength *= factor;
        }
        const SvgContents svg = readSvg(plotSvg(data, false));
        // The height axis writes 1500, 2000, ..., 7000 plainly; the probability axis writes its
        // numbers in English notation, with a comma from 1,000 on.
        QStringList heights;
        for (int h = 1500; h <= 7000; h += 500) heights.append(QString::number(h));
        QList<double> ticks;
        for (const QString& text : svg.texts) {
            bool isNumber = false;
            const double value = QString(text).remove(QLatin1Char(',')).toDouble(&isNumber);
            if (isNumber && !heights.contains(text)) ticks.append(value);
        }
        QVERIFY2(ticks.size() >= 3 && ticks.size() <= 9, qPrintable(svg.texts.join(u'|')));
        QCOMPARE(ticks.front(), 0.0);
        const double step = ticks[1] - ticks[0];
        for (int n = 1; n < ticks.size(); ++n) {
            QVERIFY(std::abs(ticks[n] - ticks[n - 1] - step) <= 1e-9 * step);
        }
        QVERIFY2(ticks.back() >= 2800 * factor, qPrintable(QString::number(ticks.back())));
        QVERIFY2(ticks.back() < 2800 * factor + 2 * step,
                 qPrintable(QString::number(ticks.back())));
        for (const char* stroke : {kBlue, kOrange}) {
            for (const QPointF& p : dataLine(svg, stroke)) {
                QVERIFY(svg.frame.adjusted(-0.01, -0.01, 0.01, 0.01).contains(p));
            }
        }
    }
}

// The picture at scale 2: at each row's height, the bar's light fill between the axis and the
// value, the blue step line at the value, the orange curve at the continuous value, white beyond.
void TestPlot::pictureShowsTheRowsAtTheirHeights()
{
    const PlotData data = sampleData();
    const SvgContents svg = readSvg(plotSvg(data, true));
    const QList<QPointF> curve = dataLine(svg, kOrange);
    QCOMPARE(curve.size(), 221);
    const Mapping x = through(data.rows[0].continuousSquaredLength, curve[0].x(),
                              data.rows[100].continuousSquaredLength, curve[100].x());
    const int scale = 2;
    const QImage image = plotImage(data, scale, true);
    QCOMPARE(image.size(), QSize(520, 560) * scale);
    auto pixel = [&](double px, double py) {
        return image.pixel(int(std::floor(px * scale)), int(std::floor(py * scale)));
    };
    for (int n = 0; n < 221; n += 11) {
        const PlotRow& row = data.rows[n];
        const double y = row.detectorY / 15;
        const QString where = QStringLiteral("row %1").arg(n);
        QVERIFY2(near(pixel((x(0) + x(row.squaredLength)) / 2, y), qRgb(0xBF, 0xDC, 0xEC), 8),
                 qPrintable(where));
        QVERIFY2(near(pixel(x(row.squaredLength), y), qRgb(0x00, 0x72, 0xB2), 40),
                 qPrintable(where));
        QVERIFY2(near(pixel(x(row.continuousSquaredLength), y), qRgb(0xD5, 0x5E, 0x00), 40),
                 qPrintable(where));
        QVERIFY2(near(pixel(x(3100), y + 0.3), qRgb(0xFF, 0xFF, 0xFF), 40), qPrintable(where));
    }
}

void TestPlot::textsFollowTheLanguage()
{
    const PlotData data = sampleData();
    const SvgContents czech = readSvg(plotSvg(data, true));
    const SvgContents english = readSvg(plotSvg(data, false));

    QCOMPARE(czech.title, QStringLiteral("Kmitočet fotonu: střední, Detektor-Clona: 350"));
    QVERIFY(czech.texts.contains(czech.title));
    QVERIFY(czech.texts.contains(QStringLiteral("Výška detektoru (twipy)")));
    QVERIFY(czech.texts.contains(QStringLiteral("Pravděpodobnost (čtverec délky součtu)")));
    QVERIFY(czech.texts.contains(QStringLiteral("součet 2003 šipek")));
    QVERIFY(czech.texts.contains(QStringLiteral("spojitá štěrbina")));
    QVERIFY(czech.texts.contains(QStringLiteral("2\u00A0000")));  // Czech thousands: a space

    QCOMPARE(english.title, QStringLiteral("Photon frequency: střední, detector to slit: 350"));
    QVERIFY(english.texts.contains(english.title));
    QVERIFY(english.texts.contains(QStringLiteral("Detector height (twips)")));
    QVERIFY(english.texts.contains(QStringLiteral("Probability (squared length of the sum)")));
    QVERIFY(english.texts.contains(QStringLiteral("sum of 2003 arrows")));
    QVERIFY(english.texts.contains(QStringLiteral("continuous slit")));
    QVERIFY(english.texts.contains(QStringLiteral("2,000")));
    for (const QString& text : english.texts)
        QVERIFY2(!text.contains(u"vzdálenost"), qPrintable(text));

    // The language changes the words, not the drawing.
    QCOMPARE(dataLine(czech, kBlue), dataLine(english, kBlue));
    QCOMPARE(dataLine(czech, kOrange), dataLine(english, kOrange));
    QVERIFY(plotImage(data, 1, true) != plotImage(data, 1, false));
}

void TestPlot::sameDataGiveTheSameBytes()
{
    const PlotData data = sampleData();
    for (bool czech : {true, false}) {
        const QByteArray svg = plotSvg(data, czech);
        QCOMPARE(plotSvg(data, czech), svg);
        for (int scale : {1, 2, 4}) {
            const QImage image = plotImage(data, scale, czech);
            QCOMPARE(image.size(), QSize(520, 560) * scale);
            QCOMPARE(png(plotImage(data, scale, czech)), png(image));
        }
    }
    // ... and other data other bytes: the output is not one fixed document.
    PlotData other = sampleData();
    other.rows[110].squaredLength += 500;
    QVERIFY(plotSvg(other, true) != plotSvg(data, true));
    QVERIFY(plotImage(other, 1, true) != plotImage(data, 1, true));
}

// No rows, or rows with values that are not numbers, still give a well-formed document: the axes,
// and the lines of the rows that can be drawn.
void TestPlot::emptyAndBrokenRowsStillGiveAPlot()
{
    PlotData empty = sampleData();
    empty.rows.clear();
    const QByteArray svg = plotSvg(empty, true);
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(readSvg(svg).texts.contains(QStringLiteral("Výška detektoru (twipy)")));
    QCOMPARE(plotImage(empty, 1, true).size(), QSize(520, 560));

    PlotData broken = sampleData();
    broken.rows[7].squaredLength = std::nan("");
    broken.rows[9].continuousSquaredLength = INFINITY;
    const SvgContents contents = readSvg(plotSvg(broken, false));
    QCOMPARE(dataLine(contents, kOrange).size(), 219);
    for (const QPointF& p : dataLine(contents, kBlue)) QVERIFY(std::isfinite(p.x()));
}

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
