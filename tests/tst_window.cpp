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
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of this header, nor needs them
#include "layout/controls.h"
#include "layout/settings.h"
#endif

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
    void arrowKeysSelectWithinAGroup_data();
    void arrowKeysSelectWithinAGroup();
    void scrollBarWritesThirtyTimesPlusOne();
    void scrollBarWaitsForTheEndOfADrag();
    void tabVisitsControlsInTabIndexOrder_data();
    void tabVisitsControlsInTabIndexOrder();
    void enterPressesOnlyTheFocusedButton();
    void heldEnterPressesStartOnce();
    void everyNameTheProgramUsesIsInTheLayout();
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

void TestWindow::arrowKeysSelectWithinAGroup_data()
{
    QTest::addColumn<QStringList>("group");  // the options top to bottom
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("texts");  // what each option writes
    QTest::newRow("Kmitočet fotonu")
        << QStringList{"op5", "op1", "op06", "op02", "op003"} << QStringLiteral("nFi")
        << QStringList{"5", "1", "0.6", "0.2", "0.03"};
    QTest::newRow("Detektor-Clona") << QStringList{"opV300", "opV350", "opV400"}
                                    << QStringLiteral("nRozteč")
                                    << QStringList{"300", "350", "400"};
}

// From every option of a group, Down and Right go to the next one in the frame's order and Up and
// Left to the previous one, round from one end to the other; the focus and the box follow.
void TestWindow::arrowKeysSelectWithinAGroup()
{
    QFETCH(QStringList, group);
    QFETCH(QString, box);
    QFETCH(QStringList, texts);
    const int n = int(group.size());
    const QByteArray boxName = box.toUtf8();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left}) {
        const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1 : -1;
        for (int i = 0; i < n; ++i) {
            auto* from = find<QRadioButton>(window.get(), group[i].toUtf8().constData());
            from->setChecked(true);
            from->setFocus();
            QTest::keyClick(from, key);
            const int j = ((i + step) % n + n) % n;
            const QString where = QStringLiteral("%1 from %2").arg(QKeySequence(key).toString(),
                                                                   group[i]);
            auto* to = find<QRadioButton>(window.get(), group[j].toUtf8().constData());
            QVERIFY2(to->isChecked(), qPrintable(where));
            QVERIFY2(!from->isChecked(), qPrintable(where));
            QVERIFY2(to->hasFocus(), qPrintable(where));
            QCOMPARE(boxText(window.get(), boxName.constData()), texts[j]);
        }
    }
    // With a modifier held the arrows still go by the frame's order.
    auto* first = find<QRadioButton>(window.get(), group[0].toUtf8().constData());
    first->setChecked(true);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ControlModifier);
    QVERIFY(find<QRadioButton>(window.get(), group[2].toUtf8().constData())->isChecked());
    QCOMPARE(boxText(window.get(), boxName.constData()), texts[2]);

    // The other group keeps its selection and its box.
    if (box == QStringLiteral("nFi")) {
        QCOMPARE(boxText(window.get(), "nRozteč"), QStringLiteral("350"));
    } else {
        QCOMPARE(boxText(window.get(), "nFi"), QStringLiteral("0.6"));
    }
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

void TestWindow::tabVisitsControlsInTabIndexOrder_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QStringList>("cycle");  // from "Start" round to "Start"
    // Tab indices: Start 1, Konec 7, vyšší 9, střední 10, nižší 12, 350 15, 300 17, 400 18,
    // vysoký 19, nízký 20, the scroll bar 26.
    const struct {
        const char* frequency;
        int frequencyTab;
    } frequencies[] = {{"op5", 19}, {"op1", 9}, {"op06", 10}, {"op02", 12}, {"op003", 20}};
    const struct {
        const char* distance;
        int distanceTab;
    } distances[] = {{"opV300", 17}, {"opV350", 15}, {"opV400", 18}};
    for (const auto& f : frequencies) {
        for (const auto& d : distances) {
            QStringList cycle{"cmdKonec"};
            if (f.frequencyTab < d.distanceTab) {
                cycle << f.frequency << d.distance;
            } else {
                cycle << d.distance << f.frequency;
            }
            cycle << "HScroll1" << "cmdStart";
            QTest::addRow("%s %s", f.frequency, d.distance)
                << QString::fromUtf8(f.frequency) << QString::fromUtf8(d.distance) << cycle;
        }
    }
}

// Tab visits the two buttons, the selected option of each visible group and the scroll bar, in
// ascending tab index, whatever is selected; Shift+Tab goes the same way back.
void TestWindow::tabVisitsControlsInTabIndexOrder()
{
    QFETCH(QString, frequency);
    QFETCH(QString, distance);
    QFETCH(QStringList, cycle);
    clickOn(find<QRadioButton>(window.get(), frequency.toUtf8().constData()));
    clickOn(find<QRadioButton>(window.get(), distance.toUtf8().constData()));
    find(window.get(), "cmdStart")->setFocus();
    QStringList visited;
    for (int i = 0; i < cycle.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, cycle);

    QStringList back;
    for (int i = 0; i < cycle.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        back << QApplication::focusWidget()->objectName();
    }
    QStringList reversed(cycle.rbegin() + 1, cycle.rend());
    reversed << QStringLiteral("cmdStart");
    QCOMPARE(back, reversed);
}

// Enter (either key) presses the focused button once, as Space does; on any other control Enter
// and Esc press nothing, and Esc presses nothing anywhere.
void TestWindow::enterPressesOnlyTheFocusedButton()
{
    QSignalSpy start(find<QPushButton>(window.get(), "cmdStart"), &QPushButton::clicked);
    QSignalSpy konec(find<QPushButton>(window.get(), "cmdKonec"), &QPushButton::clicked);
    connect(find<QPushButton>(window.get(), "cmdKonec"), &QPushButton::clicked, window.get(),
            [this] { window->show(); }, Qt::QueuedConnection);  // stay open for the next keys
    for (const char* name : {"op06", "opV350", "HScroll1", "cmdKonec", "cmdStart"}) {
        QWidget* w = find(window.get(), name);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Escape);
    }
    for (const char* name : {"op06", "opV350", "HScroll1"}) {
        QWidget* w = find(window.get(), name);
        w->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(w, key);
        QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
    }
    QCOMPARE(start.count(), 0);
    QCOMPARE(konec.count(), 0);

    auto* konecButton = find(window.get(), "cmdKonec");
    konecButton->setFocus();
    QTest::keyClick(konecButton, Qt::Key_Return);
    QCOMPARE(konec.count(), 1);
    QTest::keyClick(konecButton, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(konec.count(), 2);
    QCOMPARE(start.count(), 0);

    for (auto* button : window->findChildren<QAbstractButton*>()) {
        QVERIFY2(!button->text().contains('&'), qPrintable(button->objectName()));
        QVERIFY(button->shortcut().isEmpty());
    }
    for (auto* button : window->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

// A held key repeats its presses; "Start" runs once, not again for every repeat.
void TestWindow::heldEnterPressesStartOnce()
{
    auto* start = find<QPushButton>(window.get(), "cmdStart");
    QSignalSpy clicks(start, &QPushButton::clicked);
    start->setFocus();
    for (bool repeat : {false, true, true, true}) {
        if (repeat) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, {}, true);
            QApplication::sendEvent(start, &release);
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, {}, repeat);
        QApplication::sendEvent(start, &press);
    }
    QCOMPARE(clicks.count(), 1);
}

// The settings boxes, option buttons and scene labels that the settings actions and the run reach
// by name are all controls of the layout, of the kind they are taken for.
void TestWindow::everyNameTheProgramUsesIsInTheLayout()
{
    using namespace kvelmor;
    auto isA = [](std::string_view name, ControlKind kind) {
        const ControlRow* row = findControl(name);
        return row && row->kind == kind;
    };
    for (const OptionAction& action : optionActions()) {
        QVERIFY2(isA(action.option, ControlKind::Option), action.option.data());
        QVERIFY2(isA(settingsBoxName(action.box), ControlKind::SettingsBox),
                 settingsBoxName(action.box).data());
    }
    for (SceneLabel label : kSceneLabels) {
        QVERIFY2(isA(sceneLabelName(label), ControlKind::Label), sceneLabelName(label).data());
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
    // Every control with a caption of its own font; the rest follow below.
    const Expect expected[] = {
        {"labNeurcitost", "Times New Roman", 19, true},
        {"cmdStart", "Times New Roman", 21, true},
        {"cmdKonec", "Times New Roman", 19, true},
        {"LabStart", "Times New Roman", 21, true},
        {"frmFrekvence", "Arial", 13, true},
        {"op5", "Arial", 13, false},
        {"op1", "Arial", 13, false},
        {"op06", "Arial", 13, false},
        {"op02", "Arial", 13, false},
        {"frmVzdalenost", "Arial", 13, true},
        {"opV300", "Arial", 13, false},
        {"opV350", "Arial", 13, false},
        {"opV400", "Arial", 13, false},
        {"frmAnimace", "Arial", 13, true},
        {"labZdroj", "Arial", 13, true},
        {"labClona", "Arial", 13, true},
        {"labDetektorB", "Arial", 13, true},
        {"labPravděpodobnost", "Arial", 13, true},
    };
    for (const Expect& e : expected) {
        const QFont font = find(window.get(), e.name)->font();
        QVERIFY2(!font.italic() && !font.underline() && !font.strikeOut(), e.name);
        const QString what = QStringLiteral("%1: %2 %3 px%4")
                                 .arg(QString::fromUtf8(e.name), font.family())
                                 .arg(font.pixelSize())
                                 .arg(font.bold() ? " bold" : "");
        QVERIFY2(font.family() == QString::fromLatin1(e.family), qPrintable(what));
        QVERIFY2(font.pixelSize() == e.pixels, qPrintable(what));
        QVERIFY2(font.bold() == e.bold, qPrintable(what));
        // With the set-up's fonts the faces resolve to their metric-compatible twins.
        const QString resolved = QFontInfo(font).family();
        QVERIFY2(resolved.startsWith(QStringLiteral("Liberation")), qPrintable(resolved));
    }
    // "nízký" takes the window's own font, not its frame's bold nor its neighbours' Arial 13.
    const QFont nizky = find(window.get(), "op003")->font();
    QCOMPARE(nizky, window->font());
    QVERIFY(!nizky.bold());
    QVERIFY(nizky.pixelSize() != 13);
    for (const char* name : {"opRychlá", "OpPomalejší", "opPomalá"}) {
        QCOMPARE(find(window.get(), name)->font(), window->font());
    }
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
