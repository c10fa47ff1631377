#pragma once

#include <QImage>
#include <vector>

#include "explore/chainpicture.h"
#include "layout/texts.h"

class QPainter;

namespace kvelmor {

class Explorer;

// The explorer's chosen chain as its PNG files hold it, `scale` (1, 2 or 4) device pixels to a
// pixel: the picture the explorer's own drawing code makes of it (explore/chainfiles.h), the same
// pixels as the page's, with its texts in `language` drawn over it in the toolkit's fonts, as the
// run's scene labels are drawn over the run's picture. A null image when memory does not suffice.
QImage chainImage(Explorer& explorer, Language language, int scale);

// Draws `texts` onto `painter`, in its logical pixels, each within its box and nowhere else.
void paintPictureTexts(QPainter& painter, const std::vector<PictureText>& texts);

}  // namespace kvelmor
