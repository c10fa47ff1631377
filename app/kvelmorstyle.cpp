#include "app/kvelmorstyle.h"

#include <QPainter>

namespace kvelmor {

namespace {
constexpr int kLargestIndicator = 12;
}

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
    QProxyStyle::drawItemText(painter, rect.translated(0, shift), flags, palette, enabled, text,
                              textRole);
}

}  // namespace kvelmor
