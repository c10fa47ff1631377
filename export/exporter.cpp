#include "export/exporter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTextStream>
#include <cmath>

#include "app/frmkvelmor.h"
#include "app/windowrunhost.h"
#include "canvas/imagesurface.h"
#include "canvas/vectorsurface.h"
#include "run/continuousslit.h"
#include "run/experiment.h"
#include "run/numbertext.h"
#include "run/phasor.h"

namespace kvelmor {

namespace {

const QSize kClientArea(765, 560);
const QColor kGrey(0xC0, 0xC0, 0xC0);
const char* const kSceneLabels[] = {"labClona", "labDetektorB", "labPravděpodobnost", "labZdroj"};

std::string boxText(const FrmKvelmor& window, const char* box)
{
    return window.findChild<QLineEdit*>(QString::fromUtf8(box))->text().toStdString();
}

// The scene labels where the run placed them, in the window's fonts and colours.
void paintSceneLabels(FrmKvelmor& window, QPainter& painter)
{
    for (const char* name : kSceneLabels) {
        auto* label = window.findChild<QLabel*>(QString::fromUtf8(name));
        if (label->isVisibleTo(&window)) label->render(&painter, label->pos());
    }
}

QString failure(bool czech, const QSaveFile& file)
{
    return (czech ? QStringLiteral("nelze zapsat %1: %2") : QStringLiteral("cannot write %1: %2"))
        .arg(file.fileName(), file.errorString());
}

QString writePng(FrmKvelmor& window, const QString& path, int scale, bool czech)
{
    QImage picture(kClientArea * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(kGrey);
    {
        QPainter painter(&picture);
        window.surface().paintOnto(painter, QRect(QPoint(0, 0), kClientArea));
        paintSceneLabels(window, painter);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
        return failure(czech, file);
    }
    return {};
}

// The same run once more, drawn as vector lines and circles.
QString writeSvg(FrmKvelmor& window, const QString& path, bool czech)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return failure(czech, file);
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(kClientArea);
    svg.setViewBox(QRect(QPoint(0, 0), kClientArea));
    svg.setTitle(QStringLiteral("Kvelmor"));
    svg.setDescription(QStringLiteral("Interference - Kvelmor"));
    {
        QPainter painter(&svg);
        painter.fillRect(QRect(QPoint(0, 0), kClientArea), kGrey);
        VectorSurface surface(painter, window.palette());
        WindowRunHost host(window);
        runExperiment(surface, host);
        paintSceneLabels(window, painter);
    }
    if (!file.commit()) return failure(czech, file);
    return {};
}

QString writeCsv(const FrmKvelmor& window, const QString& path, bool czech)
{
    const Scene scene = Scene::forDistance(numberFromText(boxText(window, "nRozteč")));
    const Wave wave = waveForFrequency(boxText(window, "nFi")).value_or(Wave{0, 0});
    const double barScale = barScaleForDistance(boxText(window, "nRozteč")).value_or(0);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return failure(czech, file);
    QTextStream out(&file);
    auto number = [](double v) { return QString::fromStdString(numberText(v)); };
    out << "j,detector_y_twips,squared_length,bar_length_twips,sum_angle_rad,"
           "continuous_squared_length\n";
    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        const StepSum sum = sumArrows(scene, wave, j);
        const double dy = Scene::benchBottom - j;
        const double angle = std::atan2(sum.tip.y - dy, sum.tip.x - scene.detectorX);
        const ContinuousSum continuous = continuousSquaredLength(scene, wave, j);
        out << j << ',' << number(dy) << ',' << number(sum.squaredLength) << ','
            << number(sum.squaredLength * barScale) << ',' << number(angle) << ','
            << number(continuous.squaredLength) << '\n';
    }
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) return failure(czech, file);
    return {};
}

}  // namespace

QString exportBaseName(const QString& dir, const ExportSetting& setting)
{
    return QStringLiteral("%1/kvelmor-%2-%3").arg(dir, setting.frequencyText).arg(setting.distance);
}

QString exportSetting(const ExportSetting& setting, const QString& dir, int scale, bool czech)
{
    FrmKvelmor window(nullptr, scale);
    window.findChild<QAbstractButton*>(setting.frequencyOption)->setChecked(true);
    window.findChild<QAbstractButton*>(setting.distanceOption)->setChecked(true);
    window.findChild<QAbstractButton*>(QStringLiteral("cmdStart"))->click();

    const QString base = exportBaseName(dir, setting);
    QString error = writePng(window, base + QStringLiteral(".png"), scale, czech);
    if (error.isEmpty()) error = writeSvg(window, base + QStringLiteral(".svg"), czech);
    if (error.isEmpty()) error = writeCsv(window, base + QStringLiteral(".csv"), czech);
    return error;
}

}  // namespace kvelmor
