#include "export/exporter.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QBuffer>
#include <QPainter>
#include <cerrno>

#include "app/controls.h"
#include "app/frmkvelmor.h"
#include "app/svgpicture.h"
#include "app/terminal.h"
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "canvas/recordingsurface.h"
#include "export/outputfiles.h"
#include "export/plotimage.h"
#include "export/replay.h"
#include "export/runsvg.h"
#include "layout/settings.h"
#include "run/continuousslit.h"
#include "run/experiment.h"

namespace kvelmor {

namespace {

const QSize kPictureSize(801, 651);  // as the window's picture: all the run ever paints

// The run's picture as the window shows it, `scale` device pixels to a pixel.
QImage runPicture(FrmKvelmor& window, const RecordingSurface& drawing, int scale)
{
    ImageSurface surface(kPictureSize, scale, window.palette(), {});
    replay(drawing, surface);
    QImage picture(kClientArea * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(kRunBackground);
    {
        QPainter painter(&picture);
        surface.paintOnto(painter, QRect(QPoint(0, 0), kClientArea));
        paintSceneLabels(window, painter);
    }
    return picture;
}

// The continuous slit's column then holds the finest values reached: said, not passed off as
// settled. The files are written all the same.
void sayUnsettled(const ExportSetting& setting, int steps, Language language)
{
    writeText(STDERR_FILENO,
              QStringLiteral("kvelmor-export: ") +
                  qtext(TextKey::ContinuousUnsettled, language)
                      .arg(exportBaseName(setting), QString::number(kMostSlitPanels),
                           QString::number(steps),
                           QString::number((kLastOffset - kFirstOffset) / kOffsetStep + 1)) +
                  QLatin1Char('\n'));
}

// A file whose content could not be made: its picture or encoding found no memory.
QString notGenerated(const QString& name, Language language)
{
    return qtext(TextKey::CannotMake, language).arg(name, systemReason(ENOMEM, language));
}

}  // namespace

QString exportBaseName(const ExportSetting& setting)
{
    return QStringLiteral("kvelmor-%1-%2").arg(setting.frequencyText).arg(setting.distance);
}

Exporter::Exporter(std::vector<ExportSetting> settings, QByteArray dir, int scale,
                   ExportLanguages languages)
    : settings_(std::move(settings)),
      dir_(std::move(dir)),
      scale_(scale),
      languages_(languages),
      drawn_(settings_.size()),
      written_(settings_.size())
{
    worker_ = std::thread([this] { finishAll(); });
}

// Settings never drawn (after a failure) are handed over marked `stop`, which ends the second
// thread wherever it waits.
Exporter::~Exporter()
{
    for (; handedOver_ < int(drawn_.size()); ++handedOver_) {
        drawn_[handedOver_].set_value({{}, {}, true});
    }
    worker_.join();
}

QString Exporter::run(const std::function<void(int n)>& starting)
{
    for (int n = 0; n < int(settings_.size()); ++n) {
        starting(n);
        try {
            if (!draw(n)) return notGenerated(exportBaseName(settings_[n]), languages_.messages);
        } catch (const std::bad_alloc&) {
            return notGenerated(exportBaseName(settings_[n]), languages_.messages);
        }
        // Setting n is being finished on the second thread; n - 1 must have been written before
        // n + 1 is drawn.
        if (n > 0) {
            if (QString error = written_[n - 1].get_future().get(); !error.isEmpty()) return error;
        }
    }
    return settings_.empty() ? QString() : written_.back().get_future().get();
}

bool Exporter::draw(int n)
{
    const ExportSetting& setting = settings_[n];
    FrmKvelmor window(nullptr, 1, languages_.window);
    for (const QString& name : {setting.frequencyOption, setting.distanceOption}) {
        auto* option = controlNamed<QAbstractButton>(window, name.toStdString());
        if (!option) return false;
        option->setChecked(true);
    }
    RecordingSurface drawing;
    {
        WindowRunHost host(window);
        runExperiment(drawing, host);
    }
    drawn_[n].set_value({pngBytes(runPicture(window, drawing, scale_)), runSvg(window, drawing)});
    ++handedOver_;
    return true;
}

// The second thread: the numbers of each setting, computed while its run is being drawn, then
// everything else, in order, until a setting fails or nothing more comes.
void Exporter::finishAll()
{
    for (std::size_t n = 0; n < settings_.size(); ++n) {
        const ExportSetting& setting = settings_[n];
        QString error;
        try {
            const Worksheet worksheet =
                worksheetFor(setting.frequencyText.toStdString(), setting.distance, languages_.plot)
                    .value_or(Worksheet{});
            if (worksheet.unsettledSteps > 0)
                sayUnsettled(setting, worksheet.unsettledSteps, languages_.messages);
            Drawn drawn = drawn_[n].get_future().get();
            if (drawn.stop) return;
            error = finish(int(n), worksheet, std::move(drawn));
        } catch (const std::bad_alloc&) {
            error = notGenerated(exportBaseName(setting), languages_.messages);
        }
        written_[n].set_value(error);
        if (!error.isEmpty()) return;
    }
}

QString Exporter::finish(int n, const Worksheet& worksheet, Drawn drawn)
{
    const QString base = exportBaseName(settings_[n]);
    const std::vector<OutputFile> files{
        {base + QStringLiteral(".png"), std::move(drawn.png)},
        {base + QStringLiteral(".svg"), std::move(drawn.svg)},
        {base + QStringLiteral(".csv"), QByteArray::fromStdString(worksheet.csv)},
        {base + QStringLiteral("-plot.svg"), QByteArray::fromStdString(worksheet.plotSvg)},
        {base + QStringLiteral("-plot.png"), pngBytes(plotImage(worksheet.plotSvg, scale_))},
    };
    for (const OutputFile& file : files) {
        if (file.bytes.isEmpty()) return notGenerated(file.name, languages_.messages);
    }
    return writeTogether(dir_, files, languages_.messages);
}

}  // namespace kvelmor
