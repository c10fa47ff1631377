#include "export/runsvg.h"

#include <QBuffer>
#include <QLabel>
#include <QSvgGenerator>

#include "app/controls.h"
#include "export/compactsvg.h"
#include "export/replay.h"
#include "layout/settings.h"

namespace kvelmor {

void paintSceneLabels(FrmKvelmor& window, QPainter& painter)
{
    for (SceneLabel which : kSceneLabels) {
        auto* label = controlNamed<QLabel>(window, sceneLabelName(which));
        if (label && label->isVisibleTo(&window)) label->render(&painter, label->pos());
    }
}

void setUpRunSvg(QSvgGenerator& svg, QIODevice& device, Language language)
{
    svg.setOutputDevice(&device);
    svg.setSize(kClientArea);
    svg.setViewBox(QRect(QPoint(0, 0), kClientArea));
    svg.setTitle(QStringLiteral("Kvelmor"));
    svg.setDescription(qtext(TextKey::Heading, language));
}

QByteArray runSvg(FrmKvelmor& window, const RecordingSurface& drawing)
{
    CompactSvgSurface surface(window.palette());
    replay(drawing, surface);

    // The document and the labels by QSvgGenerator, as the window's toolkit draws them.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    setUpRunSvg(svg, buffer, window.language());
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    paintSceneLabels(window, painter);
    if (!painter.end()) return {};

    // The background and the drawing go first into the generator's outermost group, whose
    // attributes they take (compactsvg.h), beneath the labels.
    const qsizetype group = bytes.indexOf("\n<g ");
    const qsizetype inside = group < 0 ? -1 : bytes.indexOf(">\n", group);
    if (inside < 0) return {};
    const QByteArray background = QByteArrayLiteral("<rect width=\"") +
                                  QByteArray::number(kClientArea.width()) + "\" height=\"" +
                                  QByteArray::number(kClientArea.height()) + "\" fill=\"" +
                                  kRunBackground.name().toLatin1() + "\" stroke=\"none\"/>\n";
    return bytes.insert(inside + 2, background + QByteArray::fromStdString(surface.elements()));
}

}  // namespace kvelmor
