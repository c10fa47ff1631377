// Every caption and option indicator that a user can see lies wholly inside its control, with the
// fonts the set-up installs: drawn by the controls' own style on an unclipped image and measured.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <memory>

#include "windowtest.h"

using kvelmor::FrmKvelmor;

namespace {

constexpr int kMargin = 40;  // room around the control for ink that would be clipped

// Paints with `draw` onto a transparent image that extends kMargin beyond the control on every
// side and returns the bounds of what was painted, in the control's coordinates.
template <typename Draw>
QRect inkOf(const QWidget* control, Draw draw)
{
    QImage image(control->size() + QSize(2 * kMargin, 2 * kMargin), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(kMargin, kMargin);
        painter.setFont(control->font());
        painter.setPen(Qt::black);
        draw(painter);
    }
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) bounds |= QRect(x - kMargin, y - kMargin, 1, 1);
        }
    }
    return bounds;
}

QString describe(const QWidget* w, const QRect& ink)
{
    return QStringLiteral("%1: ink %2,%3 %4x%5 in %6x%7")
        .arg(w->objectName())
        .arg(ink.x())
        .arg(ink.y())
        .arg(ink.width())
        .arg(ink.height())
        .arg(w->width())
        .arg(w->height());
}

}  // namespace

class TestCaptions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void optionsShowTheirIndicatorAndCaption();
    void labelsShowTheirWholeCaption();
    void framesAndButtonsShowTheirCaption();

private:
    std::unique_ptr<FrmKvelmor> window;
};

void TestCaptions::initTestCase()
{
    window = std::make_unique<FrmKvelmor>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestCaptions::optionsShowTheirIndicatorAndCaption()
{
    int measured = 0;
    for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
        if (!option->parentWidget()->isVisible()) continue;  // the hidden speed frame
        QStyleOptionButton opt;
        opt.initFrom(option);
        opt.text = option->text();
        opt.state |= QStyle::State_On;
        QStyle* style = option->style();
        QStyleOptionButton indicator = opt;
        indicator.rect = style->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, option);
        const QRect mark = inkOf(option, [&](QPainter& p) {
            style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &indicator, &p, option);
        });
        QVERIFY2(!mark.isEmpty() && option->rect().contains(mark),
                 qPrintable(describe(option, mark)));

        QStyleOptionButton label = opt;
        label.rect = style->subElementRect(QStyle::SE_RadioButtonContents, &opt, option);
        const QRect text = inkOf(option, [&](QPainter& p) {
            style->drawControl(QStyle::CE_RadioButtonLabel, &label, &p, option);
        });
        QVERIFY2(!text.isEmpty() && option->rect().contains(text),
                 qPrintable(describe(option, text)));
        QVERIFY(!text.intersects(mark));
        ++measured;
    }
    QCOMPARE(measured, 8);
}

void TestCaptions::labelsShowTheirWholeCaption()
{
    // The scene labels too: the run shows them.
    for (const char* name : {"labNeurcitost", "LabStart", "labZdroj", "labClona", "labDetektorB",
                             "labPravděpodobnost"}) {
        auto* label = find<QLabel>(window.get(), name);
        const QRect ink = inkOf(label, [&](QPainter& p) {
            label->style()->drawItemText(
                &p, label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap,
                label->palette(), true, label->text(), label->foregroundRole());
        });
        QVERIFY2(!ink.isEmpty() && label->rect().contains(ink), qPrintable(describe(label, ink)));
    }
}

void TestCaptions::framesAndButtonsShowTheirCaption()
{
    for (const char* name : {"frmFrekvence", "frmVzdalenost"}) {
        auto* frame = find<QGroupBox>(window.get(), name);
        QStyleOptionGroupBox opt;
        opt.initFrom(frame);
        opt.text = frame->title();
        opt.subControls = QStyle::SC_GroupBoxLabel;
        opt.textAlignment = frame->alignment();
        opt.textColor = frame->palette().color(QPalette::WindowText);
        const QRect ink = inkOf(frame, [&](QPainter& p) {
            frame->style()->drawComplexControl(QStyle::CC_GroupBox, &opt, &p, frame);
        });
        QVERIFY2(!ink.isEmpty() && frame->rect().contains(ink), qPrintable(describe(frame, ink)));
    }
    for (const char* name : {"cmdStart", "cmdKonec"}) {
        auto* button = find<QPushButton>(window.get(), name);
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        opt.rect = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
        const QRect ink = inkOf(button, [&](QPainter& p) {
            button->style()->drawControl(QStyle::CE_PushButtonLabel, &opt, &p, button);
        });
        QVERIFY2(!ink.isEmpty() && button->rect().contains(ink), qPrintable(describe(button, ink)));
    }
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
