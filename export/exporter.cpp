#include "export/exporter.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QSvgGenerator>

#include "app/controls.h"
#include "app/frmkvelmor.h"
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "canvas/recordingsurface.h"
#include "canvas/vectorsurface.h"
#include "export/outputfiles.h"
#include "export/plotimage.h"
#include "export/replay.h"
#include "layout/settings.h"
#include "run/experiment.h"

namespace kvelmor {

namespace {

const QSize kClientArea(765, 560);
const QSize kPictureSize(801, 651);  // as the window's picture: all the run ever paints
const QColor kGrey(0xC0, 0xC0, 0xC0);

// The scene labels where the run placed them, in the window's fonts and colours.
void paintSceneLabels(FrmKvelmor& window, QPainter& painter)
{
    for (SceneLabel which : kSceneLabels) {
        auto* label = window.findChild<QLabel*>(qstring(sceneLabelName(which)));
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
QImage runPicture(FrmKvelmor& window, const RecordingSurface& drawing, int scale)
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
    return picture;
}

// The same run drawn as vector lines and circles, at the exact coordinates the run gave.
QByteArray runSvg(FrmKvelmor& window, const RecordingSurface& drawing)
{
    QByteArray bytes;
    bytes.reserve(4 << 20);  // a run's SVG is about 2.6 MB: grown once, not copied as it grows
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
      drawn_(settings_.size()),
      written_(settings_.size())
{
    worker_ = std::thread([this] { finishAll(); });
}

// Settings never drawn (after a failure) are handed over empty, which ends the second thread.
Exporter::~Exporter()
{
    for (; handedOver_ < int(drawn_.size()); ++handedOver_) drawn_[handedOver_].set_value({});
    worker_.join();
}

QString Exporter::run(const std::function<void(int n)>& starting)
{
    for (int n = 0; n < int(settings_.size()); ++n) {
        starting(n);
        draw(n);
        // Setting n is being finished on the second thread; n - 1 must have been written before
        // n + 1 is drawn.
        if (n > 0) {
            if (QString error = written_[n - 1].get_future().get(); !error.isEmpty()) return error;
        }
    }
    return settings_.empty() ? QString() : written_.back().get_future().get();
}

void Exporter::draw(int n)
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
    drawn_[n].set_value({runPicture(window, drawing, scale_), runSvg(window, drawing)});
    ++handedOver_;
}

// The second thread: the numbers of each setting, computed while its run is being drawn, then
// everything else, in order, until a setting fails or nothing more comes.
void Exporter::finishAll()
{
    for (std::size_t n = 0; n < settings_.size(); ++n) {
        const ExportSetting& setting = settings_[n];
        const Worksheet worksheet =
            worksheetFor(setting.frequencyText.toStdString(), setting.distance, czech_)
                .value_or(Worksheet{});
        Drawn drawn = drawn_[n].get_future().get();
        if (drawn.picture.isNull()) return;
        const QString error = finish(int(n), worksheet, std::move(drawn));
        written_[n].set_value(error);
        if (!error.isEmpty()) return;
    }
}

QString Exporter::finish(int n, const Worksheet& worksheet, Drawn drawn)
{
    const QString base = exportBaseName(settings_[n]);
    const std::vector<OutputFile> files{
        {base + QStringLiteral(".png"), pngBytes(drawn.picture)},
        {base + QStringLiteral(".svg"), std::move(drawn.svg)},
        {base + QStringLiteral(".csv"), QByteArray::fromStdString(worksheet.csv)},
        {base + QStringLiteral("-plot.svg"), QByteArray::fromStdString(worksheet.plotSvg)},
        {base + QStringLiteral("-plot.png"), pngBytes(plotImage(worksheet.plotSvg, scale_))},
    };
    for (const OutputFile& file : files) {
        if (file.bytes.isEmpty()) return notGenerated(file.name, czech_);
    }
    return writeTogether(dir_, files, czech_);
}

}  // namespace kvelmor
