#include "export/exporter.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QSvgGenerator>
#include <future>

#include "app/frmkvelmor.h"
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "canvas/recordingsurface.h"
#include "canvas/vectorsurface.h"
#include "export/outputfiles.h"
#include "export/plot.h"
#include "export/replay.h"
#include "export/settingtable.h"
#include "run/experiment.h"

namespace kvelmor {

namespace {

const QSize kClientArea(765, 560);
const QSize kPictureSize(801, 651);  // as the window's picture: all the run ever paints
const QColor kGrey(0xC0, 0xC0, 0xC0);
const char* const kSceneLabels[] = {"labClona", "labDetektorB", "labPravděpodobnost", "labZdroj"};

// The scene labels where the run placed them, in the window's fonts and colours.
void paintSceneLabels(FrmKvelmor& window, QPainter& painter)
{
    for (const char* name : kSceneLabels) {
        auto* label = window.findChild<QLabel*>(QString::fromUtf8(name));
        if (label->isVisibleTo(&window)) label->render(&painter, label->pos());
    }
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

// The run's picture as the window shows it, `scale` device pixels to a pixel.
QByteArray runPng(FrmKvelmor& window, const RecordingSurface& drawing, int scale)
{
    ImageSurface surface(kPictureSize, scale, window.palette(), {});
    replay(drawing, surface);
    QImage picture(kClientArea * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(kGrey);
    {
        QPainter painter(&picture);
        surface.paintOnto(painter, QRect(QPoint(0, 0), kClientArea));
        paintSceneLabels(window, painter);
    }
    return pngBytes(picture);
}

// The same run drawn as vector lines and circles, at the exact coordinates the run gave.
QByteArray runSvg(FrmKvelmor& window, const RecordingSurface& drawing)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(kClientArea);
    svg.setViewBox(QRect(QPoint(0, 0), kClientArea));
    svg.setTitle(QStringLiteral("Kvelmor"));
    svg.setDescription(QStringLiteral("Interference - Kvelmor"));
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    painter.fillRect(QRect(QPoint(0, 0), kClientArea), kGrey);
    VectorSurface surface(painter, window.palette());
    replay(drawing, surface);
    paintSceneLabels(window, painter);
    if (!painter.end()) return {};
    return bytes;
}

QString notGenerated(const QString& name, bool czech)
{
    return (czech ? QStringLiteral("nelze vytvořit %1") : QStringLiteral("cannot make %1"))
        .arg(name);
}

}  // namespace

QString exportBaseName(const ExportSetting& setting)
{
    return QStringLiteral("kvelmor-%1-%2").arg(setting.frequencyText).arg(setting.distance);
}

QString exportSetting(const ExportSetting& setting, const QString& dir, int scale, bool czech)
{
    // The numbers (the sums once more, without their chains, and the continuous slit's
    // quadrature) need no widgets: they are computed on a second core while this one runs and
    // draws.
    auto table = std::async(std::launch::async, [&setting] { return settingTable(setting); });

    FrmKvelmor window(nullptr, 1);
    window.findChild<QAbstractButton*>(setting.frequencyOption)->setChecked(true);
    window.findChild<QAbstractButton*>(setting.distanceOption)->setChecked(true);
    RecordingSurface drawing;
    {
        WindowRunHost host(window);
        runExperiment(drawing, host);
    }

    const QString base = exportBaseName(setting);
    std::vector<OutputFile> files{
        {base + QStringLiteral(".png"), runPng(window, drawing, scale)},
        {base + QStringLiteral(".svg"), runSvg(window, drawing)},
    };
    const std::vector<StepRow> rows = table.get();
    const PlotData plot = plotData(setting, rows);
    files.push_back({base + QStringLiteral(".csv"), csvText(rows)});
    files.push_back({base + QStringLiteral("-plot.svg"), plotSvg(plot, czech)});
    files.push_back({base + QStringLiteral("-plot.png"), pngBytes(plotImage(plot, scale, czech))});
    for (const OutputFile& file : files) {
        if (file.bytes.isEmpty()) return notGenerated(file.name, czech);
    }
    return writeTogether(dir, files, czech);
}

}  // namespace kvelmor
