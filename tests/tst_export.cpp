// kvelmor-export as a teacher uses it: its files agree with the window's own run, its continuous
// slit with an independent quadrature, and it fails cleanly, leaving nothing half written.
#include <sys/statvfs.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <clocale>
#include <cmath>
#include <complex>
#include <cstring>
#include <map>

#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "app/frmkvelmor.h"
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "canvas/recordingsurface.h"
#include "export/plotimage.h"
#include "export/runsvg.h"
#include "run/continuousslit.h"
#include "run/experiment.h"
#include "worksheet/plot.h"
#endif

using namespace kvelmor;

namespace {

struct Result {
    int exitCode;
    QString out, err;
};

Result exportTool(const QStringList& arguments, const QStringList& environment = {},
                  const QString& standardOutput = {})
{
    QProcess p;
    if (!standardOutput.isEmpty()) p.setStandardOutputFile(standardOutput);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : environment) env.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KVELMOR_EXPORT_BINARY), arguments);
    if (!p.waitForFinished(120000)) return {-1, {}, {}};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The CSV as a strict reader takes it: every line ends in a newline and holds exactly six fields,
// the header's names or numbers that parse whole. Anything else is reported and gives no rows.
QList<QStringList> readCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QStringList> rows;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const QStringList fields = QString::fromUtf8(line).chopped(1).split(',');
        bool numbers = true;
        for (const QString& field : fields) {
            bool parsed = false;
            field.toDouble(&parsed);
            numbers = numbers && parsed && field == field.trimmed();
        }
        if (!line.endsWith('\n') || fields.size() != 6 || (!rows.isEmpty() && !numbers)) {
            qWarning("%s line %lld: %s", qPrintable(path), rows.size() + 1, line.constData());
            return {};
        }
        rows << fields;
    }
    return rows;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Every name in `dir`, hidden ones too, with each file's bytes: what a failed export must leave
// exactly as it was.
std::map<QString, QByteArray> snapshot(const QString& dir)
{
    std::map<QString, QByteArray> files;
    for (const QString& name :
         QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        files[name] = contents(dir + '/' + name);
    }
    return files;
}

const char* const kUnitSuffixes[] = {".png", ".svg", ".csv", "-plot.svg", "-plot.png"};

// A small tmpfs mounted for one test, to make writes fail the way a full disk does.
class SmallDisk {
public:
    explicit SmallDisk(const QString& path) : path_(path)
    {
        QProcess mount;
        mount.start("mount", {"-t", "tmpfs", "-o", "size=8m", "none", path});
        mounted_ = mount.waitForFinished() && mount.exitCode() == 0;
        if (!mounted_) why_ = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
    }
    ~SmallDisk()
    {
        if (mounted_) QProcess::execute("umount", {path_});
    }
    bool mounted() const { return mounted_; }
    QString why() const { return why_; }

    qint64 freeBytes() const
    {
        struct statvfs st;
        return statvfs(QFile::encodeName(path_).constData(), &st) == 0
                   ? qint64(st.f_bavail) * qint64(st.f_frsize)
                   : -1;
    }

    // Fills the disk with a file outside `folder` until about `bytes` are left.
    bool leaveFree(qint64 bytes)
    {
        QFile filler(path_ + "/filler");
        if (!filler.open(QIODevice::WriteOnly)) return false;
        const QByteArray block(4096, 'x');
        while (freeBytes() > bytes + 4096) {
            if (filler.write(block) != block.size() || !filler.flush()) return false;
        }
        return true;
    }

private:
    QString path_;
    bool mounted_ = false;
    QString why_;
};

// What a full disk means in a message: the system's own text, in English.
QString noSpaceText()
{
    locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QString text = QString::fromLocal8Bit(strerror_l(ENOSPC, c));
    freelocale(c);
    return text;
}

qint64 onDisk(qint64 bytes)
{
    return (bytes + 4095) / 4096 * 4096;
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
    void sumAngleIsTheGreenArrowsDirection();
    void plotIsDrawnFromTheCsvAndRepeatsByteForByte();
    void pngIsTheWindowsPicture();
    void pngShowsAllFourSceneLabels();
    void pngAtScaleTwoIsCrisp();
    void svgIsTheWindowsRun();
    void badArgumentsFailWithoutFiles();
    void unwritablePathsFailWithoutHalfFiles();
    void fullDiskLeavesEarlierFilesUntouched_data();
    void fullDiskLeavesEarlierFilesUntouched();
    void fullDiskInTheSecondSettingKeepsTheFirst();
    void folderNameIsUsedAsGiven();
    void symlinkUnderAnOutputNameIsReplacedNotFollowed();
    void failedWritesToStandardOutputFail();
    void ownOptionsOnly();
    void allWritesFifteenSettingsWithProgressOnlyOnATerminal();
    void speaksTheUsersLanguage();
    void reasonsSpeakTheUsersLanguage();

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
        QCOMPARE(rows.size(), 1 + 221);  // before any row is looked at
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

// The CSV's angle is the direction of the green sum arrow that the run draws at every chain step,
// from the detector point D to the chain's end (y down): a flipped sign or a swapped argument
// fails.
void TestExport::sumAngleIsTheGreenArrowsDirection()
{
    int compared = 0;
    for (const char* setting : {"5-400", "0.6-350"}) {
        const auto rows = readCsv(dir.filePath(QStringLiteral("kvelmor-%1.csv").arg(setting)));
        QCOMPARE(rows.size(), 1 + 221);
        FrmKvelmor window;
        const bool high = QByteArray(setting).startsWith('5');
        window.findChild<QRadioButton*>(high ? "op5" : "op06")->setChecked(true);
        window.findChild<QRadioButton*>(high ? "opV400" : "opV350")->setChecked(true);
        RecordingSurface recorded;
        WindowRunHost host(window);
        runExperiment(recorded, host);
        QList<const RecordingSurface::Primitive*> green;
        for (const auto& p : recorded.primitives()) {
            if (p.kind == RecordingSurface::Kind::Line && p.colour == kGreen) green << &p;
        }
        QCOMPARE(green.size(), 12);
        for (const auto* arrow : green) {
            const int j = int(std::lround(7500 - arrow->y1));
            const QStringList& row = rows[(j - 500) / 25 + 1];
            QCOMPARE(row[0].toInt(), j);
            const double dx = arrow->x2 - arrow->x1, dy = arrow->y2 - arrow->y1;
            if (std::hypot(dx, dy) < 30) continue;  // too short for its float ends to tell
            const double drawn = std::atan2(dy, dx);
            const double written = row[4].toDouble();
            const double apart = std::abs(std::remainder(drawn - written, 2 * M_PI));
            QVERIFY2(apart < 0.01, qPrintable(QStringLiteral("%1 j=%2: drawn %3, written %4")
                                                  .arg(setting)
                                                  .arg(j)
                                                  .arg(drawn)
                                                  .arg(written)));
            ++compared;
        }
    }
    QVERIFY(compared >= 12);
}

// The plot is drawn from exactly the numbers in the CSV (read back, they give the same bytes) and
// a second export of the setting gives identical plot files.
void TestExport::plotIsDrawnFromTheCsvAndRepeatsByteForByte()
{
    const auto rows = readCsv(dir.filePath("kvelmor-5-400.csv"));
    QCOMPARE(rows.size(), 1 + 221);
    std::vector<PlotRow> plotted;
    for (int n = 1; n < rows.size(); ++n) {
        plotted.push_back({rows[n][1].toDouble(), rows[n][2].toDouble(), rows[n][5].toDouble()});
    }
    const QByteArray exported = contents(dir.filePath("kvelmor-5-400-plot.svg"));
    QVERIFY(exported.startsWith("<?xml"));
    const std::string svg = plotSvg(plotted, plotTexts(Language::English, "highest", 400));
    QVERIFY(exported == QByteArray::fromStdString(svg));
    QCOMPARE(QImage(dir.filePath("kvelmor-5-400-plot.png")), plotImage(svg, 1));

    QTemporaryDir again;
    QCOMPARE(
        exportTool({"--frequency", "vysoky", "--distance", "400", "--out", again.path()}).exitCode,
        0);
    for (const char* suffix : {"-plot.svg", "-plot.png"}) {
        const QString name = QStringLiteral("kvelmor-5-400") + suffix;
        QVERIFY2(contents(again.filePath(name)) == contents(dir.filePath(name)), suffix);
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

// Where the four labels stand, the picture is what the window shows after the same run.
void TestExport::pngShowsAllFourSceneLabels()
{
    const QImage png =
        QImage(dir.filePath("kvelmor-5-400.png")).convertToFormat(QImage::Format_RGB32);
    FrmKvelmor window(nullptr, 1);
    window.findChild<QRadioButton*>("op5")->setChecked(true);
    window.findChild<QRadioButton*>("opV400")->setChecked(true);
    WindowRunHost host(window);
    runExperiment(window.surface(), host);
    for (const char* name : {"labClona", "labDetektorB", "labPravděpodobnost", "labZdroj"}) {
        const QLabel* label = window.findChild<QLabel*>(QString::fromUtf8(name));
        QVERIFY2(label && label->isVisibleTo(&window), name);
        const QImage shown = window.grab(label->geometry()).toImage();
        QVERIFY2(png.copy(label->geometry()) == shown.convertToFormat(QImage::Format_RGB32), name);
    }
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

// The SVG is the run's compact SVG (tst_runsvg checks its paths and its pictures) for the
// window's run of the setting, its labels in the window's Czech.
void TestExport::svgIsTheWindowsRun()
{
    FrmKvelmor window(nullptr, 1);
    window.findChild<QRadioButton*>("op06")->setChecked(true);
    window.findChild<QRadioButton*>("opV350")->setChecked(true);
    RecordingSurface recorded;
    {
        WindowRunHost host(window);
        runExperiment(recorded, host);
    }
    const QByteArray svg = contents(dir.filePath("kvelmor-0.6-350.svg"));
    QCOMPARE(svg, runSvg(window, recorded));
    QCOMPARE(svg.count("<circle"), 222);  // the source and a dot for each step
    QVERIFY(svg.contains(QStringLiteral("Pravděpodobnost").toUtf8()));
}

void TestExport::badArgumentsFailWithoutFiles()
{
    QTemporaryDir empty;
    const QString out = empty.filePath("out");
    for (const QStringList& arguments :
         {QStringList{"--frequency", "ultra", "--distance", "350", "--out", out},
          QStringList{"--frequency", "stredni", "--distance", "123", "--out", out},
          QStringList{"--all", "--scale", "3", "--out", out},
          QStringList{"--all", "--distance", "300", "--out", out}, QStringList{"--bogus"}}) {
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

// A full disk, for real: a small tmpfs filled so that the named file of the unit finds no room.
// Older files of the setting stay exactly as they were, no temporary is left, and the message
// names the file and the reason.
void TestExport::fullDiskLeavesEarlierFilesUntouched_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("png") << ".png";
    QTest::newRow("svg") << ".svg";
    QTest::newRow("csv") << ".csv";
}

void TestExport::fullDiskLeavesEarlierFilesUntouched()
{
    QFETCH(QString, failing);
    if (getuid() != 0) QSKIP("mounting a small tmpfs to fill needs root");
    QTemporaryDir mountPoint;
    SmallDisk disk(mountPoint.path());
    if (!disk.mounted()) QSKIP(qPrintable("cannot mount a tmpfs here: " + disk.why()));
    const QString out = mountPoint.filePath("out");
    QVERIFY(QDir().mkpath(out));
    for (const char* suffix : kUnitSuffixes) {
        QFile old(out + "/kvelmor-0.6-350" + suffix);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray("older ") + suffix);
    }
    const auto before = snapshot(out);

    // Room for the files written before the failing one (from the reference export), and a
    // little, but not enough, for the failing one itself.
    qint64 room = 0;
    for (const char* suffix : kUnitSuffixes) {
        if (failing == suffix) break;
        room += onDisk(QFileInfo(dir.filePath(QStringLiteral("kvelmor-0.6-350") + suffix)).size());
    }
    QVERIFY(disk.leaveFree(room + 8192));

    const Result r = exportTool({"--frequency", "stredni", "--distance", "350", "--out", out});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(out + "/kvelmor-0.6-350" + failing + ": " + noSpaceText()),
             qPrintable(r.err));
    QVERIFY2(snapshot(out) == before, "an older file changed, or something was left behind");
}

// During --all the first setting is written whole; the second finds the disk full: its older
// files stay, nothing of it or of a later setting appears, and the export stops with status 1.
void TestExport::fullDiskInTheSecondSettingKeepsTheFirst()
{
    if (getuid() != 0) QSKIP("mounting a small tmpfs to fill needs root");
    QTemporaryDir reference;
    QCOMPARE(exportTool({"--frequency", "nizky", "--distance", "300", "--out", reference.path()})
                 .exitCode,
             0);
    QTemporaryDir mountPoint;
    SmallDisk disk(mountPoint.path());
    if (!disk.mounted()) QSKIP(qPrintable("cannot mount a tmpfs here: " + disk.why()));
    const QString out = mountPoint.filePath("out");
    QVERIFY(QDir().mkpath(out));
    QFile old(out + "/kvelmor-0.03-350.csv");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older table\n");
    old.close();

    qint64 first = 0;
    for (const char* suffix : kUnitSuffixes) {
        first += onDisk(
            QFileInfo(reference.filePath(QStringLiteral("kvelmor-0.03-300") + suffix)).size());
    }
    QVERIFY(disk.leaveFree(first + 16384));
    const Result r = exportTool({"--all", "--out", out});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("kvelmor-0.03-350") && r.err.contains(noSpaceText()),
             qPrintable(r.err));
    QStringList expected{"kvelmor-0.03-350.csv"};
    for (const char* suffix : kUnitSuffixes) {
        const QString name = QStringLiteral("kvelmor-0.03-300") + suffix;
        expected << name;
        QVERIFY2(contents(out + '/' + name) == contents(reference.filePath(name)), suffix);
    }
    expected.sort();
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(contents(old.fileName()), QByteArray("an older table\n"));
}

void TestExport::folderNameIsUsedAsGiven()
{
    QTemporaryDir work;
    const QString out = work.filePath("a%1b%2c%3 d");
    const Result r = exportTool({"--frequency", "vysoky", "--distance", "300", "--out", out});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QStringList expected;
    for (const char* suffix : kUnitSuffixes) expected << QStringLiteral("kvelmor-5-300") + suffix;
    expected.sort();
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"a%1b%2c%3 d"});
}

// An export run as root in a shared folder must not write where a link under an output name
// points: the link is replaced by the file, and its target keeps its bytes.
void TestExport::symlinkUnderAnOutputNameIsReplacedNotFollowed()
{
    QTemporaryDir work;
    const QString target = work.filePath("elsewhere.txt");
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not yours\n");
    file.close();
    const QString out = work.filePath("shared");
    QVERIFY(QDir().mkpath(out));
    QVERIFY(QFile::link(target, out + "/kvelmor-0.6-350.csv"));
    QVERIFY(QFile::link(target, out + "/kvelmor-0.6-350-plot.png"));

    const Result r = exportTool({"--frequency", "stredni", "--distance", "350", "--out", out});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(contents(target), QByteArray("not yours\n"));
    for (const char* name : {"/kvelmor-0.6-350.csv", "/kvelmor-0.6-350-plot.png"}) {
        const QFileInfo written(out + name);
        QVERIFY2(!written.isSymLink() && written.isFile(), name);
    }
    QVERIFY(contents(out + "/kvelmor-0.6-350.csv").startsWith("j,detector_y_twips,"));
}

void TestExport::failedWritesToStandardOutputFail()
{
    for (const char* option : {"--version", "--help"}) {
        const Result r = exportTool({option}, {}, "/dev/full");
        QVERIFY2(r.exitCode == 1, option);
        QVERIFY2(r.err.contains(noSpaceText()), qPrintable(r.err));
    }
}

// Qt's own options are just unknown options here, refused like any other, and a display is never
// needed: the export runs offscreen whatever the environment asks for.
void TestExport::ownOptionsOnly()
{
    const Result r = exportTool({"-platform", "xcb", "--version"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains("'-platform'"), qPrintable(r.err));
    QTemporaryDir out;
    const Result x = exportTool({"--frequency", "nizky", "--distance", "400", "--out", out.path()},
                                {"QT_QPA_PLATFORM=xcb", "DISPLAY=:97"});
    QVERIFY2(x.exitCode == 0, qPrintable(x.err));
    QVERIFY(QFileInfo::exists(out.filePath("kvelmor-0.03-400.png")));
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
    QCOMPARE(r.out.trimmed(), QStringLiteral("kvelmor-export " KVELMOR_VERSION));
    r = exportTool({"--frequency", "ultra", "--distance", "350", "--out", "x"},
                   {"LC_ALL=cs_CZ.UTF-8"});
    QVERIFY(r.err.contains(QStringLiteral("neznámý kmitočet")));
}

// The reason comes from the system, in the user's language where the C library has a
// translation: Czech under cs_CZ, English under csb_PL (Kashubian, not Czech) and C.
void TestExport::reasonsSpeakTheUsersLanguage()
{
    QTemporaryDir work;
    QFile blocker(work.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QStringList arguments{"--all", "--out", work.filePath("blocker/sub")};

    locale_t czechLocale = newlocale(LC_ALL_MASK, "cs_CZ.UTF-8", locale_t(nullptr));
    if (!czechLocale) QSKIP("the cs_CZ.UTF-8 locale is not installed (scripts/setup makes it)");
    const QString czechReason = QString::fromLocal8Bit(strerror_l(ENOTDIR, czechLocale));
    freelocale(czechLocale);
    locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QString englishReason = QString::fromLocal8Bit(strerror_l(ENOTDIR, c));
    freelocale(c);
    QVERIFY2(czechReason != englishReason, "the C library has no Czech texts (libc-l10n)");

    Result r = exportTool(arguments, {"LC_ALL=cs_CZ.UTF-8", "LANGUAGE=de"});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err.trimmed(), QStringLiteral("kvelmor-export: nelze založit adresář %1: %2")
                                  .arg(work.filePath("blocker"), czechReason));
    for (const char* locale : {"LC_ALL=csb_PL.UTF-8", "LC_ALL=C"}) {
        r = exportTool(arguments, {locale, "LANG=cs_CZ.UTF-8"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err.trimmed(), QStringLiteral("kvelmor-export: cannot create directory %1: %2")
                                      .arg(work.filePath("blocker"), englishReason));
    }
    r = exportTool({"--help"}, {"LC_ALL=", "LC_MESSAGES=csb_PL.UTF-8", "LANG=cs_CZ.UTF-8"});
    QVERIFY(r.out.startsWith("Usage:"));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
