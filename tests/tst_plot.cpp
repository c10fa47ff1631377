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
std::vector<PlotRow> sampleRows(double factor = 1)
{
    std::vector<PlotRow> rows;
    for (int n = 0; n < 221; ++n) {
        rows.push_back({7500.0 - (500 + 25 * n), factor * (1000 + 800 * std::sin(n / 20.0)),
                        factor * (2500 + 300 * std::cos(n / 15.0))});
    }
    return rows;
}

PlotTexts texts(bool czech)
{
    return czech ? plotTexts(Language::Czech, "střední", 350)
                 : plotTexts(Language::English, "medium", 350);
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
    const Shape* shape(const char* element, qsizetype points) const
    {
        for (const Shape& s : shapes) {
            if (s.element == element && s.points.size() == points) return &s;
        }
        return nullptr;
    }
    // The data lines: the bars' step line has two points a row, the curve one.
    QList<QPointF> line(qsizetype points) const
    {
        const Shape* s = shape("polyline", points);
        return s ? s->points : QList<QPointF>();
    }
    // The frame around the data: the rectangle with a stroke and no fill.
    QRectF frame() const
    {
        for (const Shape& s : shapes) {
            if (s.element == "rect" && s.fill == "none" && !s.stroke.isEmpty()) return s.rect;
        }
        return {};
    }
};

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
            for (const QString& pair : open.last().value("points").toString().split(' ')) {
                const QStringList xy = pair.split(',');
                shape.points.append({xy.value(0).toDouble(), xy.value(1).toDouble()});
            }
        } else if (name == "line") {
            shape.points = {{number("x1"), number("y1")}, {number("x2"), number("y2")}};
        } else if (name == "rect") {
            shape.rect = QRectF(number("x"), number("y"), number("width"), number("height"));
        } else if (name == "text" || name == "title") {
            const QPointF at(number("x"), number("y"));
            const QString words = xml.readElementText();
            open.removeLast();  // readElementText consumed the end element
            if (name == "title") contents.title = words;
            if (name == "text") contents.texts.append({words, at});
            continue;
        } else {
            continue;
        }
        for (const QPointF& p : shape.points) shape.rect |= QRectF(p, QSizeF(1e-9, 1e-9));
        contents.shapes.append(shape);
    }
    contents.wellFormed = !xml.hasError();
    if (xml.hasError()) qWarning("SVG: %s", qPrintable(xml.errorString()));
    return contents;
}

const QRgb kBlue = qRgb(0x00, 0x72, 0xB2), kFill = qRgb(0xBF, 0xDC, 0xEC),
           kOrange = qRgb(0xD5, 0x5E, 0x00), kWhite = qRgb(0xFF, 0xFF, 0xFF);

// value -> pixel on one axis, through two points of the plot.
struct Mapping {
    double offset;
    double slope;
    Mapping(double v1, double p1, double v2, double p2)
        : offset(p1 - (p2 - p1) / (v2 - v1) * v1), slope((p2 - p1) / (v2 - v1))
    {
    }
    double operator()(double value) const { return offset + slope * value; }
};

// The plot drawn at scale 2, read at plot pixels.
struct Picture {
    QImage image;
    explicit Picture(const std::string& svg) : image(plotImage(svg, 2)) {}
    bool near(QPointF p, QRgb expected, int tolerance) const
    {
        const QRgb pixel = image.pixel(int(std::floor(p.x() * 2)), int(std::floor(p.y() * 2)));
        return std::abs(qRed(pixel) - qRed(expected)) <= tolerance &&
               std::abs(qGreen(pixel) - qGreen(expected)) <= tolerance &&
               std::abs(qBlue(pixel) - qBlue(expected)) <= tolerance;
    }
};

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
    void pictureShowsTheRowsAtTheirHeights();
    void legendSamplesLookLikeTheirSeries();
    void stepLineIsDrawnOverTheCurve();
    void textsFollowTheLanguage();
    void sameDataGiveTheSameBytes();
    void emptyAndBrokenRowsStillGiveAPlot();
};

// Whatever the values: every corner of the step line and every point of the curve is a row's
// value through one mapping, at its height at the window's 15 twips to a pixel (1500 at the top,
// 7000 at the bottom); the probability axis's ticks run evenly from 0 to at least the largest
// value, and both lines lie inside the frame.
void TestPlot::linesAreTheRowsThroughTheAxes()
{
    for (double factor : {1.0, 0.001, 400.0}) {
        const std::vector<PlotRow> rows = sampleRows(factor);
        const SvgContents svg = readSvg(plotSvg(rows, texts(false)));
        const QList<QPointF> steps = svg.line(2 * 221), line = svg.line(221);
        QCOMPARE(steps.size(), 2 * 221);
        QCOMPARE(line.size(), 221);
        const Mapping x(rows.front().continuousSquaredLength, line.front().x(),
                        rows.back().continuousSquaredLength, line.back().x());
        for (int n = 0; n < 221; ++n) {
            const PlotRow& row = rows[n];
            const double y = row.detectorY / 15, bar = x(row.squaredLength);
            const QString where = QStringLiteral("row %1 at %2").arg(n).arg(factor);
            // Coordinates are written to a thousandth of a pixel. A bar is a vertical piece at its
            // value, centred on its height, meeting its neighbour with no gap and no overlap.
            QVERIFY2(std::abs(line[n].x() - x(row.continuousSquaredLength)) < 0.01 &&
                         std::abs(line[n].y() - y) < 0.01 &&
                         std::abs(steps[2 * n].x() - bar) < 0.01 &&
                         std::abs(steps[2 * n + 1].x() - bar) < 0.01 &&
                         std::abs((steps[2 * n].y() + steps[2 * n + 1].y()) / 2 - y) < 0.01 &&
                         (n == 0 || std::abs(steps[2 * n].y() - steps[2 * n - 1].y()) < 0.01),
                     qPrintable(where));
        }
        // The bars stand on the probability axis: value 0 is the frame's left edge.
        const QRectF frame = svg.frame();
        QVERIFY(std::abs(x(0) - frame.left()) < 0.01);
        QVERIFY(frame.top() <= 1500.0 / 15 && frame.bottom() >= 7000.0 / 15);
        for (const QList<QPointF>& drawn : {steps, line}) {
            for (const QPointF& p : drawn)
                QVERIFY(frame.adjusted(-0.01, -0.01, 0.01, 0.01).contains(p));
        }

        // The height axis writes 1500, 2000, ..., 7000 plainly; the probability axis writes its
        // numbers in English notation, with a comma from 1,000 on.
        QList<double> ticks;
        for (const QString& text : svg.words()) {
            bool isNumber = false;
            const double value = QString(text).remove(QLatin1Char(',')).toDouble(&isNumber);
            const int h = text.toInt();
            if (isNumber && !(h >= 1500 && h <= 7000 && h % 500 == 0)) ticks.append(value);
        }
        QVERIFY2(ticks.size() >= 3 && ticks.size() <= 9, qPrintable(svg.words().join(u'|')));
        QCOMPARE(ticks.front(), 0.0);
        const double step = ticks[1] - ticks[0];
        for (int n = 1; n < ticks.size(); ++n) {
            QVERIFY(std::abs(ticks[n] - ticks[n - 1] - step) <= 1e-9 * step);
        }
        QVERIFY2(ticks.back() >= 2800 * factor && ticks.back() < 2800 * factor + 2 * step,
                 qPrintable(QString::number(ticks.back())));
    }
}

// The picture at scale 2: at each row's height, the bar's light fill between the axis and the
// value, the blue step line at the value, the orange curve at the continuous value, white beyond.
void TestPlot::pictureShowsTheRowsAtTheirHeights()
{
    const std::vector<PlotRow> rows = sampleRows();
    const std::string svg = plotSvg(rows, texts(true));
    const QList<QPointF> line = readSvg(svg).line(221);
    QCOMPARE(line.size(), 221);
    const Mapping x(rows[0].continuousSquaredLength, line[0].x(), rows[100].continuousSquaredLength,
                    line[100].x());
    const Picture picture(svg);
    QCOMPARE(picture.image.size(), QSize(520, 560) * 2);  // as tall as the window's picture
    for (int n = 0; n < 221; n += 11) {
        const PlotRow& row = rows[n];
        const double y = row.detectorY / 15;
        QVERIFY2(picture.near({(x(0) + x(row.squaredLength)) / 2, y}, kFill, 8) &&
                     picture.near({x(row.squaredLength), y}, kBlue, 40) &&
                     picture.near({x(row.continuousSquaredLength), y}, kOrange, 40) &&
                     picture.near({x(3100), y + 0.3}, kWhite, 40),
                 qPrintable(QStringLiteral("row %1").arg(n)));
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
    const Shape* steps = svg.shape("polyline", 2 * 221);
    const Shape* line = svg.shape("polyline", 221);
    const Shape* bars = svg.shape("polygon", 2 * 221 + 2);
    QVERIFY(steps && line && bars);
    QCOMPARE(steps->stroke, QString("#0072b2"));
    QCOMPARE(line->stroke, QString("#d55e00"));

    // The sample of a name: the nearest shape ending left of the name's start, on its line.
    auto sampleOf = [&](const std::string& name) -> const Shape* {
        const Shape* nearest = nullptr;
        for (const Text& text : svg.texts) {
            if (text.words != QString::fromStdString(name)) continue;
            for (const Shape& s : svg.shapes) {
                if (s.rect.top() <= text.at.y() && s.rect.bottom() >= text.at.y() - 10 &&
                    s.rect.right() <= text.at.x() && s.rect.right() >= text.at.x() - 20 &&
                    s.rect.width() < 60)
                    nearest = &s;
            }
        }
        return nearest;
    };
    const Shape* barsSample = sampleOf(words.arrows);
    const Shape* curveSample = sampleOf(words.continuous);
    QVERIFY(barsSample && curveSample);
    QCOMPARE(barsSample->fill, bars->fill);
    QCOMPARE(barsSample->stroke, steps->stroke);
    QCOMPARE(curveSample->stroke, line->stroke);
    QVERIFY(curveSample->fill.isEmpty() || curveSample->fill == "none" ||
            curveSample->element == "line");

    const Picture picture(document);
    QVERIFY(picture.near(curveSample->rect.center(), kOrange, 40));
    QVERIFY(picture.near(barsSample->rect.center(), kFill, 8));
    QVERIFY(picture.near({barsSample->rect.left(), barsSample->rect.center().y()}, kBlue, 60));
}

// Where the 2003 arrows and the continuous slit agree, the blue step line shows on top of the
// orange curve, which stays visible on both sides of it.
void TestPlot::stepLineIsDrawnOverTheCurve()
{
    std::vector<PlotRow> rows = sampleRows();
    for (PlotRow& row : rows) row.continuousSquaredLength = row.squaredLength;
    const std::string svg = plotSvg(rows, texts(false));
    const QList<QPointF> steps = readSvg(svg).line(2 * 221);
    QCOMPARE(steps.size(), 2 * 221);
    const Picture picture(svg);
    for (int n = 0; n < 221; n += 20) {
        const double x = steps[2 * n].x(), y = rows[n].detectorY / 15;
        QVERIFY2(picture.near({x, y}, kBlue, 40) && (picture.near({x - 1.2, y}, kOrange, 60) ||
                                                     picture.near({x + 1.2, y}, kOrange, 60)),
                 qPrintable(QStringLiteral("row %1").arg(n)));
    }
}

void TestPlot::textsFollowTheLanguage()
{
    const std::vector<PlotRow> rows = sampleRows();
    std::vector<PlotRow> small = rows;  // small values: decimals with the language's separator
    for (PlotRow& row : small) row.continuousSquaredLength = row.squaredLength /= 1000;
    const struct {
        bool czech;
        QStringList words;  // the title first
    } languages[] = {
        {true,
         {"Kmitočet fotonu: střední, Detektor-Clona: 350", "Výška detektoru (twipy)",
          "Pravděpodobnost (čtverec délky součtu)", "součet 2003 šipek", "spojitá štěrbina",
          "2\u00A0000", "0,5"}},  // Czech thousands: a space
        {false,
         {"Photon frequency: medium, detector to slit: 350", "Detector height (twips)",
          "Probability (squared length of the sum)", "sum of 2003 arrows", "continuous slit",
          "2,000", "0.5"}},
    };
    for (const auto& [czech, words] : languages) {
        const SvgContents svg = readSvg(plotSvg(rows, texts(czech)));
        QCOMPARE(svg.title, words.first());
        const QStringList drawn = svg.words() + readSvg(plotSvg(small, texts(czech))).words();
        for (const QString& w : words) QVERIFY2(drawn.contains(w), qPrintable(w));
    }
    // The language changes the words, not the drawing.
    const SvgContents czech = readSvg(plotSvg(rows, texts(true)));
    const SvgContents english = readSvg(plotSvg(rows, texts(false)));
    QCOMPARE(czech.line(2 * 221), english.line(2 * 221));
    QCOMPARE(czech.line(221), english.line(221));
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
// and the lines of the rows that can be drawn; a caption with characters XML reserves stays text.
void TestPlot::emptyAndBrokenRowsStillGiveAPlot()
{
    const std::string empty = plotSvg({}, texts(true));
    QVERIFY(readSvg(empty).words().contains(QStringLiteral("Výška detektoru (twipy)")));
    QCOMPARE(plotImage(empty, 1).size(), QSize(520, 560));

    std::vector<PlotRow> broken = sampleRows();
    broken[7].squaredLength = std::nan("");
    broken[9].continuousSquaredLength = INFINITY;
    const SvgContents drawn = readSvg(plotSvg(broken, texts(false)));
    QCOMPARE(drawn.line(219).size(), 219);
    QCOMPARE(drawn.line(2 * 219).size(), 2 * 219);
    for (const QPointF& p : drawn.line(2 * 219)) QVERIFY(std::isfinite(p.x()));

    const SvgContents odd =
        readSvg(plotSvg(broken, plotTexts(Language::English, "<a & \"b\">", 350)));
    QVERIFY(odd.wellFormed && drawn.wellFormed && readSvg(empty).wellFormed);
    QCOMPARE(odd.title, QStringLiteral("Photon frequency: <a & \"b\">, detector to slit: 350"));
}

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
