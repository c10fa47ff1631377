#pragma once

#include <QByteArray>
#include <QColor>
#include <QPainter>
#include <QSize>
#include <QSvgGenerator>

#include "app/frmkvelmor.h"
#include "canvas/recordingsurface.h"

namespace kvelmor {

// The window's client area, which the run's pictures show, and the grey beneath the drawing.
inline const QSize kClientArea(765, 560);
inline const QColor kRunBackground(0xC0, 0xC0, 0xC0);

// The scene labels where the run placed them, in the window's fonts and colours.
void paintSceneLabels(FrmKvelmor& window, QPainter& painter);

// Sets `svg` up for a picture of the client area, written into `device`, titled and described
// in `language`.
void setUpRunSvg(QSvgGenerator& svg, QIODevice& device, Language language);

// The run that `window` ran and `drawing` recorded as an SVG document of the client area: the
// grey background, the drawing as compact paths at the coordinates the run gave, to a hundredth
// of a pixel (compactsvg.h), and the scene labels as QSvgGenerator writes them. Empty when it
// could not be made.
QByteArray runSvg(FrmKvelmor& window, const RecordingSurface& drawing);

}  // namespace kvelmor
