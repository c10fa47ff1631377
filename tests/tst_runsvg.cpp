// The run's SVG: compact paths that hold every line of the run at its place to a hundredth of a
// pixel, and render, at scale 1 and 2, to the picture that the run's lines drawn one by one
// render to, except where joining a chain's 2003 arrows into one line changes its shading.
#include <QApplication>
#include <QBuffer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtTest>
#include <cmath>
#include <functional>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "app/windowrunhost.h"
#include "canvas/colours.h"
#include "export/compactsvg.h"
#include "export/runsvg.h"
#include "run/experiment.h"
#include "run/phasor.h"
#endif

using namespace kvelmor;
using Kind = RecordingSurface::Kind;
using Primitive = RecordingSurface::Primitive;
using Drawing = std::function<void(Surface&)>;
Q_DECLARE_METATYPE(Drawing)

namespace {

// A run of one setting, recorded, in the hidden window whose labels it placed.
struct Run {
    std::unique_ptr<FrmKvelmor> window;
    RecordingSurface drawing;
};

Run run(const char* frequencyOption, const char* distanceOption)
{
    Run r{std::make_unique<FrmKvelmor>(nullptr, 1), {}};
    r.window->findChild<QRadioButton*>(frequencyOption)->setChecked(true);
    r.window->findChild<QRadioButton*>(distanceOption)->setChecked(true);
    WindowRunHost host(*r.window);
    runExperiment(r.drawing, host);
    return r;
}

QPointF pixels(const Primitive& p, float x, float y)
{
    const double perPixel = p.unit == ScaleUnit::Twips ? 15.0 : 1.0;
    return {x / perPixel, y / perPixel};
}

// The lines of the drawing in runs: each run the lines that follow one another in the same
// colour and width, every one starting where the last ended. Circles stand alone.
std::vector<std::vector<const Primitive*>> runsOfLines(const RecordingSurface& drawing)
{
    std::vector<std::vector<const Primitive*>> runs;
    const Primitive* last = nullptr;
    for (const Primitive& p : drawing.primitives()) {
        const bool continues = last && p.kind == Kind::Line && last->kind == Kind::Line &&
                               p.colour == last->colour && p.lineWidth == last->lineWidth &&
                               pixels(p, p.x1, p.y1) == pixels(*last, last->x2, last->y2);
        if (!continues) runs.emplace_back();
        runs.back().push_back(&p);
        last = &p;
    }
    return runs;
}

// The drawing as QSvgGenerator writes it from QPainter's own calls, each line by itself, as the
// export wrote it before its SVG was compact.
QByteArray generatedSvg(const Run& r)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    setUpRunSvg(svg, buffer, r.window->language());
    QPainter painter(&svg);
    painter.fillRect(QRect(QPoint(0, 0), kClientArea), kRunBackground);
    const QPalette palette = r.window->palette();
    const QColor fore = resolveColour(systemColour(kButtonTextColour), palette);
    for (const auto& lines : runsOfLines(r.drawing)) {
        const Primitive& p = *lines.front();
        if (p.kind == Kind::Circle) {
            painter.setPen(QPen(fore, p.lineWidth));
            painter.setBrush(p.fillStyle == FillStyle::Solid
                                 ? QBrush(resolveColour(p.fillColour, palette))
                                 : QBrush(Qt::NoBrush));
            const double radius = pixels(p, p.x2, 0).x();
            painter.drawEllipse(pixels(p, p.x1, p.y1), radius, radius);
            continue;
        }
        painter.setPen(QPen(p.colour ? resolveColour(*p.colour, palette) : fore, p.lineWidth,
                            Qt::SolidLine, Qt::SquareCap));
        for (const Primitive* l : lines)
            painter.drawLine(pixels(*l, l->x1, l->y1), pixels(*l, l->x2, l->y2));
    }
    paintSceneLabels(*r.window, painter);
    painter.end();
    return bytes;
}

QImage rendered(const QByteArray& svg, int scale)
{
    QSvgRenderer renderer(svg);
    QImage image(kClientArea * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

int difference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The pixels of `a` that differ from `b` by more than `tolerance`, outside `skipped`.
int pixelsBeyond(const QImage& a, const QImage& b, int tolerance, const QRegion& skipped = {})
{
    int beyond = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (difference(a.pixel(x, y), b.pixel(x, y)) > tolerance && !skipped.contains({x, y}))
                ++beyond;
        }
    }
    return beyond;
}

// The points of a path written as "M x y l dx dy dx dy ...", in hundredths of a pixel.
QList<QPoint> pathPoints(const QString& d)
{
    static const QRegularExpression number(QStringLiteral("-?(\\d+(\\.\\d*)?|\\.\\d+)"));
    QList<QPoint> points;
    if (!d.startsWith('M') || d.count('M') != 1 || d.count('l') != 1) return points;
    const int moveEnd = int(d.indexOf('l'));
    QList<long> values;
    for (const auto& part : {d.mid(1, moveEnd - 1), d.mid(moveEnd + 1)}) {
        auto it = number.globalMatch(part);
        while (it.hasNext()) values << std::lround(it.next().captured().toDouble() * 100);
    }
    for (int i = 0; i + 1 < values.size(); i += 2) {
        const QPoint step(int(values[i]), int(values[i + 1]));
        points << (points.isEmpty() ? step : points.last() + step);
    }
    return points;
}

QPoint hundredths(QPointF p)
{
    return {int(std::lround(p.x() * 100)), int(std::lround(p.y() * 100))};
}

}  // namespace

class TestRunSvg : public QObject {
    Q_OBJECT

private slots:
    void writesCompactElements_data();
    void writesCompactElements();
    void holdsEveryLineOfTheRunInItsPaths_data();
    void holdsEveryLineOfTheRunInItsPaths();
    void rendersAsTheLinesDrawnOneByOne_data();
    void rendersAsTheLinesDrawnOneByOne();
};

// Each row draws a few primitives (twips unless said) and names the elements written.
void TestRunSvg::writesCompactElements_data()
{
    QTest::addColumn<Drawing>("draw");
    QTest::addColumn<QString>("elements");
    QTest::newRow("a line, in pixels from twips")
        << Drawing([](Surface& s) { s.line(150, 300, 165, 15); })
        << "<g>\n<path d=\"M10 20l1-19\"/>\n</g>\n";
    QTest::newRow("lines that join: one path, the steps rounded to nothing left out")
        << Drawing([](Surface& s) {
               s.line(0, 0, 15, 0);
               s.line(15, 0, 15.01f, 0);
               s.line(15.01f, 0, 15.3f, -30);
           })
        << "<g>\n<path d=\"M0 0l1 0 .02-2\"/>\n</g>\n";
    QTest::newRow("a line too short to round: its first step kept")
        << Drawing([](Surface& s) { s.line(30, 30, 30.01f, 30); })
        << "<g>\n<path d=\"M2 2l0 0\"/>\n</g>\n";
    QTest::newRow("a gap: another path in the same group") << Drawing([](Surface& s) {
        s.line(0, 0, 15, 15);
        s.line(30, 30, 45, 45);
    }) << "<g>\n<path d=\"M0 0l1 1\"/>\n<path d=\"M2 2l1 1\"/>\n</g>\n";
    QTest::newRow("another colour or width: another group, even where the lines join")
        << Drawing([](Surface& s) {
               s.line(0, 0, 15, 0, rgb(0, 0xFF, 0));
               s.setLineWidth(2);
               s.line(15, 0, 30, 0, rgb(0, 0xFF, 0));
               s.line(30, 0, 45, 0);
           })
        << "<g stroke=\"#00ff00\">\n<path d=\"M0 0l1 0\"/>\n</g>\n"
           "<g stroke=\"#00ff00\" stroke-width=\"2\">\n<path d=\"M1 0l1 0\"/>\n</g>\n"
           "<g stroke-width=\"2\">\n<path d=\"M2 0l1 0\"/>\n</g>\n";
    QTest::newRow("circles: filled, then not, between paths")
        << Drawing([](Surface& s) {
               s.line(0, 0, 15, 0);
               s.setLineWidth(2);
               s.setFillStyle(FillStyle::Solid);
               s.setFillColour(rgb(0xFF, 0, 0));
               s.circle(7500, 3000, 1);
               s.setFillStyle(FillStyle::Transparent);
               s.setLineWidth(1);
               s.circle(1500, 150, 150);
               s.line(15, 0, 30, 0);
           })
        << "<g>\n<path d=\"M0 0l1 0\"/>\n</g>\n"
           "<circle cx=\"500\" cy=\"200\" r=\".07\" fill=\"#ff0000\" stroke=\"#000000\" "
           "stroke-width=\"2\"/>\n"
           "<circle cx=\"100\" cy=\"10\" r=\"10\" fill=\"none\" stroke=\"#000000\"/>\n"
           "<g>\n<path d=\"M1 0l1 0\"/>\n</g>\n";
}

void TestRunSvg::writesCompactElements()
{
    QFETCH(Drawing, draw);
    QFETCH(QString, elements);
    CompactSvgSurface surface(QApplication::palette());
    draw(surface);
    QCOMPARE(QString::fromStdString(surface.elements()), elements);
}

void TestRunSvg::holdsEveryLineOfTheRunInItsPaths_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("distance");
    QTest::newRow("nízký, 400") << "op003"
                                << "opV400";
    QTest::newRow("střední, 350") << "op06"
                                  << "opV350";
    QTest::newRow("vysoký, 300") << "op5"
                                 << "opV300";
}

// Path by path, in the order drawn, with the run's colours and widths; each path's points the
// run's, rounded to hundredths of a pixel, a point left out only where it rounds to the last.
// Every circle, the labels, and no more than 400 KB.
void TestRunSvg::holdsEveryLineOfTheRunInItsPaths()
{
    QFETCH(QString, frequency);
    QFETCH(QString, distance);
    const Run r = run(qPrintable(frequency), qPrintable(distance));
    const QByteArray svg = runSvg(*r.window, r.drawing);
    QVERIFY2(svg.size() <= 400 * 1024, qPrintable(QString::number(svg.size())));
    QVERIFY(svg.contains(QStringLiteral("Pravděpodobnost").toUtf8()));

    QList<QXmlStreamAttributes> paths;
    QList<QStringList> groups{{"#000000", "1"}};  // the stroke and width in force
    QList<QStringList> pens;
    int circles = 0;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) groups.removeLast();
        if (!xml.isStartElement()) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("g")) {
            groups << QStringList{
                a.hasAttribute("stroke") ? QColor(a.value("stroke").toString()).name()
                                         : groups.last()[0],
                a.hasAttribute("stroke-width") ? a.value("stroke-width").toString()
                                               : groups.last()[1]};
        } else if (xml.name() == QLatin1String("path")) {
            paths << a;
            pens << groups.last();
        }
        circles += xml.name() == QLatin1String("circle");
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(circles, 222);  // the source and a dot at each step

    const QPalette palette = r.window->palette();
    int n = 0;
    for (const auto& lines : runsOfLines(r.drawing)) {
        const Primitive& p = *lines.front();
        if (p.kind == Kind::Circle) continue;
        QVERIFY2(n < paths.size(), "fewer paths than runs of lines");
        const QString colour =
            resolveColour(p.colour.value_or(systemColour(kButtonTextColour)), palette).name();
        QCOMPARE(pens[n], (QStringList{colour, QString::number(p.lineWidth)}));
        QList<QPoint> expected{hundredths(pixels(p, p.x1, p.y1))};
        for (const Primitive* l : lines) {
            const QPoint end = hundredths(pixels(*l, l->x2, l->y2));
            if (end != expected.last() || expected.size() == 1) expected << end;
        }
        QCOMPARE(pathPoints(paths[n++].value("d").toString()), expected);
    }
    QCOMPARE(n, paths.size());
}

void TestRunSvg::rendersAsTheLinesDrawnOneByOne_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<int>("scale");
    for (int scale : {1, 2}) {
        QTest::addRow("nízký, 400, x%d", scale) << "op003"
                                                << "opV400" << scale;
        QTest::addRow("střední, 350, x%d", scale) << "op06"
                                                  << "opV350" << scale;
        QTest::addRow("vysoký, 300, x%d", scale) << "op5"
                                                 << "opV300" << scale;
    }
}

// Rendered by Qt's SVG renderer at scale 1 and 2, the compact SVG is the picture of the lines
// drawn one by one, as the export wrote them before, to a few shades, except at a few pixels where
// two lines of the beam meet, and over the chains. There each of the 2003 short lines with its
// square caps darkened the others where they overlapped, in a band up to a few pixels wide; the
// path draws the line of the chain one pixel wide, inside that band, and all along it.
void TestRunSvg::rendersAsTheLinesDrawnOneByOne()
{
    QFETCH(QString, frequency);
    QFETCH(QString, distance);
    QFETCH(int, scale);
    const Run r = run(qPrintable(frequency), qPrintable(distance));
    const QImage compact = rendered(runSvg(*r.window, r.drawing), scale);
    const QImage oneByOne = rendered(generatedSvg(r), scale);

    QRegion chains;
    int chainCount = 0;
    for (const auto& lines : runsOfLines(r.drawing)) {
        if (int(lines.size()) < kArrowsPerStep) continue;
        ++chainCount;
        QRectF box;
        for (const Primitive* l : lines) {
            box |= QRectF(pixels(*l, l->x1, l->y1), pixels(*l, l->x2, l->y2)).normalized();
        }
        chains += QRectF(box.topLeft() * scale, box.bottomRight() * scale)
                      .adjusted(-2 * scale, -2 * scale, 2 * scale, 2 * scale)
                      .toAlignedRect();
    }
    QCOMPARE(chainCount, 12);  // the straight arrow and the chain of each twentieth step
    const int area = compact.width() * compact.height();
    QVERIFY(pixelsBeyond(compact, oneByOne, 3, chains) <= area / 500);
    const int joins = pixelsBeyond(compact, oneByOne, 16, chains);
    QVERIFY2(joins <= 12 * scale, qPrintable(QString::number(joins)));

    auto inked = [](const QImage& image, QPoint at) {
        return difference(image.pixel(at), kRunBackground.rgb()) > 48;
    };
    int now = 0, before = 0, onlyNow = 0;
    for (const QRect& box : chains) {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                now += inked(compact, {x, y});
                before += inked(oneByOne, {x, y});
                onlyNow += inked(compact, {x, y}) && !inked(oneByOne, {x, y});
            }
        }
    }
    QVERIFY2(onlyNow <= 4 * scale && now >= before * 7 / 10,
             qPrintable(QStringLiteral("%1 inked, %2 before, %3 not before")
                            .arg(now)
                            .arg(before)
                            .arg(onlyNow)));
    // Every point of every chain is inked, or one of the pixels around it.
    for (const auto& lines : runsOfLines(r.drawing)) {
        if (int(lines.size()) < kArrowsPerStep) continue;
        for (const Primitive* l : lines) {
            const QPointF end = pixels(*l, l->x2, l->y2) * scale;
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx)
                    near = near || inked(compact, QPoint(int(end.x()) + dx, int(end.y()) + dy));
            }
            QVERIFY2(near, qPrintable(QStringLiteral("(%1, %2)").arg(end.x()).arg(end.y())));
        }
    }
}

QTEST_MAIN(TestRunSvg)
#include "tst_runsvg.moc"
