// kvelmor-export as a teacher uses it: its files agree with the window's own run, its continuous
// slit with an independent quadrature, and it fails cleanly, leaving nothing half written.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <complex>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "app/frmkvelmor.h"
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "canvas/recordingsurface.h"
#include "run/experiment.h"
#endif

using namespace kvelmor;

namespace {

struct Result {
    int exitCode;
    QString out, err;
};

Result exportTool(const QStringList& arguments, const QStringList& environment = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : environment) env.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KVELMOR_EXPORT_BINARY), arguments);
    if (!p.waitForFinished(120000)) return {-1, {}, {}};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QList<QStringList> readCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QStringList> rows;
    while (!file.atEnd()) rows << QString::fromUtf8(file.readLine()).trimmed().split(',');
    return rows;
}

// The continuous slit by composite Simpson on a million intervals in long double: a different
// rule, a different precision and far finer sampling than the program's quadrature.
double simpsonContinuous(double L, double f, double detectorX, int j)
{
    const int n = 1 << 20;
    const long double h = 2000.0L / n, dy = 7500.0L - j, across = 3500.0L - detectorX;
    std::complex<long double> sum = 0;
    for (int i = 0; i <= n; ++i) {
        const long double y = 2500.0L + i * h;
        const long double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
        sum += w * std::polar(1.0L, f * std::sqrt(across * across + (y - dy) * (y - dy)));
    }
    sum *= h / 3;
    const std::complex<long double> total =
        std::polar((long double)L, f * (detectorX - 3500.0L)) + (2002.0L * L / 2000.0L) * sum;
    return double(std::norm(total));
}

}  // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void csvAgreesWithTheWindowsRun();
    void continuousSlitAgreesWithAnotherQuadrature();
    void pngIsTheWindowsPicture();
    void pngAtScaleTwoIsCrisp();
    void svgHoldsEveryPrimitive();
    void badArgumentsFailWithoutFiles();
    void unwritablePathsFailWithoutHalfFiles();
    void allWritesFifteenSettingsWithProgressOnlyOnATerminal();
    void speaksTheUsersLanguage();

private:
    QTemporaryDir dir;
};

void TestExport::initTestCase()
{
    QVERIFY(dir.isValid());
    const Result r =
        exportTool({"--frequency", "vysoky", "--distance", "400", "--out", dir.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const Result s =
        exportTool({"--frequency", "stredni", "--distance", "350", "--out", dir.path()});
    QVERIFY2(s.exitCode == 0, qPrintable(s.err));
}

void TestExport::csvAgreesWithTheWindowsRun()
{
    const auto rows = readCsv(dir.filePath("kvelmor-5-400.csv"));
    QCOMPARE(rows.size(), 1 + 221);
    QCOMPARE(rows[0], QString("j,detector_y_twips,squared_length,bar_length_twips,sum_angle_rad,"
                              "continuous_squared_length")
                          .split(','));

    // The window's own run, recorded as it draws.
    FrmKvelmor window;
    window.findChild<QRadioButton*>("op5")->setChecked(true);
    window.findChild<QRadioButton*>("opV400")->setChecked(true);
    RecordingSurface recorded;
    WindowRunHost host(window);
    runExperiment(recorded, host);
    QList<const RecordingSurface::Primitive*> bars, straight;
    for (const auto& p : recorded.primitives()) {
        if (p.kind == RecordingSurface::Kind::Line && !p.colour && p.lineWidth == 2 && p.x1 == 7500)
            bars << &p;
    }
    QCOMPARE(bars.size(), 221);
    for (int n = 0; n < 221; ++n) {
        const QStringList& row = rows[n + 1];
        QCOMPARE(row[0].toInt(), 500 + 25 * n);
        QCOMPARE(row[1].toDouble(), 7000.0 - 25 * n);
        QCOMPARE(float(row[1].toDouble()), bars[n]->y1);
        QCOMPARE(float(7500 + row[3].toDouble()), bars[n]->x2);
        QVERIFY(std::abs(row[3].toDouble() - row[2].toDouble() * 0.006) < 1e-9);
        QVERIFY(std::abs(row[4].toDouble()) <= M_PI);
    }
}

void TestExport::continuousSlitAgreesWithAnotherQuadrature()
{
    struct Case {
        const char* file;
        double L, f, detectorX;
    };
    for (Case c :
         {Case{"kvelmor-5-400.csv", 10, 5, 6500}, Case{"kvelmor-0.6-350.csv", 1, 0.05, 5500}}) {
        const auto rows = readCsv(dir.filePath(c.file));
        const double allInLine = std::pow(2003 * c.L, 2);
        for (int n : {0, 60, 120, 140, 220}) {
            const int j = rows[n + 1][0].toInt();
            const double expected = simpsonContinuous(c.L, c.f, c.detectorX, j);
            const double got = rows[n + 1][5].toDouble();
            // Stated tolerance: one part in a hundred million of all arrows in line.
            QVERIFY2(
                std::abs(got - expected) <= 1e-8 * allInLine,
                qPrintable(
                    QStringLiteral("%1 j=%2: %3 vs %4").arg(c.file).arg(j).arg(got).arg(expected)));
        }
    }
}

void TestExport::pngIsTheWindowsPicture()
{
    QImage png(dir.filePath("kvelmor-5-400.png"));
    QCOMPARE(png.size(), QSize(765, 560));

    FrmKvelmor window(nullptr, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.findChild<QRadioButton*>("op5"), Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(window.findChild<QRadioButton*>("opV400"), Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(window.findChild<QPushButton*>("cmdStart"), Qt::LeftButton);
    QImage screen(765, 560, QImage::Format_RGB32);
    screen.fill(QColor(0xC0, 0xC0, 0xC0));
    {
        QPainter p(&screen);
        p.drawImage(0, 0, window.surface().image());
    }
    QRegion labels;
    for (const char* name : {"labClona", "labDetektorB", "labPravděpodobnost", "labZdroj"}) {
        labels += window.findChild<QLabel*>(QString::fromUtf8(name))->geometry();
    }
    int compared = 0;
    for (int y = 0; y < 560; ++y) {
        for (int x = 0; x < 765; ++x) {
            if (labels.contains(QPoint(x, y))) continue;
            QCOMPARE(png.pixel(x, y), screen.pixel(x, y));
            ++compared;
        }
    }
    QVERIFY(compared > 400000);
    // The labels are in the picture too: dark text where "Detektor" stands.
    int ink = 0;
    for (int x = 433; x < 490; ++x) ink += qGray(png.pixel(x, 75)) < 64;
    QVERIFY(ink > 3);
}

void TestExport::pngAtScaleTwoIsCrisp()
{
    QTemporaryDir two;
    QCOMPARE(exportTool(
                 {"--frequency", "nizky", "--distance", "300", "--out", two.path(), "--scale", "2"})
                 .exitCode,
             0);
    const QImage png(two.filePath("kvelmor-0.03-300.png"));
    QCOMPARE(png.size(), QSize(1530, 1120));
    // The axis, one pixel wide at scale 1, is two pure black columns below the lowest bar.
    for (int y = 940; y < 996; y += 5) {
        QCOMPARE(QColor(png.pixel(999, y)), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(QColor(png.pixel(1000, y)), QColor(Qt::black));
        QCOMPARE(QColor(png.pixel(1001, y)), QColor(Qt::black));
    }
}

void TestExport::svgHoldsEveryPrimitive()
{
    QFile svg(dir.filePath("kvelmor-0.6-350.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    QCOMPARE(text.count("<polyline") + text.count("<circle"), 28528);
    QCOMPARE(text.count("<circle"), 222);  // the source and a dot for each step
    QVERIFY(text.contains(QStringLiteral("Pravděpodobnost").toUtf8()));
}

void TestExport::badArgumentsFailWithoutFiles()
{
    QTemporaryDir empty;
    const QString out = empty.filePath("out");
    for (const QStringList& arguments :
         {QStringList{"--frequency", "ultra", "--distance", "350", "--out", out},
          QStringList{"--frequency", "stredni", "--distance", "123", "--out", out},
          QStringList{"--all", "--scale", "3", "--out", out}, QStringList{"--bogus"}}) {
        const Result r = exportTool(arguments);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.startsWith("kvelmor-export: "));
        QVERIFY(r.err.contains("--help"));
        QVERIFY(r.out.isEmpty());
    }
    QVERIFY(!QFileInfo::exists(out));
}

void TestExport::unwritablePathsFailWithoutHalfFiles()
{
    QTemporaryDir work;
    // A file stands where the directory should be.
    QFile blocker(work.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Result r = exportTool(
        {"--frequency", "stredni", "--distance", "350", "--out", work.filePath("blocker/sub")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("blocker"));

    // The SVG's name is taken by a directory: the export stops there, and an older CSV of the
    // same setting is left exactly as it was, neither truncated nor half rewritten.
    const QString out = work.filePath("out");
    QVERIFY(QDir().mkpath(out + "/kvelmor-0.6-350.svg"));
    QFile old(out + "/kvelmor-0.6-350.csv");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older table\n");
    old.close();
    r = exportTool({"--frequency", "stredni", "--distance", "350", "--out", out});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("kvelmor-0.6-350.svg"), qPrintable(r.err));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("an older table\n"));
    const QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList{"kvelmor-0.6-350.csv"});  // no new file of the unit, no temporaries
}

void TestExport::allWritesFifteenSettingsWithProgressOnlyOnATerminal()
{
    QTemporaryDir all;
    const Result r = exportTool({"--all", "--out", all.path()});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(!r.err.contains('['), qPrintable(r.err));  // stderr is a pipe here: no progress
    QCOMPARE(QDir(all.path()).entryList(QDir::Files | QDir::Hidden).size(), 15 * 5);
    QCOMPARE(QDir(all.path()).entryList({"*-plot.png"}).size(), 15);
    QCOMPARE(QDir(all.path()).entryList({"*-plot.svg"}).size(), 15);
    QCOMPARE(QDir(all.path()).entryList({"*.csv"}).size(), 15);
    QVERIFY(QFileInfo::exists(all.filePath("kvelmor-0.03-300.csv")));
    QVERIFY(QFileInfo::exists(all.filePath("kvelmor-5-400.png")));

    // Under a terminal (script gives it one) the progress shows, ending at 15 of 15.
    QProcess script;
    script.start("script", {"-qec",
                            QStringLiteral("%1 --all --out %2 --scale 1")
                                .arg(QStringLiteral(KVELMOR_EXPORT_BINARY), all.path()),
                            "/dev/null"});
    QVERIFY(script.waitForFinished(120000));
    QCOMPARE(script.exitCode(), 0);
    QVERIFY2(script.readAllStandardOutput().contains("[15/15]"), "no progress on a terminal");
}

void TestExport::speaksTheUsersLanguage()
{
    Result r = exportTool({"--help"}, {"LC_ALL=cs_CZ.UTF-8"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.startsWith(QStringLiteral("Použití:")));
    r = exportTool({"--help"}, {"LC_ALL=C", "LANG=en_GB.UTF-8"});
    QVERIFY(r.out.startsWith("Usage:"));
    r = exportTool({"--version"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.trimmed(), QStringLiteral("kvelmor-export 1.0.0"));
    r = exportTool({"--frequency", "ultra", "--distance", "350", "--out", "x"},
                   {"LC_ALL=cs_CZ.UTF-8"});
    QVERIFY(r.err.contains(QStringLiteral("neznámý kmitočet")));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
