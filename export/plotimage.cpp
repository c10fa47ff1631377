#include "export/plotimage.h"

#include "app/svgpicture.h"
#include "worksheet/plot.h"

namespace kvelmor {

QImage plotImage(const std::string& svg, int scale)
{
    return svgPicture(svg, QSize(kPlotWidth, kPlotHeight), scale);
}

}  // namespace kvelmor
