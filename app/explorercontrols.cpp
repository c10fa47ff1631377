#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/chainview.h"
#include "app/controls.h"
#include "app/explorerwindow.h"
#include "app/patternview.h"
#include "explore/explorer.h"
#include "explore/paths.h"

// The explorer window's controls, their names and texts, and how they stand in the window.
namespace kvelmor {

namespace {

constexpr int kHeightPage = 20;  // PgUp, PgDn: from one of the run's chain steps to the next

QLabel* namedLabel(const char* objectName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(objectName));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* namedButton(const char* objectName, const QString& caption, const QString& description,
                         QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromUtf8(objectName));
    button->setAccessibleDescription(description);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

void ExplorerWindow::build()
{
    const auto t = [this](TextKey key) { return qtext(key, language_); };
    hint_ = namedLabel("labNápověda", this);
    hint_->setText(t(TextKey::ExploreHint));
    hint_->setWordWrap(true);
    chain_ = new ChainView(this, language_);
    pattern_ = new PatternView(this, language_);
    height_ = new QSlider(Qt::Vertical, this);
    height_->setObjectName(QStringLiteral("sldVýška"));
    height_->setRange(0, kLastStep);
    height_->setPageStep(kHeightPage);
    height_->setAccessibleName(t(TextKey::ExploreHeightName));
    count_ = new QSlider(Qt::Horizontal, this);
    count_->setObjectName(QStringLiteral("sldŠipky"));
    count_->setRange(0, int(kPathChoices.size()) - 1);
    count_->setPageStep(1);
    count_->setTickPosition(QSlider::TicksBelow);
    count_->setValue(pathChoiceOf(kRunPaths));
    count_->setAccessibleName(t(TextKey::ExplorePathsName));
    auto* countName = new QLabel(t(TextKey::ExplorePathsName), this);
    countName->setBuddy(count_);
    countValue_ = namedLabel("labŠipky", this);
    sweepPaths_ = namedButton("cmdPřidávatŠipky", t(TextKey::ExploreSweepPaths),
                              t(TextKey::ExploreSweepPathsDescription), this);
    sweepHeight_ = namedButton("cmdProjítDetektor", t(TextKey::ExploreSweepHeight),
                               t(TextKey::ExploreSweepHeightDescription), this);
    savePicture_ = namedButton("cmdUložitObrázek", t(TextKey::ExploreSavePicture), {}, this);
    saveNumbers_ = namedButton("cmdUložitČísla", t(TextKey::ExploreSaveNumbers), {}, this);

    auto* readouts = new QFormLayout;
    const auto readout = [&](const char* name, TextKey title) {
        QLabel* value = namedLabel(name, this);
        readouts->addRow(t(title) + QLatin1Char(':'), value);
        return value;
    };
    readoutHeight_ = readout("labVýška", TextKey::ExploreHeightName);
    readoutDifference_ = readout("labRozdílDrah", TextKey::ExplorePathDifferenceName);
    readoutTurns_ = readout("labOtočení", TextKey::ExploreTurnsName);
    readoutSquared_ = readout("labČtverec", TextKey::ExploreSquaredLengthName);
    readoutShare_ = readout("labPodíl", TextKey::ExploreShareName);
    readoutContinuous_ = readout("labProtiSpojité", TextKey::ExploreAgainstContinuousName);
    status_ = namedLabel("labOznámení", this);
    status_->setWordWrap(true);

    auto* pictures = new QHBoxLayout;
    pictures->addWidget(chain_, 1);
    pictures->addWidget(pattern_);
    pictures->addWidget(height_);
    auto* counts = new QHBoxLayout;
    counts->addWidget(countName);
    counts->addWidget(count_, 1);
    counts->addWidget(countValue_);
    counts->addWidget(sweepPaths_);
    counts->addWidget(sweepHeight_);
    auto* saving = new QHBoxLayout;
    saving->addWidget(savePicture_);
    saving->addWidget(saveNumbers_);
    saving->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint_);
    layout->addLayout(pictures, 1);
    layout->addLayout(counts);
    layout->addLayout(readouts);
    layout->addLayout(saving);
    layout->addWidget(status_);

    // A change the user makes ends a sweep; the explorer's own changes move the sliders with
    // their signals blocked.
    connect(height_, &QSlider::valueChanged, this, [this](int step) {
        stopSweep();
        if (explorer()) choose(step, explorer()->paths());
    });
    connect(count_, &QSlider::valueChanged, this, [this](int choice) {
        stopSweep();
        if (explorer()) choose(explorer()->step(), kPathChoices[choice]);
    });
    connect(pattern_, &PatternView::stepPicked, height_, &QSlider::setValue);
    connect(sweepPaths_, &QPushButton::clicked, this, [this] { pressSweep(Sweep::Paths); });
    connect(sweepHeight_, &QPushButton::clicked, this, [this] { pressSweep(Sweep::Height); });
    connect(savePicture_, &QPushButton::clicked, this, [this] { save(true); });
    connect(saveNumbers_, &QPushButton::clicked, this, [this] { save(false); });
}

}  // namespace kvelmor
