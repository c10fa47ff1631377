// What a screen reader finds in the window: every visible control under its Czech name, with a
// description where the caption alone does not say what it does, and the drawing area as an
// image that tells what the last run drew.
#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <memory>

#include "windowtest.h"

using kvelmor::FrmKvelmor;

namespace {

QAccessibleInterface* accessibleOf(QWidget* window, const char* name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(find(window, name));
    if (!iface) qFatal("%s has no accessible interface", name);
    return iface;
}

QWidget* pictureOf(QWidget* window)
{
    return find(window, "kresba");
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controlsHaveTheirCzechNames_data();
    void controlsHaveTheirCzechNames();
    void unclearControlsAreDescribed();
    void pictureIsAnImageBeneathTheControls();
    void pictureDescribesTheLastRun();
    void theEndOfARunIsAnnounced();

private:
    std::unique_ptr<FrmKvelmor> window;
};

void TestAccessibility::init()
{
    window = std::make_unique<FrmKvelmor>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestAccessibility::cleanup()
{
    window.reset();
}

void TestAccessibility::controlsHaveTheirCzechNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    const auto add = [](const char* control, const char* name, QAccessible::Role role) {
        QTest::newRow(control) << QString::fromUtf8(control) << QString::fromUtf8(name)
                               << int(role);
    };
    add("labNeurcitost", "Interference - Kvelmor", QAccessible::StaticText);
    add("cmdStart", "Start", QAccessible::Button);
    add("cmdKonec", "Konec", QAccessible::Button);
    add("LabStart", "Klepněte na tlačítko Start", QAccessible::StaticText);
    add("HScroll1", "Zpomalení", QAccessible::ScrollBar);
    add("frmFrekvence", "Kmitočet fotonu", QAccessible::Grouping);
    add("op5", "vysoký", QAccessible::RadioButton);
    add("op1", "vyšší", QAccessible::RadioButton);
    add("op06", "střední", QAccessible::RadioButton);
    add("op02", "nižší", QAccessible::RadioButton);
    add("op003", "nízký", QAccessible::RadioButton);
    add("frmVzdalenost", "Detektor-Clona", QAccessible::Grouping);
    add("opV300", "300", QAccessible::RadioButton);
    add("opV350", "350", QAccessible::RadioButton);
    add("opV400", "400", QAccessible::RadioButton);
}

void TestAccessibility::controlsHaveTheirCzechNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(int, role);
    QAccessibleInterface* iface = accessibleOf(window.get(), control.toUtf8().constData());
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(int(iface->role()), role);
    QVERIFY(!iface->state().invisible);
}

void TestAccessibility::unclearControlsAreDescribed()
{
    const struct {
        const char* control;
        const char* says;  // a word the description must hold
    } expected[] = {
        {"HScroll1", "Zpomalí"},
        {"frmFrekvence", "kmitočet"},
        {"frmVzdalenost", "vzdálenost"},
    };
    for (const auto& e : expected) {
        const QString description =
            accessibleOf(window.get(), e.control)->text(QAccessible::Description);
        QVERIFY2(description.contains(QString::fromUtf8(e.says)),
                 qPrintable(QStringLiteral("%1: \"%2\"").arg(e.control, description)));
    }
    // Options, buttons and labels say what they are by their captions alone.
    QVERIFY(accessibleOf(window.get(), "op06")->text(QAccessible::Description).isEmpty());
}

// The image covers the client area but lies beneath every control: a click on an option reaches
// the option, and Tab never stops on the image.
void TestAccessibility::pictureIsAnImageBeneathTheControls()
{
    QWidget* picture = pictureOf(window.get());
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Graphic);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Kresba pokusu"));
    QVERIFY(iface->text(QAccessible::Description).startsWith(QStringLiteral("Zatím")));
    QCOMPARE(picture->geometry(), QRect(0, 0, 765, 560));
    QCOMPARE(picture->focusPolicy(), Qt::NoFocus);

    QWidget* window_ = window.get();
    QCOMPARE(window_->childAt(QPoint(8 + 16 + 6, 8 + 31 + 8)), find(window_, "op1"));  // in its frame
    QCOMPARE(window_->childAt(QPoint(600, 300)), nullptr);  // the drawing: the window itself
    clickOn(find<QRadioButton>(window_, "op1"));
    QVERIFY(find<QRadioButton>(window_, "op1")->isChecked());
}

void TestAccessibility::pictureDescribesTheLastRun()
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(pictureOf(window.get()));
    const auto runAt = [this](const char* frequency, const char* distance) {
        clickOn(find<QRadioButton>(window.get(), frequency));
        clickOn(find<QRadioButton>(window.get(), distance));
        clickOn(find<QAbstractButton>(window.get(), "cmdStart"));
    };
    runAt("op5", "opV400");
    QString description = iface->text(QAccessible::Description);
    QVERIFY2(description.contains(QStringLiteral("kmitočet fotonu vysoký")),
             qPrintable(description));
    QVERIFY2(description.contains(QStringLiteral("od clony 400")), qPrintable(description));

    runAt("op003", "opV300");
    description = iface->text(QAccessible::Description);
    QVERIFY2(description.contains(QStringLiteral("kmitočet fotonu nízký")),
             qPrintable(description));
    QVERIFY2(description.contains(QStringLiteral("od clony 300")), qPrintable(description));
    QVERIFY(!description.contains(QStringLiteral("vysoký")));
}

// When a run has finished, the drawing's description, which the window announces as changed,
// says where the pattern's maximum and first minima lie, in the window's language; a second run
// says what it showed in place of the first.
void TestAccessibility::theEndOfARunIsAnnounced()
{
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(pictureOf(window.get()));
    clickOn(find<QRadioButton>(window.get(), "op02"));
    clickOn(find<QAbstractButton>(window.get(), "cmdStart"));
    QVERIFY(picture->text(QAccessible::Description).contains(QStringLiteral("ve výšce 1775 twipů")));
    clickOn(find<QRadioButton>(window.get(), "op003"));
    clickOn(find<QAbstractButton>(window.get(), "cmdStart"));
    const QString said = picture->text(QAccessible::Description);
    QVERIFY2(said.contains(QStringLiteral("kmitočet fotonu nízký")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("Hlavní maximum, nejdelší sloupec, leží na přímce "
                                          "detektoru ve výšce 3500 twipů; první minimum nad ním "
                                          "je až za koncem přímky")),
             qPrintable(said));
    QVERIFY(!said.contains(QStringLiteral("1775")));

    // In English, the English summary.
    kvelmor::FrmKvelmor english(nullptr, 0, kvelmor::Language::English);
    english.show();
    QVERIFY(QTest::qWaitForWindowExposed(&english));
    clickOn(find<QRadioButton>(&english, "op02"));
    clickOn(find<QAbstractButton>(&english, "cmdStart"));
    const QString inEnglish =
        QAccessible::queryAccessibleInterface(pictureOf(&english))->text(QAccessible::Description);
    QVERIFY2(inEnglish.contains(QStringLiteral("photon frequency low")) &&
                 inEnglish.contains(QStringLiteral("the first minimum above it is at 1775 twips "
                                                   "and below it at 5225 twips")),
             qPrintable(inEnglish));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
