// kvelmor-export --step J --paths N: one chain's CSV, SVG and PNG, the same as the explorer's own
// writers make them, under the names the help gives; bad steps and counts refused with status 2.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "app/svgpicture.h"
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

Result exportTool(const QStringList& arguments)
{
    QProcess p;
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
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("scale");
    QTest::newRow("střední 350, the run's chain") << "0.6" << 350 << 110 << 2003 << "cs" << 1;
    QTest::newRow("vysoký 300, two arrows, in English") << "5" << 300 << 0 << 2 << "en" << 2;
    QTest::newRow("nízký 400, continuous") << "0.03" << 400 << 220 << 0 << "cs" << 1;
}

void TestExportChain::writesTheExplorersFiles()
{
    QFETCH(QString, frequency);
    QFETCH(int, distance);
    QFETCH(int, step);
    QFETCH(int, paths);
    QFETCH(QString, language);
    QFETCH(int, scale);
    QTemporaryDir dir;
    const Result result =
        exportTool({"--frequency", frequency, "--distance", QString::number(distance), "--step",
                    QString::number(step), "--paths",
                    paths == 0 ? QStringLiteral("inf") : QString::number(paths), "--lang", language,
                    "--scale", QString::number(scale), "--out", dir.path()});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(result.err.isEmpty());

    Explorer explorer(*exploreSettingFor(frequency.toStdString(), distance));
    explorer.choose(step, paths);
    const QString base = QString::fromStdString(chainFileBase(explorer.setting(), step, paths));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList({base + ".csv", base + ".png", base + ".svg"}));
    QVERIFY(base.endsWith(paths == 0 ? QStringLiteral("-paths-inf")
                                     : QStringLiteral("-paths-%1").arg(paths)));

    const Language lang = language == "en" ? Language::English : Language::Czech;
    const std::string svg = chainSvg(explorer, lang, lang);
    QCOMPARE(contents(dir.filePath(base + ".csv")),
             QByteArray::fromStdString(chainCsv(explorer.chain())));
    QCOMPARE(contents(dir.filePath(base + ".svg")), QByteArray::fromStdString(svg));
    const QImage png(dir.filePath(base + ".png"));
    QCOMPARE(png.size(), QSize(kChainPictureWidth, kChainPictureHeight) * scale);
    QImage drawn = svgPicture(svg, QSize(kChainPictureWidth, kChainPictureHeight), scale);
    drawn.setDevicePixelRatio(1);  // a PNG file keeps no ratio
    QCOMPARE(png.convertToFormat(QImage::Format_RGB32),
             drawn.convertToFormat(QImage::Format_RGB32));
    // The chain's sum arrow shows in its green somewhere in the picture.
    bool green = false;
    for (int y = 0; y < png.height() && !green; y += 1)
        for (int x = 0; x < png.width() && !green; ++x) green = png.pixel(x, y) == qRgb(0, 0x96, 0);
    QVERIFY(green);
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
