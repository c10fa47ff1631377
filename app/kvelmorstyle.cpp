#include "app/kvelmorstyle.h"

#include <QPainter>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace kvelmor {

namespace {

constexpr int kLargestIndicator = 12;

// The classic desktop's 3-D colours: button shadow and button highlight.
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kHighlight(0xFF, 0xFF, 0xFF);

// Where a frame's caption starts, and the gap the border leaves on each side of it.
constexpr int kCaptionLeft = 8;
constexpr int kCaptionGap = 2;

// The height of the border's top edge: the middle of a line of the frame's font.
int borderTop(const QStyleOptionGroupBox& box)
{
    return box.rect.top() + box.fontMetrics.height() / 2;
}

// The caption's rectangle: one line of the frame's font near the left, moved up or down so that
// the caption's ink, from its accents to its descenders, is centred on the top edge, whatever
// the letters of its language ("Frequency" reaches lower than "Kmitočet fotonu").
QRect captionRect(const QStyleOptionGroupBox& box)
{
    const QFontMetrics& metrics = box.fontMetrics;
    const QRect ink = metrics.tightBoundingRect(box.text);
    int shift = 0;
    if (!ink.isEmpty()) {
        // Ink rows from the top of the line, the last one included; the ink stays in the frame.
        const int top = metrics.ascent() + ink.top();
        const int bottom = metrics.ascent() + ink.bottom();
        shift = std::max(borderTop(box) - box.rect.top() - (top + bottom) / 2, -top);
    }
    const int width = metrics.horizontalAdvance(box.text);
    return {box.rect.left() + kCaptionLeft, box.rect.top() + shift, width, metrics.height()};
}

}  // namespace

KvelmorStyle::KvelmorStyle() : QProxyStyle() {}

int KvelmorStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight) {
        return std::min(base, kLargestIndicator);
    }
    return base;
}

void KvelmorStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                      QPainter* painter, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QRect r = box->rect;
    const int top = borderTop(*box);
    // Etched: a shadow rectangle, and a highlight one pixel right and down from it, so that the
    // frame's outer edge is the highlight at the right and bottom of its rectangle.
    const QRect outer(r.left(), top, r.width() - 1, r.bottom() - top);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(kShadow, 0));
    painter->drawRect(outer.adjusted(0, 0, -1, -1));
    painter->setPen(QPen(kHighlight, 0));
    painter->drawRect(outer.adjusted(1, 1, 0, 0));

    if (!box->text.isEmpty()) {
        // The caption interrupts the top edge: its rectangle, widened by the gap, is filled with
        // the frame's back colour before the text is drawn over it.
        const QRect caption = captionRect(*box);
        painter->fillRect(caption.adjusted(-kCaptionGap, 0, kCaptionGap, 0),
                          box->palette.color(QPalette::Window));
        painter->setPen(box->palette.color(QPalette::WindowText));
        painter->drawText(caption,
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                          box->text);
    }
    painter->restore();
}

QRect KvelmorStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                   SubControl subControl, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    switch (subControl) {
    case SC_GroupBoxLabel:
        return captionRect(*box);
    case SC_GroupBoxFrame:
        return box->rect.adjusted(0, borderTop(*box) - box->rect.top(), 0, 0);
    case SC_GroupBoxContents:
        return box->rect.adjusted(2, borderTop(*box) - box->rect.top() + 2, -2, -2);
    default:
        return QRect();
    }
}

void KvelmorStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                                const QPalette& palette, bool enabled, const QString& text,
                                QPalette::ColorRole textRole) const
{
    const QFontMetrics metrics = painter->fontMetrics();
    const bool oneLine = !(flags & Qt::TextWordWrap) && !text.contains(QLatin1Char('\n'));
    if (!oneLine || !(flags & Qt::AlignVCenter) || rect.height() >= metrics.height()) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    // Ink from the top of capitals and accents to the bottom of descenders: "Hy" gives one
    // baseline to every caption of the font; the caption's own ink widens it if it must.
    const QRect ink = metrics.tightBoundingRect(QStringLiteral("Hy")) |
                      metrics.tightBoundingRect(QString(text).remove(QLatin1Char('&')));
    const int baseline = rect.top() + (rect.height() - ink.height()) / 2 - ink.top();
    const int shift =
        baseline - (rect.top() + (rect.height() - metrics.height()) / 2 + metrics.ascent());
    // Not clipped to the moved rectangle, which no longer covers all of the control: the ink,
    // from accents to descenders, lies within the control, whose own edges bound the drawing.
    QProxyStyle::drawItemText(painter, rect.translated(0, shift), flags | Qt::TextDontClip, palette,
                              enabled, text, textRole);
}

}  // namespace kvelmor
