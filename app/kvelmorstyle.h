#pragma once

#include <QProxyStyle>

namespace kvelmor {

// The desktop's own style, with three changes. Two let the smallest controls (13 pixels high) show
// everything: the option buttons' round indicator is at most 12 pixels, and a caption whose font
// is taller than its rectangle is centred on its ink (from cap height to descender), not on the
// font's line box, and drawn whole, so neither the accents of Czech letters nor the tail of a
// "y" or a "g" are cut off.
// The third draws frames as a classic desktop does: an etched border over the frame's whole
// rectangle whose top edge runs through the middle of the caption's ink, the caption set into
// that edge near the left, and nothing but the frame's flat back colour inside.
class KvelmorStyle final : public QProxyStyle {
public:
    KvelmorStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget = nullptr) const override;
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;
};

}  // namespace kvelmor
