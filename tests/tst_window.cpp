// The main window as a user first meets it: its controls, the settings they write, the keyboard.
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <memory>

#include "windowtest.h"

using kvelmor::FrmKvelmor;

namespace {

// Where a part of the scroll bar (an arrow, the thumb) is drawn, as its style places it.
QRect partOf(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = Qt::Horizontal;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->value();
    opt.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}

}  // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithItsCaptionAndSize();
    void showsOnlyTheControlsOfTheLayout();
    void placesControlsAtTheirTwips();
    void loadsTheDefaults();
    void optionRewritesOnlyItsOwnBox_data();
    void optionRewritesOnlyItsOwnBox();
    void arrowKeysSelectWithinAGroup();
    void scrollBarWritesThirtyTimesPlusOne();
    void scrollBarWaitsForTheEndOfADrag();
    void tabVisitsControlsInTabIndexOrder();
    void enterAndEscapePressNothing();
    void captionsUseTheirFonts();
    void resizingMovesNoControl();
    void konecEndsTheProgram();

private:
    std::unique_ptr<FrmKvelmor> window;
};

void TestWindow::init()
{
    window = std::make_unique<FrmKvelmor>();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestWindow::cleanup()
{
    window.reset();
}

void TestWindow::opensWithItsCaptionAndSize()
{
    QCOMPARE(window->objectName(), QStringLiteral("frmKvelmor"));
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Kvelmor - ")));
    QVERIFY(window->windowTitle().size() > 12);
    QCOMPARE(window->size(), QSize(765, 560));
    QCOMPARE(window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(QApplication::focusWidget(), find(window.get(), "cmdStart"));
}

void TestWindow::showsOnlyTheControlsOfTheLayout()
{
    for (const char* name :
         {"labNeurcitost", "cmdStart", "cmdKonec", "LabStart", "HScroll1", "frmFrekvence", "op5",
          "op1", "op06", "op02", "op003", "frmVzdalenost", "opV300", "opV350", "opV400"}) {
        QVERIFY2(find(window.get(), name)->isVisible(), name);
    }
    for (const char* name :
         {"frmAnimace", "opRychlá", "OpPomalejší", "opPomalá", "labZdroj", "labClona",
          "labDetektorB", "labPravděpodobnost", "nSpomaleni", "nRozteč", "nFi"}) {
        QVERIFY2(!find(window.get(), name)->isVisible(), name);
    }
    QCOMPARE(find(window.get(), "op003")->parent(), find(window.get(), "frmFrekvence"));
    QCOMPARE(find(window.get(), "opV400")->parent(), find(window.get(), "frmVzdalenost"));
    QCOMPARE(find(window.get(), "opPomalá")->parent(), find(window.get(), "frmAnimace"));
    QCOMPARE(find<QLabel>(window.get(), "LabStart")->text(),
             QStringLiteral("Klepněte na tlačítko Start"));
    QCOMPARE(find<QGroupBox>(window.get(), "frmFrekvence")->title(),
             QStringLiteral("Kmitočet fotonu"));
    QCOMPARE(find<QRadioButton>(window.get(), "op1")->text(), QStringLiteral("vyšší"));
}

void TestWindow::placesControlsAtTheirTwips()
{
    QCOMPARE(find(window.get(), "cmdStart")->geometry(), QRect(560, 0, 65, 33));
    QCOMPARE(find(window.get(), "cmdKonec")->geometry(), QRect(632, 0, 65, 33));
    QCOMPARE(find(window.get(), "HScroll1")->geometry(), QRect(176, 32, 161, 17));
    QCOMPARE(find(window.get(), "frmFrekvence")->geometry(), QRect(8, 8, 121, 105));
    QCOMPARE(find(window.get(), "op1")->geometry(), QRect(16, 31, 57, 17));  // 468 twips rounds
    QCOMPARE(find(window.get(), "opV300")->geometry(), QRect(24, 24, 49, 13));
    QCOMPARE(find(window.get(), "LabStart")->geometry(), QRect(216, 184, 233, 33));
    auto* label = find<QLabel>(window.get(), "labClona");
    QVERIFY(label->wordWrap());
    QVERIFY(label->autoFillBackground());
    QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void TestWindow::loadsTheDefaults()
{
    QCOMPARE(boxText(window.get(), "nFi"), QStringLiteral("0.6"));
    QCOMPARE(boxText(window.get(), "nRozteč"), QStringLiteral("350"));
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QStringLiteral("1"));
    QVERIFY(find<QRadioButton>(window.get(), "op06")->isChecked());
    QVERIFY(find<QRadioButton>(window.get(), "opV350")->isChecked());
    QVERIFY(find<QRadioButton>(window.get(), "opRychlá")->isChecked());
    QCOMPARE(find<QScrollBar>(window.get(), "HScroll1")->value(), 0);
    int checked = 0;
    for (auto* option : window->findChildren<QRadioButton*>()) checked += option->isChecked();
    QCOMPARE(checked, 3);
}

void TestWindow::optionRewritesOnlyItsOwnBox_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("vysoký") << "op5"
                            << "nFi"
                            << "5";
    QTest::newRow("vyšší") << "op1"
                           << "nFi"
                           << "1";
    QTest::newRow("nižší") << "op02"
                           << "nFi"
                           << "0.2";
    QTest::newRow("nízký") << "op003"
                           << "nFi"
                           << "0.03";
    QTest::newRow("300") << "opV300"
                         << "nRozteč"
                         << "300";
    QTest::newRow("400") << "opV400"
                         << "nRozteč"
                         << "400";
}

void TestWindow::optionRewritesOnlyItsOwnBox()
{
    QFETCH(QString, option);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QMap<QString, QString> before;
    for (const char* name : {"nFi", "nRozteč", "nSpomaleni"})
        before[name] = boxText(window.get(), name);

    auto* button = find<QRadioButton>(window.get(), qPrintable(option));
    clickOn(button);
    QVERIFY(button->isChecked());
    for (const char* name : {"nFi", "nRozteč", "nSpomaleni"}) {
        const QString expected = QString::fromUtf8(name) == box ? text : before[name];
        QCOMPARE(boxText(window.get(), name), expected);
    }
    // The other group keeps its selection.
    const char* other = box == "nFi" ? "opV350" : "op06";
    QVERIFY(find<QRadioButton>(window.get(), other)->isChecked());
}

void TestWindow::arrowKeysSelectWithinAGroup()
{
    auto* op06 = find<QRadioButton>(window.get(), "op06");
    op06->setFocus();
    QTest::keyClick(op06, Qt::Key_Down);
    QVERIFY(find<QRadioButton>(window.get(), "op02")->isChecked());
    QCOMPARE(boxText(window.get(), "nFi"), QStringLiteral("0.2"));
    QCOMPARE(boxText(window.get(), "nRozteč"), QStringLiteral("350"));
}

void TestWindow::scrollBarWritesThirtyTimesPlusOne()
{
    auto* bar = find<QScrollBar>(window.get(), "HScroll1");
    bar->setFocus();
    for (int i = 0; i < 10; ++i) QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QStringLiteral("301"));
    QTest::keyClick(bar, Qt::Key_End);
    QCOMPARE(bar->value(), 32767);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QStringLiteral("983011"));
    QTest::keyClick(bar, Qt::Key_Left);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QStringLiteral("982981"));
    QTest::keyClick(bar, Qt::Key_Home);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QStringLiteral("1"));

    // A click on the right arrow is one step.
    const QRect addLine = partOf(bar, QStyle::SC_ScrollBarAddLine);
    QTest::mouseClick(bar, Qt::LeftButton, {}, addLine.center());
    QCOMPARE(bar->value(), 1);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QStringLiteral("31"));
}

void TestWindow::scrollBarWaitsForTheEndOfADrag()
{
    auto* bar = find<QScrollBar>(window.get(), "HScroll1");
    const QRect thumb = partOf(bar, QStyle::SC_ScrollBarSlider);

    QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
    QTest::mouseMove(bar, thumb.center() + QPoint(40, 0));
    QTest::mouseMove(bar, thumb.center() + QPoint(60, 0));
    QVERIFY(bar->isSliderDown());
    QVERIFY(bar->sliderPosition() > 0);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QStringLiteral("1"));  // not while dragging
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb.center() + QPoint(60, 0));
    QVERIFY(bar->value() > 0);
    QCOMPARE(boxText(window.get(), "nSpomaleni"), QString::number(bar->value() * 30 + 1));
}

void TestWindow::tabVisitsControlsInTabIndexOrder()
{
    QStringList visited;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited,
             (QStringList{"cmdKonec", "op06", "opV350", "HScroll1", "cmdStart", "cmdKonec"}));

    // After another choice Tab stops at the new selection, in its own place of the order (19).
    clickOn(find<QRadioButton>(window.get(), "op5"));
    find(window.get(), "cmdKonec")->setFocus();
    visited.clear();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"opV350", "op5", "HScroll1"}));
}

void TestWindow::enterAndEscapePressNothing()
{
    QSignalSpy start(find<QPushButton>(window.get(), "cmdStart"), &QPushButton::clicked);
    QSignalSpy konec(find<QPushButton>(window.get(), "cmdKonec"), &QPushButton::clicked);
    for (const char* name : {"op06", "opV350", "HScroll1", "cmdKonec"}) {
        QWidget* w = find(window.get(), name);
        w->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(w, key);
    }
    QCOMPARE(start.count(), 0);
    QCOMPARE(konec.count(), 0);
    QVERIFY(window->isVisible());
    for (auto* button : window->findChildren<QAbstractButton*>()) {
        QVERIFY2(!button->text().contains('&'), qPrintable(button->objectName()));
        QVERIFY(button->shortcut().isEmpty());
    }
    for (auto* button : window->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void TestWindow::captionsUseTheirFonts()
{
    struct Expect {
        const char* name;
        const char* family;
        int pixels;
        bool bold;
    };
    const Expect expected[] = {
        {"labNeurcitost", "Times New Roman", 19, true},
        {"cmdStart", "Times New Roman", 21, true},
        {"cmdKonec", "Times New Roman", 19, true},
        {"LabStart", "Times New Roman", 21, true},
        {"frmFrekvence", "Arial", 13, true},
        {"labClona", "Arial", 13, true},
        {"op06", "Arial", 13, false},
        {"opV400", "Arial", 13, false},
    };
    for (const Expect& e : expected) {
        const QFont font = find(window.get(), e.name)->font();
        QCOMPARE(font.family(), QString::fromLatin1(e.family));
        QCOMPARE(font.pixelSize(), e.pixels);
        QCOMPARE(font.bold(), e.bold);
        // With the set-up's fonts the faces resolve to their metric-compatible twins.
        const QString resolved = QFontInfo(font).family();
        QVERIFY2(resolved.startsWith(QStringLiteral("Liberation")), qPrintable(resolved));
    }
    // "nízký" takes the window's own font, not its frame's bold nor its neighbours' Arial 13.
    const QFont nizky = find(window.get(), "op003")->font();
    QCOMPARE(nizky, window->font());
    QVERIFY(!nizky.bold());
    QVERIFY(nizky.pixelSize() != 13);
    QCOMPARE(find(window.get(), "opRychlá")->font(), window->font());
    QVERIFY(QFontMetrics(nizky).inFont(QChar(u'í')));
}

void TestWindow::resizingMovesNoControl()
{
    QMap<QString, QRect> before;
    for (auto* w : window->findChildren<QWidget*>()) before[w->objectName()] = w->geometry();
    window->resize(1000, 800);
    QTest::qWait(10);
    for (auto* w : window->findChildren<QWidget*>())
        QCOMPARE(w->geometry(), before[w->objectName()]);
}

void TestWindow::konecEndsTheProgram()
{
    QTimer::singleShot(0, this, [this] { clickOn(find<QPushButton>(window.get(), "cmdKonec")); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });  // never hang the suite
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
