// Every front end draws a run with the same pixels: for every setting at ratios 1 and 2, the
// desktop window's image, the PNG kvelmor-export writes, the page's picture on screen and the PNG
// the page saves are the same outside the scene labels' boxes (which each front end letters in
// its own fonts); the export's PNG at scale 4 too.
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

#include "windowtest.h"
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of these headers, nor needs them
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "fakehost.h"
#include "layout/controls.h"
#include "layout/settings.h"
#include "run/experiment.h"
#include "web/pagepicture.h"
#endif

using namespace kvelmor;

namespace {

const QSize kClientArea(765, 560);
constexpr QRgb kGrey = 0xFFC0C0C0;
constexpr int kExportMilliseconds = 100000;  // the slowest export here takes some 10 s

// A picture's pixel as the toolkit's opaque QRgb, the grey window where nothing was drawn.
QRgb overGrey(std::uint32_t word)  // 0xAABBGGRR
{
    return word ? qRgb(word & 0xFF, (word >> 8) & 0xFF, (word >> 16) & 0xFF) : kGrey;
}

QRgb rgbaAt(const std::vector<std::uint8_t>& rgba, int width, int x, int y)
{
    const std::uint8_t* p = &rgba[(std::size_t(y) * width + x) * 4];
    return qRgba(p[0], p[1], p[2], p[3]);
}

struct Setting {
    const char* option;
    const char* distance;
};

std::vector<Setting> settings()
{
    std::vector<Setting> all;
    for (const FrequencyWord& word : kFrequencyWords)
        for (const char* distance : {"300", "350", "400"})
            all.push_back({word.option.data(), distance});
#ifdef KVELMOR_SANITIZED  // the sanitizers slow the export down several times: one setting
    all = {{"op06", "350"}};
#endif
    return all;
}

}  // namespace

class TestSamePicture : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyFrontEndDrawsTheSamePixels_data();
    void everyFrontEndDrawsTheSamePixels();

private:
    std::map<int, QString> exported_;  // scale -> the folder of the export's files
    std::vector<std::unique_ptr<QTemporaryDir>> dirs_;
};

// The export's PNGs at scales 1, 2 and 4, made side by side.
void TestSamePicture::initTestCase()
{
    std::vector<std::unique_ptr<QProcess>> exports;
    for (int scale : {1, 2, 4}) {
        dirs_.push_back(std::make_unique<QTemporaryDir>());
        QVERIFY(dirs_.back()->isValid());
        exported_[scale] = dirs_.back()->path();
        QStringList arguments{"--out", exported_[scale], "--scale", QString::number(scale)};
        if (scale == 4 || settings().size() == 1)
            arguments << "--frequency" << "stredni" << "--distance" << "350";
        else
            arguments << "--all";
        exports.push_back(std::make_unique<QProcess>());
        exports.back()->start(QStringLiteral(KVELMOR_EXPORT_BINARY), arguments);
    }
    for (auto& p : exports) {
        QVERIFY2(p->waitForFinished(kExportMilliseconds), "the export took too long");
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 p->readAllStandardError().constData());
    }
}

void TestSamePicture::everyFrontEndDrawsTheSamePixels_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<int>("ratio");
    for (const Setting& s : settings())
        for (int ratio : {1, 2}) QTest::addRow("%s at %s, x%d", s.option, s.distance, ratio)
                                     << s.option << s.distance << ratio;
    QTest::newRow("op06 at 350, x4") << "op06" << "350" << 4;
}

void TestSamePicture::everyFrontEndDrawsTheSamePixels()
{
    QFETCH(QString, option);
    QFETCH(QString, distance);
    QFETCH(int, ratio);

    // The window, run as a click of "Start" runs it.
    FrmKvelmor window(nullptr, ratio);
    find<QAbstractButton>(&window, qPrintable(option))->setChecked(true);
    find<QAbstractButton>(&window, qPrintable("opV" + distance))->setChecked(true);
    {
        WindowRunHost host(window);
        runExperiment(window.surface(), host);
    }
    const QString frequency = boxText(&window, "nFi");
    QRegion labels;
    for (SceneLabel label : kSceneLabels) {
        const QRect box = find<QLabel>(&window, sceneLabelName(label).data())->geometry();
        labels += QRect(box.topLeft() * ratio, box.size() * ratio);
    }

    // The page, on screen and saved, with the same settings.
    FakeHost host;
    host.boxes[SettingsBox::nFi] = frequency.toStdString();
    host.boxes[SettingsBox::nRozteč] = distance.toStdString();
    PagePicture page(kClientArea.width(), kClientArea.height(), ratio, {}, {});
    page.beginRun();
    runExperiment(page, host);
    const std::vector<std::uint8_t> saved =
        ratio <= 2 ? savedPicture(page.record(), ratio) : std::vector<std::uint8_t>{};

    const QImage png(QStringLiteral("%1/kvelmor-%2-%3.png").arg(exported_[ratio], frequency, distance));
    QCOMPARE(png.size(), kClientArea * ratio);
    QCOMPARE(page.picture().width(), png.width());
    QCOMPARE(page.picture().height(), png.height());
    QCOMPARE(saved.size(), ratio <= 2 ? std::size_t(png.width()) * png.height() * 4 : 0);

    const QImage& shown = window.surface().image();
    int compared = 0;
    int inked = 0;
    for (int y = 0; y < png.height(); ++y) {
        for (int x = 0; x < png.width(); ++x) {
            if (labels.contains(QPoint(x, y))) continue;
            const QRgb exported = png.pixel(x, y) | 0xFF000000u;
            const QRgb inWindow = qAlpha(shown.pixel(x, y)) ? shown.pixel(x, y) : kGrey;
            const QRgb onPage = overGrey(page.picture().pixel(x, y));
            const QRgb pageSaved = saved.empty() ? exported : rgbaAt(saved, png.width(), x, y);
            if (inWindow != exported || onPage != exported || pageSaved != exported) {
                QFAIL(qPrintable(QStringLiteral("(%1, %2): export %3, window %4, page %5, saved %6")
                                     .arg(x)
                                     .arg(y)
                                     .arg(exported, 0, 16)
                                     .arg(inWindow, 0, 16)
                                     .arg(onPage, 0, 16)
                                     .arg(pageSaved, 0, 16)));
            }
            ++compared;
            inked += exported != kGrey;
        }
    }
    QVERIFY(compared > png.width() * png.height() * 9 / 10);
    QVERIFY(inked > 20000 * ratio * ratio);  // the run is there to compare, not a grey picture
}

QTEST_MAIN(TestSamePicture)
#include "tst_samepicture.moc"
