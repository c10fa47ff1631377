// kvelmor-export --step J --paths N: one chain's CSV, SVG and PNG, the same as the explorer's own
// writers make them, under the names the help gives; bad steps and counts refused with status 2.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "app/chainimage.h"
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "explore/chainfiles.h"
#include "explore/paths.h"
#endif

using namespace kvelmor;

namespace {

struct Result {
    int exitCode;
    QString err;
};

Result exportTool(const QStringList& arguments, const QString& locale = QStringLiteral("C.UTF-8"))
{
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_MESSAGES", "LANG"}) environment.remove(name);
    environment.insert(QStringLiteral("LC_ALL"), locale);
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(KVELMOR_EXPORT_BINARY), arguments);
    if (!p.waitForFinished(120000)) return {-1, {}};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestExportChain : public QObject {
    Q_OBJECT

private slots:
    void writesTheExplorersFiles_data();
    void writesTheExplorersFiles();
    void refusesBadStepsAndCounts_data();
    void refusesBadStepsAndCounts();
};

void TestExportChain::writesTheExplorersFiles_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("paths");
    QTest::addColumn<QString>("language");  // --lang; none: the locale's
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("title");
    QTest::newRow("střední 350, the run's chain")
        << "0.6" << 350 << 110 << 2003 << "cs"
        << "C.UTF-8" << 1 << "Kmitočet fotonu: střední, Detektor-Clona: 350, krok 110, N = 2003";
    QTest::newRow("vysoký 300, two arrows, in English")
        << "5" << 300 << 0 << 2 << "en"
        << "cs_CZ.UTF-8" << 2 << "Photon frequency: highest, detector to slit: 300, step 0, N = 2";
    QTest::newRow("nízký 400, continuous, ×4") << "0.03" << 400 << 220 << 0 << "cs"
                                               << "C.UTF-8" << 4
                                               << "Kmitočet fotonu: nízký, Detektor-Clona: "
                                                  "400, krok 220, N = ∞";
    QTest::newRow("nižší 350 in an English locale, in English")
        << "0.2" << 350 << 60 << 50 << ""
        << "C.UTF-8" << 1 << "Photon frequency: low, detector to slit: 350, step 60, N = 50";
    QTest::newRow("vyšší 400 in a Czech locale, in Czech")
        << "1" << 400 << 200 << 500 << ""
        << "cs_CZ.UTF-8" << 2 << "Kmitočet fotonu: vyšší, Detektor-Clona: 400, krok 200, N = 500";
}

void TestExportChain::writesTheExplorersFiles()
{
    QFETCH(QString, frequency);
    QFETCH(int, distance);
    QFETCH(int, step);
    QFETCH(int, paths);
    QFETCH(QString, language);
    QFETCH(QString, locale);
    QFETCH(int, scale);
    QFETCH(QString, title);
    QTemporaryDir dir;
    QStringList arguments{
        "--frequency", frequency,
        "--distance",  QString::number(distance),
        "--step",      QString::number(step),
        "--paths",     paths == 0 ? QStringLiteral("inf") : QString::number(paths),
        "--scale",     QString::number(scale),
        "--out",       dir.path()};
    if (!language.isEmpty()) arguments << "--lang" << language;
    const Result result = exportTool(arguments, locale);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(result.err.isEmpty());

    Explorer explorer(*exploreSettingFor(frequency.toStdString(), distance));
    explorer.choose(step, paths);
    const QString base = QString::fromStdString(chainFileBase(explorer.setting(), step, paths));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList({base + ".csv", base + ".png", base + ".svg"}));
    QVERIFY(base.endsWith(paths == 0 ? QStringLiteral("-paths-inf")
                                     : QStringLiteral("-paths-%1").arg(paths)));

    // One language in every file, its words all of it: the title names the frequency in it too.
    const Language lang = title.startsWith("Photon") ? Language::English : Language::Czech;
    const std::string svg = chainSvg(explorer, lang);
    QCOMPARE(contents(dir.filePath(base + ".csv")),
             QByteArray::fromStdString(chainCsv(explorer.chain())));
    QCOMPARE(contents(dir.filePath(base + ".svg")), QByteArray::fromStdString(svg));
    QVERIFY(QString::fromStdString(svg).contains("<title>" + title + "</title>"));

    // The PNG: the explorer's own picture of the chain, the same pixels as the page's outside
    // the boxes of its texts, which the toolkit draws; the title's ink inside its box.
    const QImage png = QImage(dir.filePath(base + ".png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(png.size(), QSize(kChainPictureWidth, kChainPictureHeight) * scale);
    QImage drawn = chainImage(explorer, lang, scale);
    drawn.setDevicePixelRatio(1);  // a PNG file keeps no ratio
    QCOMPARE(png, drawn.convertToFormat(QImage::Format_RGB32));
    const ChainPixels pixels = chainPixels(explorer, lang, scale);
    QCOMPARE(pixels.texts.size(), std::size_t(2));
    QCOMPARE(QString::fromStdString(pixels.texts.front().text), title);
    int differ = 0, ink = 0, green = 0;
    for (int y = 0; y < png.height(); ++y) {
        for (int x = 0; x < png.width(); ++x) {
            const std::uint8_t* p = &pixels.rgba[(std::size_t(y) * png.width() + x) * 4];
            const bool inText = std::any_of(pixels.texts.begin(), pixels.texts.end(), [&](auto& t) {
                return QRectF(t.box.left, t.box.top, t.box.width, t.box.height)
                    .contains((x + 0.5) / scale, (y + 0.5) / scale);
            });
            const QRgb pixel = png.pixel(x, y);
            if (!inText) differ += pixel != qRgb(p[0], p[1], p[2]);
            ink += inText && qGray(pixel) < 100;
            green += pixel == qRgb(0, 0x96, 0);
        }
    }
    QCOMPARE(differ, 0);
    QVERIFY2(ink > 200 * scale, qPrintable(QString::number(ink)));
    QVERIFY(green > 0);  // the chain's sum arrow
}

void TestExportChain::refusesBadStepsAndCounts_data()
{
    QTest::addColumn<QStringList>("chain");
    QTest::addColumn<QString>("says");  // in the English message
    QTest::newRow("step 221") << QStringList{"--step", "221"} << "unknown step '221' (0 to 220)";
    QTest::newRow("one arrow") << QStringList{"--step", "3", "--paths", "1"}
                               << "unknown number of arrows '1' (2 to 2003 or inf)";
    QTest::newRow("paths alone") << QStringList{"--paths", "20"} << "--paths goes with --step";
}

void TestExportChain::refusesBadStepsAndCounts()
{
    QFETCH(QStringList, chain);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const Result result = exportTool(QStringList{"--lang", "en", "--frequency", "medium",
                                                 "--distance", "350", "--out", dir.path()} +
                                     chain);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(says), qPrintable(result.err));
    QVERIFY(result.err.contains("kvelmor-export --help"));
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_MAIN(TestExportChain)
#include "tst_exportchain.moc"
