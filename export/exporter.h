#pragma once

#include <QString>
#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "export/exportoptions.h"
#include "export/settingtable.h"

namespace kvelmor {

// The file names of one setting, without folder and extension: "kvelmor-0.6-350".
QString exportBaseName(const ExportSetting& setting);

// Exports settings one after another. Each setting is run once in a hidden main window, as a click
// of "Start" would run it, and what it drew and computed goes into the folder `dir`:
// kvelmor-F-D.png (at `scale`), .svg, .csv and the worksheet plot, -plot.svg and -plot.png (at
// `scale`). The five files are one unit: all of them replace older ones, or, when any cannot be
// written, none does.
//
// The numbers of the settings (their sums once more, without chains, and the continuous slit's
// quadrature) need no widgets: a second thread computes them, in order, while this one runs and
// draws.
class Exporter {
public:
    Exporter(std::vector<ExportSetting> settings, QString dir, int scale, bool czech);
    ~Exporter();
    Exporter(const Exporter&) = delete;
    Exporter& operator=(const Exporter&) = delete;

    int count() const { return int(settings_.size()); }
    const ExportSetting& setting(int n) const { return settings_[n]; }

    // Exports setting `n`; call for n = 0, 1, ... in order. Returns an empty string, or what
    // could not be written and why, in Czech when the exporter speaks Czech.
    QString exportSetting(int n);

private:
    struct Numbers {
        std::vector<StepRow> rows;
        QByteArray csv;
    };

    std::vector<ExportSetting> settings_;
    QString dir_;
    int scale_;
    bool czech_;
    std::vector<std::promise<Numbers>> promised_;
    std::vector<std::future<Numbers>> numbers_;
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

}  // namespace kvelmor
