#include "export/exporter.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QSvgGenerator>

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

Exporter::Exporter(std::vector<ExportSetting> settings, QString dir, int scale, bool czech)
    : settings_(std::move(settings)),
      dir_(std::move(dir)),
      scale_(scale),
      czech_(czech),
      promised_(settings_.size())
{
    for (auto& promise : promised_) numbers_.push_back(promise.get_future());
    worker_ = std::thread([this] {
        for (std::size_t n = 0; n < settings_.size() && !stop_; ++n) {
            Numbers numbers{settingTable(settings_[n]), {}};
            numbers.csv = csvText(numbers.rows);
            promised_[n].set_value(std::move(numbers));
        }
    });
}

// After a failure the settings still ahead are not wanted: the worker stops after its current one.
Exporter::~Exporter()
{
    stop_ = true;
    worker_.join();
}

QString Exporter::exportSetting(int n)
{
    const ExportSetting& setting = settings_[n];
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
        {base + QStringLiteral(".png"), runPng(window, drawing, scale_)},
        {base + QStringLiteral(".svg"), runSvg(window, drawing)},
    };
    Numbers numbers = numbers_[n].get();
    const PlotData plot = plotData(setting, numbers.rows);
    files.push_back({base + QStringLiteral(".csv"), std::move(numbers.csv)});
    files.push_back({base + QStringLiteral("-plot.svg"), plotSvg(plot, czech_)});
    files.push_back(
        {base + QStringLiteral("-plot.png"), pngBytes(plotImage(plot, scale_, czech_))});
    for (const OutputFile& file : files) {
        if (file.bytes.isEmpty()) return notGenerated(file.name, czech_);
    }
    return writeTogether(dir_, files, czech_);
}

}  // namespace kvelmor
