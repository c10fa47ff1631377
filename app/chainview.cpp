#include "app/chainview.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

#include "app/controls.h"
#include "app/explorerviews.h"
#include "canvas/imagesurface.h"
#include "explore/chainfiles.h"
#include "explore/chainpicture.h"
#include "explore/paths.h"

namespace kvelmor {

ChainView::ChainView(QWidget* parent, Language language)
    : QWidget(parent), language_(language), scale_(new QLabel(this))
{
    installGraphicAccessibility();
    setObjectName(QStringLiteral("kresbaŘetězce"));
    setAccessibleName(qtext(TextKey::ExploreChainName, language));
    setMinimumSize(360, 360);
    setFocusPolicy(Qt::NoFocus);
    scale_->setObjectName(QStringLiteral("labMěřítko"));
    scale_->setFont(makeFont(QStringLiteral("Arial"), 12, false));
    scale_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    scale_->hide();
}

ChainView::~ChainView() = default;

void ChainView::draw(Explorer* explorer)
{
    explorer_ = explorer;
    picture_ = std::make_unique<ImageSurface>(size(), devicePixelRatioF(), palette(),
                                              std::function<void(const QRect&)>());
    scale_->hide();
    if (explorer_) {
        const PictureArea area{0, 0, double(width()), double(height())};
        const ScaleMark mark = drawChainPicture(*picture_, explorer_->chain(), explorer_->curve(),
                                                explorer_->paths() == kInfinitePaths, area);
        if (mark.twips > 0) {
            const PictureText label =
                scaleMarkLabel(mark, area, scaleMarkText(mark.twips, language_));
            scale_->setText(QString::fromStdString(label.text));
            scale_->setGeometry(
                QRectF(label.box.left, label.box.top, label.box.width, label.box.height)
                    .toAlignedRect());
            scale_->show();
        }
    }
    update();
}

void ChainView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (picture_) picture_->paintOnto(painter, event->rect());
}

void ChainView::resizeEvent(QResizeEvent*)
{
    draw(explorer_);
}

}  // namespace kvelmor
