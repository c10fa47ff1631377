#include "app/patternview.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/controls.h"
#include "app/explorerviews.h"
#include "canvas/imagesurface.h"
#include "explore/explorer.h"
#include "explore/paths.h"
#include "explore/patternpicture.h"

namespace kvelmor {

PatternView::PatternView(QWidget* parent, Language language) : QWidget(parent)
{
    installGraphicAccessibility();
    setObjectName(QStringLiteral("kresbaObrazce"));
    setAccessibleName(qtext(TextKey::ExplorePatternName, language));
    setAccessibleDescription(qtext(TextKey::ExplorePatternDescription, language));
    setMinimumSize(140, 360);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

PatternView::~PatternView() = default;

void PatternView::draw(Explorer* explorer, int lastKnown)
{
    explorer_ = explorer;
    lastKnown_ = lastKnown;
    picture_ = std::make_unique<ImageSurface>(size(), devicePixelRatioF(), palette(),
                                              std::function<void(const QRect&)>());
    if (explorer_) {
        drawPattern(*picture_, patternOf(*explorer_, lastKnown), explorer_->step(),
                    patternArea(width(), height()));
    }
    update();
}

void PatternView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (picture_) picture_->paintOnto(painter, event->rect());
}

void PatternView::resizeEvent(QResizeEvent*)
{
    draw(explorer_, lastKnown_);
}

void PatternView::pick(QPointF point)
{
    if (!picking_ || !explorer_) return;
    emit stepPicked(patternStepAt(width(), height(), point.y()));
}

void PatternView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) pick(event->position());
}

void PatternView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) pick(event->position());
}

}  // namespace kvelmor
