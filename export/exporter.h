#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "export/exportoptions.h"
#include "worksheet/worksheet.h"

namespace kvelmor {

// The file names of one setting, without folder and extension: "kvelmor-0.6-350".
QString exportBaseName(const ExportSetting& setting);

// Exports settings one after another. Each setting is run once in a hidden main window, as a click
// of "Start" would run it, and what it drew and computed goes into the folder `dir`:
// kvelmor-F-D.png (at `scale`), .svg, .csv and the worksheet plot, -plot.svg and -plot.png (at
// `scale`). The five files are one unit: all of them replace older ones, or, when any cannot be
// written, none does.
//
// The work is split between two threads, about evenly. This one runs each setting in the window
// (widgets live here), draws its picture and encodes it as PNG, and draws its SVG; a second thread
// computes the setting's numbers (the sums once more, without chains, and the continuous slit's
// quadrature), draws the plot and encodes its picture, and writes the files, while this one
// already runs the next setting.
// The languages of an export: the picture's scene labels (the hidden window's), the plot's words,
// and the messages.
struct ExportLanguages {
    Language window;
    Language plot;
    Language messages;
};

class Exporter {
public:
    Exporter(std::vector<ExportSetting> settings, QByteArray dir, int scale,
             ExportLanguages languages);
    ~Exporter();
    Exporter(const Exporter&) = delete;
    Exporter& operator=(const Exporter&) = delete;

    // Exports every setting in order, calling `starting(n)` as setting n begins. Stops at the
    // first setting that cannot be written (no later setting writes anything), or that memory
    // does not suffice for, and returns what could not be written and why, in the language of
    // the messages; empty when all were written.
    QString run(const std::function<void(int n)>& starting);

private:
    // What this thread drew of one setting: the picture's PNG and the SVG, each empty where memory
    // did not suffice for it; `stop` tells the second thread that the export ended before this
    // setting.
    struct Drawn {
        QByteArray png;
        QByteArray svg;
        bool stop = false;
    };

    // False, drawing nothing, when the window has no option of the setting's name.
    bool draw(int n);
    void finishAll();
    QString finish(int n, const Worksheet& worksheet, Drawn drawn);

    std::vector<ExportSetting> settings_;
    QByteArray dir_;
    int scale_;
    ExportLanguages languages_;
    std::vector<std::promise<Drawn>> drawn_;
    std::vector<std::promise<QString>> written_;
    int handedOver_ = 0;
    std::thread worker_;
};

}  // namespace kvelmor
