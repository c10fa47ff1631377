// What a screen reader hears when a run has finished: the setting, and where the pattern's central
// maximum and first minima lie on the detector line, found in made-up patterns and, for every
// setting, against the worksheet's table of the same run (its own, processor-independent sums).
#include <QtTest>

#include "layout/description.h"
#include "run/numbertext.h"
#include "worksheet/table.h"

using namespace kvelmor;

namespace {

std::optional<int> height(int step)
{
    return step < 0 ? std::nullopt : std::optional(7000 - 25 * step);
}

}  // namespace

class TestRunSummary : public QObject {
    Q_OBJECT

private slots:
    void findsTheMaximumAndTheFirstMinima_data();
    void findsTheMaximumAndTheFirstMinima();
    void everySettingAgainstItsTable();
};

// Patterns given from the first step (the bottom of the line) up; the expected places are steps
// (height 7000 - 25 step), -1 for a minimum beyond the line's end.
void TestRunSummary::findsTheMaximumAndTheFirstMinima_data()
{
    QTest::addColumn<QList<double>>("pattern");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("above");
    QTest::addColumn<int>("below");
    QTest::newRow("falls to both ends") << QList<double>{1, 2, 30, 2, 1} << 2 << -1 << -1;
    QTest::newRow("rises again above") << QList<double>{0, 1, 30, 1, 0, 2} << 2 << 4 << -1;
    QTest::newRow("ripples within the band")
        << QList<double>{0, 1, 0, 8, 6, 9, 6, 8, 0, 1, 0} << 5 << 8 << 2;
    QTest::newRow("never below a tenth") << QList<double>{5, 6, 9, 6, 5, 6} << 2 << -1 << -1;
    QTest::newRow("flat minima: the farthest")
        << QList<double>{2, 0, 0, 30, 0, 0, 2} << 3 << 5 << 1;
    QTest::newRow("flat top: the lowest") << QList<double>{0, 5, 5, 0, 1} << 1 << 3 << -1;
    QTest::newRow("equal maxima: the lowest") << QList<double>{5, 0, 5, 0, 5} << 0 << 1 << -1;
    QTest::newRow("maximum at the top") << QList<double>{1, 0, 2, 30} << 3 << -1 << 1;
    QTest::newRow("one step") << QList<double>{1} << 0 << -1 << -1;
}

void TestRunSummary::findsTheMaximumAndTheFirstMinima()
{
    QFETCH(QList<double>, pattern);
    QFETCH(int, maximum);
    QFETCH(int, above);
    QFETCH(int, below);
    const std::vector<double> p(pattern.begin(), pattern.end());
    const PatternSummary s = summarisePattern(p);
    QCOMPARE(s.maximum, *height(maximum));
    QCOMPARE(s.minimumAbove, height(above));
    QCOMPARE(s.minimumBelow, height(below));
}

// Every setting: the summary's numbers are where the worksheet's squared lengths have their
// largest value and, once fallen below a tenth of it, turn upwards again on either side. The
// pattern is symmetric about the slit's centre, level with it at 3500 twips: its minima lie as
// far above as below, where the pattern is coarser than the detector's steps.
void TestRunSummary::everySettingAgainstItsTable()
{
    int withMinima = 0;
    for (const char* frequency : {"0.03", "0.2", "0.6", "1", "5"}) {
        for (int distance : {300, 350, 400}) {
            const std::vector<StepRow> rows = settingTable(frequency, distance);
            QCOMPARE(rows.size(), std::size_t(221));
            std::size_t top = 0;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (rows[i].squaredLength > rows[top].squaredLength * (1 + 1e-9)) top = i;
            }
            const double tenth = rows[top].squaredLength / 10;
            const auto minimum = [&](int step) -> std::optional<int> {
                bool fallen = false;
                for (std::size_t i = top; i + step < rows.size(); i += step) {
                    fallen = fallen || rows[i].squaredLength < tenth;
                    if (fallen && rows[i + step].squaredLength > rows[i].squaredLength)
                        return int(rows[i].detectorY);
                }
                return std::nullopt;
            };
            const std::string said =
                runSummary(frequency, std::to_string(distance), Language::English);
            const QString where = QStringLiteral("%1 at %2: %3")
                                      .arg(frequency)
                                      .arg(distance)
                                      .arg(QString::fromStdString(said));
            const auto at = [](std::optional<int> h) {
                return h ? QStringLiteral("at %1 twips").arg(*h)
                         : QStringLiteral("beyond the end of the line");
            };
            const std::optional<int> up = minimum(+1), down = minimum(-1);
            // The window's own sums may put the longest bar at either of two mirror steps.
            const int mirror = 7000 - int(rows[top].detectorY);
            const QString expected = QStringLiteral("height of %1 twips; the first minimum above "
                                                    "it is %2 and below it %3.");
            QVERIFY2(QString::fromStdString(said).contains(
                         expected.arg(int(rows[top].detectorY)).arg(at(up), at(down))) ||
                         QString::fromStdString(said).contains(
                             expected.arg(mirror).arg(at(up), at(down))),
                     qPrintable(where));
            if (frequency == std::string("5")) continue;  // finer than a step: no symmetry
            QVERIFY2(up.has_value() == down.has_value(), qPrintable(where));
            if (up) QVERIFY2(3500 - *up == *down - 3500, qPrintable(where));
            withMinima += up.has_value();
        }
    }
    QVERIFY(withMinima >= 6);  // the lowest frequency's first minima lie beyond the line's ends
}

QTEST_MAIN(TestRunSummary)
#include "tst_runsummary.moc"
