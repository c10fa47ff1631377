// Without the Arial and Times New Roman look-alikes (run with a fontconfig set-up that has only
// DejaVu), every caption still renders its Czech letters in some face: never empty boxes.
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>

#include "windowtest.h"

using kvelmor::FrmKvelmor;

class TestFontFallback : public QObject {
    Q_OBJECT

private slots:
    void captionsFallBackToAFaceWithCzechLetters();
};

void TestFontFallback::captionsFallBackToAFaceWithCzechLetters()
{
    QVERIFY2(qEnvironmentVariableIsSet("FONTCONFIG_FILE"), "run through CTest, which sets it");
    FrmKvelmor window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    int captions = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(control)) text = frame->title();
        if (text.isEmpty()) continue;
        ++captions;

        const QFontInfo resolved(control->font());
        QVERIFY2(!resolved.family().startsWith(QLatin1String("Liberation")),
                 qPrintable(resolved.family()));
        // The face the caption falls back to has every letter of it, accents included.
        const QRawFont face = QRawFont::fromFont(control->font());
        QVERIFY(face.isValid());
        for (const QChar c : text) {
            QVERIFY2(face.supportsCharacter(c),
                     qPrintable(QStringLiteral("%1 lacks '%2' of %3")
                                    .arg(face.familyName(), QString(c), control->objectName())));
        }
    }
    QCOMPARE(captions, 22);
}

QTEST_MAIN(TestFontFallback)
#include "tst_fontfallback.moc"
