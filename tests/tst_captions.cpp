// Every caption and option indicator that a user can see lies wholly inside its control, in
// Czech and in English, with the fonts the set-up installs, at the scale the suite runs at
// (CTest runs it at 1 and, with QT_SCALE_FACTOR=2, at 2): drawn by the controls' own style,
// unclipped, at the window's device-pixel ratio and measured. Frame captions are centred on their
// frame's top edge by their ink. The English window says nothing in Czech, and a run in it is the
// same pixels as in the Czech window outside the captions.
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "windowtest.h"
#ifndef Q_MOC_RUN  // moc cannot read the Czech identifiers of this header, nor needs them
#include "app/controls.h"
#include "layout/controls.h"
#endif

using namespace kvelmor;

namespace {

constexpr int kMargin = 40;  // room around the control for ink that would be clipped

// Paints with `draw` onto a transparent image at the control's device-pixel ratio that extends
// kMargin beyond the control on every side, and returns the bounds of what was painted, in the
// control's coordinates (fractions of a pixel at a ratio above 1).
template <typename Draw>
QRectF inkOf(const QWidget* control, Draw draw)
{
    const qreal ratio = control->devicePixelRatioF();
    QImage image((control->size() + QSize(2 * kMargin, 2 * kMargin)) * ratio,
                 QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
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
            if (qAlpha(image.pixel(x, y)) > 0) bounds |= QRect(x, y, 1, 1);
        }
    }
    if (bounds.isEmpty()) return {};
    return {bounds.x() / ratio - kMargin, bounds.y() / ratio - kMargin, bounds.width() / ratio,
            bounds.height() / ratio};
}

// A caption's text as the style draws it in `rect` with `flags`, on an image larger than the
// control, at its device-pixel ratio.
QImage textImage(const QWidget* control, const QRect& rect, int flags, const QString& text)
{
    const qreal ratio = control->devicePixelRatioF();
    QImage image((control->size() + QSize(2 * kMargin, 2 * kMargin)) * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(kMargin, kMargin);
    painter.setFont(control->font());
    control->style()->drawItemText(&painter, rect, flags, control->palette(), true, text,
                                   control->foregroundRole());
    return image;
}

// A caption's text as the style draws it in `rect`, but never clipped: what does not fit shows.
// The style must draw it so too: the caption as the control draws it (`flags` without
// Qt::TextDontClip, which QPainter then clips to `rect`) loses no ink.
QRectF textInkOf(const QWidget* control, const QRect& rect, int flags, const QString& text)
{
    const QImage whole = textImage(control, rect, flags | Qt::TextDontClip, text);
    const QImage drawn = textImage(control, rect, flags, text);
    int lost = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) lost += whole.pixel(x, y) != drawn.pixel(x, y);
    }
    if (lost) {
        qWarning("%s \"%s\": %d device pixels of ink cut off", qPrintable(control->objectName()),
                 qPrintable(text), lost);
        return {};  // not inside anything
    }
    return inkOf(control, [&](QPainter& p) {
        control->style()->drawItemText(&p, rect, flags | Qt::TextDontClip, control->palette(), true,
                                       text, control->foregroundRole());
    });
}

QString describe(const QWidget* w, const QRectF& ink)
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

bool inside(const QWidget* control, const QRectF& ink)
{
    return !ink.isEmpty() && QRectF(control->rect()).contains(ink);
}

// Where a frame's style sets its caption, in the frame's coordinates.
QRect captionOf(const QGroupBox* frame)
{
    QStyleOptionGroupBox opt;
    opt.initFrom(frame);
    opt.text = frame->title();
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel);
}

// What a control shows: a label's or a button's caption, a frame's title.
QString shownText(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(control)) return frame->title();
    return {};
}

QString accessibleText(QWidget* control, QAccessible::Text which)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    return iface ? iface->text(which) : QString();
}

bool hasCzechLetter(const QString& text)
{
    return text.contains(QRegularExpression(QStringLiteral("[áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ]")));
}

// A run at the highest frequency and 400, chosen and started with the mouse.
void runHighestAt400(QWidget* window)
{
    clickOn(find<QRadioButton>(window, "op5"));
    clickOn(find<QRadioButton>(window, "opV400"));
    clickOn(find<QPushButton>(window, "cmdStart"));
}

// Where `window` draws captions: its visible labels, buttons and options, and its frames'
// captions with the gap the top edge leaves around them.
QRegion captionAreas(QWidget* window)
{
    QRegion areas;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window) || shownText(control).isEmpty()) continue;
        auto* frame = qobject_cast<QGroupBox*>(control);
        const QRect area = frame ? captionOf(frame).adjusted(-2, 0, 2, 0) : control->rect();
        areas += area.translated(control->mapTo(window, QPoint(0, 0)));
    }
    return areas;
}

}  // namespace

class TestCaptions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void optionsShowTheirIndicatorAndCaption_data() { languages(); }
    void optionsShowTheirIndicatorAndCaption();
    void labelsShowTheirWholeCaption_data() { languages(); }
    void labelsShowTheirWholeCaption();
    void framesAndButtonsShowTheirCaption_data() { languages(); }
    void framesAndButtonsShowTheirCaption();
    void frameCaptionsAreCentredOnTheTopEdgeByTheirInk_data() { languages(); }
    void frameCaptionsAreCentredOnTheTopEdgeByTheirInk();
    void framesAreClassicFrames_data() { languages(); }
    void framesAreClassicFrames();
    void englishWindowSaysNothingInCzech();
    void runIsTheSamePixelsInBothLanguagesOutsideTheCaptions();

private:
    static void languages();
    FrmKvelmor* window();

    std::unique_ptr<FrmKvelmor> czech, english;
};

void TestCaptions::languages()
{
    QTest::addColumn<bool>("inEnglish");
    QTest::newRow("Czech") << false;
    QTest::newRow("English") << true;
}

// The window of the row's language.
FrmKvelmor* TestCaptions::window()
{
    QFETCH(bool, inEnglish);
    return inEnglish ? english.get() : czech.get();
}

void TestCaptions::initTestCase()
{
    czech = std::make_unique<FrmKvelmor>();
    english = std::make_unique<FrmKvelmor>(nullptr, 0, Language::English);
    for (FrmKvelmor* w : {czech.get(), english.get()}) {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    QCOMPARE(english->devicePixelRatioF(),
             qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2 ? 2.0 : 1.0);
}

void TestCaptions::optionsShowTheirIndicatorAndCaption()
{
    int measured = 0;
    for (QRadioButton* option : window()->findChildren<QRadioButton*>()) {
        if (!option->parentWidget()->isVisible()) continue;  // the hidden speed frame
        QStyleOptionButton opt;
        opt.initFrom(option);
        opt.text = option->text();
        opt.state |= QStyle::State_On;
        QStyle* style = option->style();
        QStyleOptionButton indicator = opt;
        indicator.rect = style->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, option);
        const QRectF mark = inkOf(option, [&](QPainter& p) {
            style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &indicator, &p, option);
        });
        QVERIFY2(inside(option, mark), qPrintable(describe(option, mark)));

        // As the style draws an option's caption (left, vertically centred), but unclipped.
        const QRect contents = style->subElementRect(QStyle::SE_RadioButtonContents, &opt, option);
        const QRectF text =
            textInkOf(option, contents, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                      option->text());
        QVERIFY2(inside(option, text), qPrintable(describe(option, text)));
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
        auto* label = find<QLabel>(window(), name);
        const QRectF ink = textInkOf(label, label->contentsRect(),
                                     int(label->alignment()) | Qt::TextWordWrap, label->text());
        QVERIFY2(inside(label, ink), qPrintable(describe(label, ink)));
    }
}

// Buttons centre their captions; a frame's caption is set into its top edge, near the left, and
// the edge runs on at least four pixels beyond it before the frame's corner.
void TestCaptions::framesAndButtonsShowTheirCaption()
{
    for (const char* name : {"frmFrekvence", "frmVzdalenost"}) {
        auto* frame = find<QGroupBox>(window(), name);
        const QRect caption = captionOf(frame);
        const QRectF ink = textInkOf(  // as the style draws it: unclipped, in the frame
            frame, caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
            frame->title());
        QVERIFY2(inside(frame, ink), qPrintable(describe(frame, ink)));
        QVERIFY2(ink.right() + 2 + 4 <= frame->width() - 2, qPrintable(describe(frame, ink)));
    }
    for (const char* name : {"cmdStart", "cmdKonec"}) {
        auto* button = find<QPushButton>(window(), name);
        QStyleOptionButton opt;
        opt.initFrom(button);
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
        const QRectF ink =
            textInkOf(button, contents, Qt::AlignCenter | Qt::TextShowMnemonic, button->text());
        QVERIFY2(inside(button, ink), qPrintable(describe(button, ink)));
    }
}

// On the window as it is shown, at its own device pixels: the middle of each frame caption's ink,
// from its accents to its descenders, lies on the middle of the etched top edge (its dark and its
// light line), within half a pixel; "Frequency" reaches lower than "Kmitočet fotonu", and is set
// higher to make up for it.
void TestCaptions::frameCaptionsAreCentredOnTheTopEdgeByTheirInk()
{
    FrmKvelmor* w = window();
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = shot.devicePixelRatio();
    QCOMPARE(ratio, w->devicePixelRatioF());
    const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);

    for (const char* name : {"frmFrekvence", "frmVzdalenost"}) {
        auto* frame = find<QGroupBox>(w, name);
        const QRect r = frame->geometry();
        // The edge's two lines, down the frame's right-hand part.
        QList<int> edge;
        for (int y = int(r.top() * ratio); y < (r.top() + 20) * ratio && edge.size() < 2; ++y) {
            if (shot.pixel(int((r.right() - 4) * ratio), y) != grey) edge << y;
        }
        QCOMPARE(edge.size(), 2);
        QCOMPARE(shot.pixel(int((r.right() - 4) * ratio), edge[0]), qRgb(0x80, 0x80, 0x80));

        // The caption's ink: everything not grey in the caption's rectangle (a line of its font).
        const QRect caption = captionOf(frame).translated(r.topLeft());
        int inkTop = shot.height(), inkBottom = -1;
        for (int y = int(caption.top() * ratio); y < (caption.bottom() + 1) * ratio; ++y) {
            for (int x = int(caption.left() * ratio); x < (caption.right() + 1) * ratio; ++x) {
                if (shot.pixel(x, y) == grey) continue;
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
        }
        QVERIFY2(inkBottom >= 0 && inkTop >= r.top() * ratio, name);
        const double off = (inkTop + inkBottom) / 2.0 - (edge[0] + edge[1]) / 2.0;
        QVERIFY2(std::abs(off) <= 0.5 * ratio,
                 qPrintable(QStringLiteral("%1 \"%2\": ink rows %3 to %4, edge rows %5 and %6")
                                .arg(name, frame->title())
                                .arg(inkTop)
                                .arg(inkBottom)
                                .arg(edge[0])
                                .arg(edge[1])));
    }
}

// A frame as the window shows it: its border spans its whole rectangle, the top edge runs through
// the middle of the caption and stops on either side of it, the inside is the window's flat grey,
// and every option stands inside the border.
void TestCaptions::framesAreClassicFrames()
{
    FrmKvelmor* w = window();
    if (w->devicePixelRatioF() != 1) QSKIP("measured in pixels at scale 1");
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
    const auto isLine = [&](int x, int y) { return shot.pixel(x, y) != grey; };

    for (const char* name : {"frmFrekvence", "frmVzdalenost"}) {
        auto* frame = find<QGroupBox>(w, name);
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

// Every text of the English window, shown or said to a screen reader, is the English one:
// each control's, the title, the drawing's before and after a run.
void TestCaptions::englishWindowSaysNothingInCzech()
{
    FrmKvelmor* w = english.get();
    const auto inEnglish = [](TextKey key) { return qtext(key, Language::English); };
    for (const ControlRow& row : controlRows()) {
        QWidget* control = find(w, std::string(row.name).c_str());
        if (row.kind != ControlKind::SettingsBox) {
            QCOMPARE(shownText(control), inEnglish(row.caption));
        }
        QCOMPARE(accessibleText(control, QAccessible::Name), inEnglish(accessibleName(row)));
        QCOMPARE(accessibleText(control, QAccessible::Description),
                 inEnglish(row.accessibleDescription));
    }
    QCOMPARE(w->windowTitle(), inEnglish(TextKey::WindowTitle));
    QWidget* picture = find(w, "kresba");
    QCOMPARE(accessibleText(picture, QAccessible::Name), inEnglish(TextKey::PictureName));
    QCOMPARE(accessibleText(picture, QAccessible::Description), inEnglish(TextKey::PictureEmpty));

    runHighestAt400(w);
    const QString described = accessibleText(picture, QAccessible::Description);
    QVERIFY2(described.contains(QStringLiteral("photon frequency highest")) &&
                 described.contains(QStringLiteral("detector 400 behind the slit")),
             qPrintable(described));

    // Nothing anywhere in the window, shown or said, is Czech: no Czech letter, and no text of
    // the table whose Czech differs from its English.
    QStringList czechOnly;
    for (int key = 0; key < int(TextKey::Count); ++key) {
        const QString cs = qtext(TextKey(key), Language::Czech);
        if (cs != inEnglish(TextKey(key))) czechOnly << cs;
    }
    QList<QWidget*> everything = w->findChildren<QWidget*>();
    everything << w;
    int texts = 0;
    for (QWidget* control : everything) {
        if (!control->isVisibleTo(w) && control != w) continue;  // the settings boxes, say
        for (const QString& said : {shownText(control), control->windowTitle(),
                                    accessibleText(control, QAccessible::Name),
                                    accessibleText(control, QAccessible::Description)}) {
            if (said.isEmpty()) continue;
            ++texts;
            QVERIFY2(!hasCzechLetter(said) && !czechOnly.contains(said),
                     qPrintable(control->objectName() + QStringLiteral(": ") + said));
        }
    }
    QVERIFY(texts > 40);
}

// The same run in both windows; outside the captions (and the frames' captions in either
// language) every pixel is the same, and inside them the two languages differ.
void TestCaptions::runIsTheSamePixelsInBothLanguagesOutsideTheCaptions()
{
    QImage shots[2];
    QRegion captions;
    int n = 0;
    for (FrmKvelmor* w : {czech.get(), english.get()}) {
        runHighestAt400(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        shots[n++] = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        captions += captionAreas(w);
    }
    const qreal ratio = shots[0].devicePixelRatio();
    QCOMPARE(ratio, english->devicePixelRatioF());
    QCOMPARE(shots[0].size(), shots[1].size());
    QCOMPARE(shots[0].size(), QSize(765, 560) * ratio);
    int compared = 0, differentInCaptions = 0;
    for (int y = 0; y < shots[0].height(); ++y) {
        for (int x = 0; x < shots[0].width(); ++x) {
            const bool same = shots[0].pixel(x, y) == shots[1].pixel(x, y);
            if (captions.contains(QPoint(int(x / ratio), int(y / ratio)))) {
                differentInCaptions += !same;
                continue;
            }
            QVERIFY2(same, qPrintable(QStringLiteral("at %1,%2: %3 in Czech, %4 in English")
                                          .arg(x)
                                          .arg(y)
                                          .arg(shots[0].pixel(x, y), 8, 16)
                                          .arg(shots[1].pixel(x, y), 8, 16)));
            ++compared;
        }
    }
    QVERIFY(compared > 0.8 * 765 * 560 * ratio * ratio);
    QVERIFY(differentInCaptions > 500 * ratio * ratio);
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
