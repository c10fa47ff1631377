// The worksheet plot: its lines are the rows' values through one mapping per axis, the detector
// height runs down as in the window, each legend sample looks like the series it names, the step
// line lies over the curve, the texts follow the language, and the bytes do not change.
#include <QBuffer>
#include <QXmlStreamReader>
#include <QtTest>
#include <cmath>

#include "export/plotimage.h"
#include "worksheet/plot.h"

using namespace kvelmor;

namespace {

// A run's 221 detector heights with values that are easy to tell apart: the bars between 200 and
// 1800, the continuous curve always to their right, between 2200 and 2800.
std::vector<PlotRow> sampleRows()
{
    std::vector<PlotRow> rows;
    for (int n = 0; n < 221; ++n) {
        const double j = 500 + 25 * n;
        rows.push_back(
            {7500 - j, 1000 + 800 * std::sin(n / 20.0), 2500 + 300 * std::cos(n / 15.0)});
    }
    return rows;
}

PlotTexts texts(bool czech)
{
    return plotTexts(czech ? Language::Czech : Language::English, "střední", 350);
}

// An element of the document with the style it inherits from its groups.
struct Shape {
    QString element;  // "polyline", "polygon", "rect", "line"
    QString stroke;
    QString fill;
    QList<QPointF> points;  // a polyline's or polygon's points; a line's two ends
    QRectF rect;            // a rect's, or the box around the points
};

struct Text {
    QString words;
    QPointF at;  // x and baseline
};

struct SvgContents {
    QList<Shape> shapes;
    QList<Text> texts;
    QString title;
    bool wellFormed = false;

    QStringList words() const
    {
        QStringList all;
        for (const Text& t : texts) all << t.words;
        return all;
    }
};

QRectF boxAround(const QList<QPointF>& points)
{
    QRectF box;
    for (const QPointF& p : points) box |= QRectF(p, QSizeF(1e-9, 1e-9));
    return box;
}

// Reads the document as any SVG reader would: presentation attributes are inherited from the
// enclosing groups; a group that moves or turns what it holds is allowed around text only, so
// that the points of every shape are pixels of the plot.
SvgContents readSvg(const std::string& svg)
{
    SvgContents contents;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    QList<QXmlStreamAttributes> open;
    auto style = [&](const char* name) {
        for (qsizetype i = open.size() - 1; i >= 0; --i) {
            if (open[i].hasAttribute(QLatin1String(name))) return open[i].value(name).toString();
        }
        return QString();
    };
    auto number = [&](const char* name) { return open.last().value(name).toDouble(); };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) open.removeLast();
        if (!xml.isStartElement()) continue;
        open.append(xml.attributes());
        const QString name = xml.name().toString();
        if (name != "text" && open.last().hasAttribute("transform")) {
            qWarning("a transformed <%s>", qPrintable(name));
            return {};
        }
        Shape shape{name, style("stroke"), style("fill"), {}, {}};
        if (name == "polyline" || name == "polygon") {
            const QStringList pairs =
                open.last().value("points").toString().split(' ', Qt::SkipEmptyParts);
            for (const QString& pair : pairs) {
                const QStringList xy = pair.split(',');
                shape.points.append({xy.value(0).toDouble(), xy.value(1).toDouble()});
            }
            shape.rect = boxAround(shape.points);
            contents.shapes.append(shape);
        } else if (name == "line") {
            shape.points = {{number("x1"), number("y1")}, {number("x2"), number("y2")}};
            shape.rect = boxAround(shape.points);
            contents.shapes.append(shape);
        } else if (name == "rect") {
            shape.rect = QRectF(number("x"), number("y"), number("width"), number("height"));
            contents.shapes.append(shape);
        } else if (name == "text") {
            const QPointF at(number("x"), number("y"));
            contents.texts.append({xml.readElementText(), at});
            open.removeLast();  // readElementText consumed the end element
        } else if (name == "title") {
            contents.title = xml.readElementText();
            open.removeLast();
        }
    }
    contents.wellFormed = !xml.hasError();
    if (xml.hasError()) qWarning("SVG: %s", qPrintable(xml.errorString()));
    return contents;
}

const char* const kBlue = "#0072b2";
const char* const kOrange = "#d55e00";

// The data lines: the bars' step line has two points a row, the curve one.
QList<QPointF> stepLine(const SvgContents& svg, int rows = 221)
{
    for (const Shape& s : svg.shapes) {
        if (s.element == "polyline" && s.points.size() == 2 * rows) return s.points;
    }
    return {};
}

QList<QPointF> curve(const SvgContents& svg, int rows = 221)
{
    for (const Shape& s : svg.shapes) {
        if (s.element == "polyline" && s.points.size() == rows) return s.points;
    }
    return {};
}

const Shape* shapeWithPoints(const SvgContents& svg, qsizetype count, const char* element)
{
    for (const Shape& s : svg.shapes) {
        if (s.element == element && s.points.size() == count) return &s;
    }
    return nullptr;
}

// The frame around the data: the rectangle with a stroke and no fill.
QRectF frame(const SvgContents& svg)
{
    for (const Shape& s : svg.shapes) {
        if (s.element == "rect" && s.fill == "none" && !s.stroke.isEmpty()) return s.rect;
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
    void legendSamplesLookLikeTheirSeries();
    void stepLineIsDrawnOverTheCurve();
    void textsFollowTheLanguage();
    void sameDataGiveTheSameBytes();
    void emptyAndBrokenRowsStillGiveAPlot();
};

// Every corner of the step line and every point of the curve is a row's value and height through
// one and the same pair of axis mappings.
void TestPlot::linesAreTheRowsThroughTheAxes()
{
    const std::vector<PlotRow> rows = sampleRows();
    const SvgContents svg = readSvg(plotSvg(rows, texts(true)));
    const QList<QPointF> steps = stepLine(svg);
    const QList<QPointF> line = curve(svg);
    QCOMPARE(steps.size(), 2 * 221);
    QCOMPARE(line.size(), 221);

    const Mapping y =
        through(rows.front().detectorY, line.front().y(), rows.back().detectorY, line.back().y());
    const Mapping x = through(rows.front().continuousSquaredLength, line.front().x(),
                              rows.back().continuousSquaredLength, line.back().x());
    for (int n = 0; n < 221; ++n) {
        const PlotRow& row = rows[n];
        const QString where = QStringLiteral("row %1").arg(n);
        // Coordinates are written to a thousandth of a pixel.
        QVERIFY2(std::abs(line[n].x() - x(row.continuousSquaredLength)) < 0.01, qPrintable(where));
        QVERIFY2(std::abs(line[n].y() - y(row.detectorY)) < 0.01, qPrintable(where));
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
    QVERIFY(!frame(svg).isEmpty());
    QVERIFY(std::abs(x(0) - frame(svg).left()) < 0.01);
}

// 1500 twips at the top, 7000 at the bottom, at the window's 15 twips to a pixel: a detector
// height lies on the same pixel row as in the run's picture, whatever the values.
void TestPlot::detectorHeightRunsDownAsInTheWindow()
{
    std::vector<PlotRow> rows = sampleRows();
    for (PlotRow& row : rows) row.squaredLength *= 7;  // other values, same heights
    const std::string svg = plotSvg(rows, texts(false));
    const QList<QPointF> line = curve(readSvg(svg));
    QCOMPARE(line.size(), 221);
    for (int n = 0; n < 221; ++n) {
        QVERIFY2(std::abs(line[n].y() - rows[n].detectorY / 15) < 0.01,
                 qPrintable(QString::number(n)));
    }
    QVERIFY(line.front().y() > line.back().y());  // the first row (7000) lies lowest
    const QRectF box = frame(readSvg(svg));
    QVERIFY(box.top() <= 1500.0 / 15 && box.bottom() >= 7000.0 / 15);
    QCOMPARE(plotImage(svg, 1).height(), 560);  // as tall as the window's picture
}

// The ticks of the probability axis run evenly from 0 to at least the largest value, and both lines
// lie inside the frame.
void TestPlot::probabilityAxisCoversTheData()
{
    for (double factor : {1.0, 0.001, 400.0}) {
        std::vector<PlotRow> rows = sampleRows();
        for (PlotRow& row : rows) {
            row.squaredLength *= factor;
            row.continuousSquaredLength *= factor;
        }
        const SvgContents svg = readSvg(plotSvg(rows, texts(false)));
        // The height axis writes 1500, 2000, ..., 7000 plainly; the probability axis writes its
        // numbers in English notation, with a comma from 1,000 on.
        QStringList heights;
        for (int h = 1500; h <= 7000; h += 500) heights.append(QString::number(h));
        QList<double> ticks;
        for (const QString& text : svg.words()) {
            bool isNumber = false;
            const double value = QString(text).remove(QLatin1Char(',')).toDouble(&isNumber);
            if (isNumber && !heights.contains(text)) ticks.append(value);
        }
        QVERIFY2(ticks.size() >= 3 && ticks.size() <= 9, qPrintable(svg.words().join(u'|')));
        QCOMPARE(ticks.front(), 0.0);
        const double step = ticks[1] - ticks[0];
        for (int n = 1; n < ticks.size(); ++n) {
            QVERIFY(std::abs(ticks[n] - ticks[n - 1] - step) <= 1e-9 * step);
        }
        QVERIFY2(ticks.back() >= 2800 * factor, qPrintable(QString::number(ticks.back())));
        QVERIFY2(ticks.back() < 2800 * factor + 2 * step,
                 qPrintable(QString::number(ticks.back())));
        const QRectF inside = frame(svg).adjusted(-0.01, -0.01, 0.01, 0.01);
        for (const QList<QPointF>& line : {stepLine(svg), curve(svg)}) {
            QVERIFY(!line.isEmpty());
            for (const QPointF& p : line) QVERIFY(inside.contains(p));
        }
    }
}

// The picture at scale 2: at each row's height, the bar's light fill between the axis and the
// value, the blue step line at the value, the orange curve at the continuous value, white beyond.
void TestPlot::pictureShowsTheRowsAtTheirHeights()
{
    const std::vector<PlotRow> rows = sampleRows();
    const std::string svg = plotSvg(rows, texts(true));
    const QList<QPointF> line = curve(readSvg(svg));
    QCOMPARE(line.size(), 221);
    const Mapping x = through(rows[0].continuousSquaredLength, line[0].x(),
                              rows[100].continuousSquaredLength, line[100].x());
    const int scale = 2;
    const QImage image = plotImage(svg, scale);
    QCOMPARE(image.size(), QSize(520, 560) * scale);
    auto pixel = [&](double px, double py) {
        return image.pixel(int(std::floor(px * scale)), int(std::floor(py * scale)));
    };
    for (int n = 0; n < 221; n += 11) {
        const PlotRow& row = rows[n];
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

// Each legend name has just left of it a sample drawn as its series is: the bars' sample filled
// like the bars and edged like the step line, the curve's sample stroked like the curve; in the
// picture too.
void TestPlot::legendSamplesLookLikeTheirSeries()
{
    const PlotTexts words = texts(true);
    const std::string document = plotSvg(sampleRows(), words);
    const SvgContents svg = readSvg(document);
    const Shape* steps = shapeWithPoints(svg, 2 * 221, "polyline");
    const Shape* line = shapeWithPoints(svg, 221, "polyline");
    const Shape* bars = shapeWithPoints(svg, 2 * 221 + 2, "polygon");
    QVERIFY(steps && line && bars);
    QCOMPARE(steps->stroke, QString(kBlue));
    QCOMPARE(line->stroke, QString(kOrange));

    // The sample of a name: the nearest shape ending left of the name's start, on its line.
    auto sampleOf = [&](const std::string& name) -> const Shape* {
        for (const Text& text : svg.texts) {
            if (text.words != QString::fromStdString(name)) continue;
            const Shape* nearest = nullptr;
            for (const Shape& s : svg.shapes) {
                const bool onTheLine =
                    s.rect.top() <= text.at.y() && s.rect.bottom() >= text.at.y() - 10;
                const bool leftOfIt = s.rect.right() <= text.at.x() &&
                                      s.rect.right() >= text.at.x() - 20 && s.rect.width() < 60;
                if (onTheLine && leftOfIt) nearest = &s;
            }
            return nearest;
        }
        return nullptr;
    };
    const Shape* barsSample = sampleOf(words.arrows);
    const Shape* curveSample = sampleOf(words.continuous);
    QVERIFY(barsSample && curveSample);
    QCOMPARE(barsSample->fill, bars->fill);
    QCOMPARE(barsSample->stroke, steps->stroke);
    QCOMPARE(curveSample->stroke, line->stroke);
    QVERIFY(curveSample->fill.isEmpty() || curveSample->fill == "none" ||
            curveSample->element == "line");

    const int scale = 2;
    const QImage image = plotImage(document, scale);
    auto pixel = [&](QPointF p) { return image.pixel((p * scale).toPoint()); };
    QVERIFY(near(pixel(curveSample->rect.center()), qRgb(0xD5, 0x5E, 0x00), 40));
    QVERIFY(near(pixel(barsSample->rect.center()), qRgb(0xBF, 0xDC, 0xEC), 8));
    QVERIFY(near(pixel({barsSample->rect.left(), barsSample->rect.center().y()}),
                 qRgb(0x00, 0x72, 0xB2), 60));
}

// Where the 2003 arrows and the continuous slit agree, the blue step line shows on top of the
// orange curve, which stays visible on both sides of it.
void TestPlot::stepLineIsDrawnOverTheCurve()
{
    std::vector<PlotRow> rows = sampleRows();
    for (PlotRow& row : rows) row.continuousSquaredLength = row.squaredLength;
    const std::string svg = plotSvg(rows, texts(false));
    const QList<QPointF> steps = stepLine(readSvg(svg));
    QCOMPARE(steps.size(), 2 * 221);
    const int scale = 2;
    const QImage image = plotImage(svg, scale);
    for (int n = 0; n < 221; n += 20) {
        const double x = steps[2 * n].x();
        const double y = rows[n].detectorY / 15;
        const QString where = QStringLiteral("row %1").arg(n);
        const auto at = [&](double px) { return image.pixel(int(px * scale), int(y * scale)); };
        QVERIFY2(near(at(x), qRgb(0x00, 0x72, 0xB2), 40), qPrintable(where));
        QVERIFY2(near(at(x - 1.2), qRgb(0xD5, 0x5E, 0x00), 60) ||
                     near(at(x + 1.2), qRgb(0xD5, 0x5E, 0x00), 60),
                 qPrintable(where));
    }
}

void TestPlot::textsFollowTheLanguage()
{
    const std::vector<PlotRow> rows = sampleRows();
    const SvgContents czech = readSvg(plotSvg(rows, texts(true)));
    const SvgContents english = readSvg(plotSvg(rows, texts(false)));

    QCOMPARE(czech.title, QStringLiteral("Kmitočet fotonu: střední, Detektor-Clona: 350"));
    QVERIFY(czech.words().contains(czech.title));
    QVERIFY(czech.words().contains(QStringLiteral("Výška detektoru (twipy)")));
    QVERIFY(czech.words().contains(QStringLiteral("Pravděpodobnost (čtverec délky součtu)")));
    QVERIFY(czech.words().contains(QStringLiteral("součet 2003 šipek")));
    QVERIFY(czech.words().contains(QStringLiteral("spojitá štěrbina")));
    QVERIFY(czech.words().contains(QStringLiteral("2\u00A0000")));  // Czech thousands: a space

    QCOMPARE(english.title, QStringLiteral("Photon frequency: střední, detector to slit: 350"));
    QVERIFY(english.words().contains(english.title));
    QVERIFY(english.words().contains(QStringLiteral("Detector height (twips)")));
    QVERIFY(english.words().contains(QStringLiteral("Probability (squared length of the sum)")));
    QVERIFY(english.words().contains(QStringLiteral("sum of 2003 arrows")));
    QVERIFY(english.words().contains(QStringLiteral("continuous slit")));
    QVERIFY(english.words().contains(QStringLiteral("2,000")));

    // Small values: decimals with the language's separator.
    std::vector<PlotRow> small = rows;
    for (PlotRow& row : small) row.continuousSquaredLength = row.squaredLength /= 1000;
    QVERIFY(readSvg(plotSvg(small, texts(true))).words().contains(QStringLiteral("0,5")));
    QVERIFY(readSvg(plotSvg(small, texts(false))).words().contains(QStringLiteral("0.5")));

    // The language changes the words, not the drawing.
    QCOMPARE(stepLine(czech), stepLine(english));
    QCOMPARE(curve(czech), curve(english));
    QVERIFY(plotImage(plotSvg(rows, texts(true)), 1) != plotImage(plotSvg(rows, texts(false)), 1));
}

void TestPlot::sameDataGiveTheSameBytes()
{
    const std::vector<PlotRow> rows = sampleRows();
    for (bool czech : {true, false}) {
        const std::string svg = plotSvg(rows, texts(czech));
        QCOMPARE(plotSvg(rows, texts(czech)), svg);
        for (int scale : {1, 2, 4}) {
            const QImage image = plotImage(svg, scale);
            QCOMPARE(image.size(), QSize(520, 560) * scale);
            QCOMPARE(png(plotImage(svg, scale)), png(image));
        }
    }
    // ... and other data other bytes: the output is not one fixed document.
    std::vector<PlotRow> other = rows;
    other[110].squaredLength += 500;
    QVERIFY(plotSvg(other, texts(true)) != plotSvg(rows, texts(true)));
}

// No rows, or rows with values that are not numbers, still give a well-formed document: the axes,
// and the lines of the rows that can be drawn.
void TestPlot::emptyAndBrokenRowsStillGiveAPlot()
{
    const std::string empty = plotSvg({}, texts(true));
    const SvgContents contents = readSvg(empty);
    QVERIFY(contents.wellFormed);
    QVERIFY(contents.words().contains(QStringLiteral("Výška detektoru (twipy)")));
    QCOMPARE(plotImage(empty, 1).size(), QSize(520, 560));

    std::vector<PlotRow> broken = sampleRows();
    broken[7].squaredLength = std::nan("");
    broken[9].continuousSquaredLength = INFINITY;
    const SvgContents drawn = readSvg(plotSvg(broken, texts(false)));
    QVERIFY(drawn.wellFormed);
    QCOMPARE(curve(drawn, 219).size(), 219);
    for (const QPointF& p : stepLine(drawn, 219)) QVERIFY(std::isfinite(p.x()));
    QCOMPARE(stepLine(drawn, 219).size(), 2 * 219);

    // A caption with characters that XML reserves stays text.
    const SvgContents odd =
        readSvg(plotSvg(broken, plotTexts(Language::English, "<a & \"b\">", 350)));
    QVERIFY(odd.wellFormed);
    QCOMPARE(odd.title, QStringLiteral("Photon frequency: <a & \"b\">, detector to slit: 350"));
}

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
