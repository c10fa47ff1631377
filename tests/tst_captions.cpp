// Every caption and option indicator that a user can see lies wholly inside its control, with the
// fonts the set-up installs: drawn by the controls' own style on an unclipped image and measured.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <cstdlib>
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
    void framesAreClassicFrames();

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

// A frame as the window shows it: its border spans its whole rectangle, the top edge runs through
// the middle of the caption and stops on either side of it, the inside is the window's flat grey,
// and every option stands inside the border.
void TestCaptions::framesAreClassicFrames()
{
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.devicePixelRatio(), 1.0);
    const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
    const auto isLine = [&](int x, int y) { return shot.pixel(x, y) != grey; };

    for (const char* name : {"frmFrekvence", "frmVzdalenost"}) {
        auto* frame = find<QGroupBox>(window.get(), name);
        const QRect r = frame->geometry();
        const QString what = QString::fromUtf8(name);

        // The left edge starts at the frame's left, the right and bottom edges end at its right
        // and bottom: the border spans the frame's rectangle.
        const int midY = r.center().y();
        QVERIFY2(isLine(r.left(), midY) && isLine(r.right(), midY), qPrintable(what));
        QVERIFY2(isLine(r.center().x(), r.bottom()), qPrintable(what));
        QVERIFY2(!isLine(r.left() - 1, midY) && !isLine(r.right() + 1, midY), qPrintable(what));

        // The top edge: the first line, down the frame's right-hand part.
        int top = -1;
        for (int y = r.top(); y < r.top() + 20 && top < 0; ++y) {
            if (isLine(r.right() - 4, y)) top = y;
        }
        QVERIFY2(top >= 0, qPrintable(what));

        // The caption's ink lies in the top edge, above and below it.
        int inkTop = r.bottom(), inkBottom = r.top(), inkLeft = r.right(), inkRight = r.left();
        for (int y = r.top(); y < top + 12; ++y) {
            for (int x = r.left() + 4; x < r.right() - 4; ++x) {
                if (y == top || y == top + 1 || !isLine(x, y)) continue;
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
        QVERIFY2(inkTop < top && inkBottom > top + 1, qPrintable(what));
        QVERIFY2(std::abs((inkTop + inkBottom) / 2 - top) <= 3, qPrintable(what));
        QVERIFY2(inkLeft - r.left() >= 4 && inkLeft - r.left() <= 14, qPrintable(what));
        // The edge is interrupted behind the caption, and runs on beside it.
        // The edge's highlight row is white beside the caption and nowhere behind it (ink is
        // black or grey).
        const QRgb white = qRgb(0xFF, 0xFF, 0xFF);
        for (int x = inkLeft; x <= inkRight; ++x) {
            QVERIFY2(shot.pixel(x, top + 1) != white, qPrintable(what));
        }
        QCOMPARE(shot.pixel(inkRight + 5, top + 1), white);
        QCOMPARE(shot.pixel(r.right() - 4, top + 1), white);
        QVERIFY2(!isLine(inkLeft - 1, top) && !isLine(inkRight + 1, top), qPrintable(what));
        QVERIFY2(isLine(inkRight + 5, top) && isLine(r.left() + 1, top), qPrintable(what));

        // The inside, outside the caption and the options, is exactly the window's grey.
        const QRect inside =
            QRect(QPoint(r.left() + 2, top + 2), QPoint(r.right() - 2, r.bottom() - 2));
        QRegion options(QRect(QPoint(inkLeft, inkTop), QPoint(inkRight, inkBottom)));
        for (QRadioButton* option : frame->findChildren<QRadioButton*>()) {
            const QRect o = option->geometry().translated(r.topLeft());
            QVERIFY2(inside.contains(o), qPrintable(option->objectName()));
            options += o;
        }
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                if (options.contains(QPoint(x, y))) continue;
                QVERIFY2(shot.pixel(x, y) == grey, qPrintable(QStringLiteral("%1 at %2,%3: %4")
                                                                  .arg(what)
                                                                  .arg(x)
                                                                  .arg(y)
                                                                  .arg(shot.pixel(x, y), 8, 16)));
            }
        }
        // Each option's own rectangle is the same grey where it draws no ink: its corner.
        for (QRadioButton* option : frame->findChildren<QRadioButton*>()) {
            const QPoint corner = option->geometry().translated(r.topLeft()).bottomRight();
            QCOMPARE(shot.pixel(corner), grey);
        }
    }
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
