#pragma once

#include <QWidget>
#include <memory>

#include "layout/texts.h"

class QLabel;

namespace kvelmor {

class Explorer;
class ImageSurface;

// The explorer's large picture of its chosen chain, drawn by the explorer's own drawing code into
// an off-screen image at the view's size, as the window's picture is, with the scale mark's
// number as a label under the mark. White and empty until it is given a chain.
class ChainView final : public QWidget {
    Q_OBJECT

public:
    ChainView(QWidget* parent, Language language);
    ~ChainView() override;

    // Draws `explorer`'s chosen chain afresh (or nothing, for none) and shows it.
    void draw(Explorer* explorer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Language language_;
    Explorer* explorer_ = nullptr;
    std::unique_ptr<ImageSurface> picture_;
    QLabel* scale_;
};

}  // namespace kvelmor
