#pragma once

#include <QWidget>
#include <memory>

#include "layout/texts.h"

namespace kvelmor {

class Explorer;
class ImageSurface;

// The explorer's copy of the run's pattern: the bars and the continuous slit's curve as the
// worksheet plot draws them, upright as the detector line stands, the chosen step marked. A
// click or a drag on it picks the step under the pointer.
class PatternView final : public QWidget {
    Q_OBJECT

public:
    PatternView(QWidget* parent, Language language);
    ~PatternView() override;

    // Draws the pattern of `explorer`'s run as far as step `lastKnown` (all of it after a run),
    // with its chosen step marked; nothing for no explorer.
    void draw(Explorer* explorer, int lastKnown);

    // Whether a click picks a step; not before a run, nor while one goes on.
    void setPicking(bool picking) { picking_ = picking; }

signals:
    void stepPicked(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void pick(QPointF point);

    Explorer* explorer_ = nullptr;
    int lastKnown_ = -1;
    bool picking_ = false;
    std::unique_ptr<ImageSurface> picture_;
};

}  // namespace kvelmor
