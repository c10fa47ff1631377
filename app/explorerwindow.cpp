#include "app/explorerwindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "app/chainview.h"
#include "app/controls.h"
#include "app/explorersaving.h"
#include "app/patternview.h"
#include "explore/explorer.h"
#include "explore/paths.h"
#include "explore/readouts.h"

namespace kvelmor {

namespace {

constexpr int kHeightPage = 20;  // PgUp, PgDn: from one of the run's chain steps to the next
constexpr double kPathsSweepSeconds = 3;
constexpr double kHeightStepsPerSecond = 60;
constexpr int kAnnounceAfterMs = 400;  // a change is told once it has settled this long

// The choice a count stands at: the largest of the offered counts at or below it.
int choiceOf(int paths)
{
    if (paths == kInfinitePaths) return int(kPathChoices.size()) - 1;
    int choice = 0;
    for (int i = 0; i + 1 < int(kPathChoices.size()); ++i) {
        if (kPathChoices[i] <= paths) choice = i;
    }
    return choice;
}

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

ExplorerWindow::ExplorerWindow(Language language) : language_(language)
{
    setObjectName(QStringLiteral("frmZkoumat"));
    setWindowTitle(qtext(TextKey::ExploreTitle, language_));
    // Closing the main window ends the program, whether the explorer is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    build();
    setEnabledControls(false);
    announcing_.setSingleShot(true);
    announcing_.setInterval(kAnnounceAfterMs);
    connect(&announcing_, &QTimer::timeout, this, &ExplorerWindow::announce);
    frames_.setTimerType(Qt::PreciseTimer);
    connect(&frames_, &QTimer::timeout, this, &ExplorerWindow::sweepFrame);
}

ExplorerWindow::~ExplorerWindow() = default;

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
    count_->setValue(choiceOf(kRunPaths));
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
        if (explorer_) choose(step, explorer_->paths());
    });
    connect(count_, &QSlider::valueChanged, this, [this](int choice) {
        stopSweep();
        if (explorer_) choose(explorer_->step(), kPathChoices[choice]);
    });
    connect(pattern_, &PatternView::stepPicked, height_, &QSlider::setValue);
    connect(sweepPaths_, &QPushButton::clicked, this, [this] { startSweep(Sweep::Paths); });
    connect(sweepHeight_, &QPushButton::clicked, this, [this] { startSweep(Sweep::Height); });
    connect(savePicture_, &QPushButton::clicked, this, [this] { save(true); });
    connect(saveNumbers_, &QPushButton::clicked, this, [this] { save(false); });
}

void ExplorerWindow::useSetting(const ExploreSetting& setting)
{
    const int paths = explorer_ ? explorer_->paths() : kRunPaths;
    if (explorer_ && explorer_->setting().frequencyText == setting.frequencyText &&
        explorer_->setting().distance == setting.distance) {
        return;
    }
    explorer_ = std::make_unique<Explorer>(setting);
    explorer_->choose(0, paths);
}

void ExplorerWindow::exploreRun(const ExploreSetting& setting, int step)
{
    stopSweep();
    useSetting(setting);
    following_ = false;
    lastKnown_ = kLastStep;
    hint_->hide();
    setEnabledControls(true);
    choose(step, explorer_->paths());
}

void ExplorerWindow::followRun(const ExploreSetting& setting)
{
    stopSweep();
    announcing_.stop();
    useSetting(setting);
    following_ = true;
    lastKnown_ = -1;
    hint_->setText(qtext(TextKey::ExploreFollowing, language_));
    hint_->show();
    setEnabledControls(false);
}

void ExplorerWindow::followStep(int step)
{
    if (!following_) return;
    lastKnown_ = step;
    explorer_->choose(step, explorer_->paths());
    present(false);
}

void ExplorerWindow::endFollowing(bool completed)
{
    if (!following_) return;
    following_ = false;
    if (completed) lastKnown_ = kLastStep;
    hint_->hide();
    setEnabledControls(true);
    present(true);
}

void ExplorerWindow::choose(int step, int paths)
{
    if (!explorer_ || following_) return;
    explorer_->choose(step, paths);
    present(true);
}

// Everything the explorer shows, from its model: the sliders, both pictures and the readouts.
void ExplorerWindow::present(bool announceIt)
{
    Explorer& e = *explorer_;
    {
        const QSignalBlocker heightQuiet(height_), countQuiet(count_);
        height_->setValue(e.step());
        count_->setValue(choiceOf(e.paths()));
    }
    chain_->draw(&e);
    pattern_->draw(&e, lastKnown_);
    const Readouts r = readoutsOf(e);
    const ReadoutTexts texts = readoutTexts(r, language_);
    countValue_->setText(QString::fromStdString(texts.paths));
    count_->setAccessibleDescription(QString::fromStdString(texts.paths));
    setReadout(readoutHeight_, TextKey::ExploreHeightName, texts.height);
    setReadout(readoutDifference_, TextKey::ExplorePathDifferenceName, texts.pathDifference);
    setReadout(readoutTurns_, TextKey::ExploreTurnsName, texts.turns);
    setReadout(readoutSquared_, TextKey::ExploreSquaredLengthName, texts.squaredLength);
    setReadout(readoutShare_, TextKey::ExploreShareName, texts.share);
    setReadout(readoutContinuous_, TextKey::ExploreAgainstContinuousName, texts.againstContinuous);
    chain_->setAccessibleDescription(QString::fromStdString(readoutsAnnouncement(r, language_)));
    if (announceIt && sweep_ == Sweep::None) announcing_.start();
}

void ExplorerWindow::setReadout(QLabel* label, TextKey name, const std::string& value)
{
    const QString text = QString::fromStdString(value);
    label->setText(text);
    label->setAccessibleName(qtext(name, language_) + QStringLiteral(": ") + text);
}

// The settled state, told once: the status line changes, and with it the name a screen reader
// reads out politely.
void ExplorerWindow::announce()
{
    if (!explorer_ || following_) return;
    tell(QString::fromStdString(readoutsAnnouncement(readoutsOf(*explorer_), language_)));
}

void ExplorerWindow::tell(const QString& message)
{
    status_->setText(message);
    status_->setAccessibleName(message);  // one change of name, which screen readers announce
    emit announced(message);
}

void ExplorerWindow::setEnabledControls(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             height_, count_, sweepPaths_, sweepHeight_, savePicture_, saveNumbers_}) {
        control->setEnabled(enabled);
    }
    pattern_->setPicking(enabled);
}

void ExplorerWindow::startSweep(Sweep sweep)
{
    const bool again = sweep_ == sweep;
    stopSweep();
    if (again || !explorer_ || following_) return;  // a second press stops the sweep
    sweep_ = sweep;
    (sweep == Sweep::Paths ? sweepPaths_ : sweepHeight_)
        ->setText(qtext(TextKey::ExploreStop, language_));
    const qreal hertz = screen() && screen()->refreshRate() > 1 ? screen()->refreshRate() : 60;
    sweepClock_.start();
    frames_.start(std::max(1, int(std::lround(1000 / hertz))));
    sweepFrame();
}

void ExplorerWindow::stopSweep()
{
    if (sweep_ == Sweep::None) return;
    frames_.stop();
    sweep_ = Sweep::None;
    sweepPaths_->setText(qtext(TextKey::ExploreSweepPaths, language_));
    sweepHeight_->setText(qtext(TextKey::ExploreSweepHeight, language_));
    announcing_.start();
}

// One frame of a sweep: where it stands is taken from the time since it began, so it lasts as
// long at any frame rate and on a slow machine only shows fewer frames.
void ExplorerWindow::sweepFrame()
{
    const double seconds = sweepClock_.nsecsElapsed() / 1e9;
    if (sweep_ == Sweep::Paths) {
        const double fraction = seconds / kPathsSweepSeconds;
        explorer_->choose(explorer_->step(), sweptPaths(fraction));
        present(false);
        if (fraction >= 1) stopSweep();
    } else if (sweep_ == Sweep::Height) {
        const int step = std::min(int(seconds * kHeightStepsPerSecond), kLastStep);
        explorer_->choose(step, explorer_->paths());
        present(false);
        if (step == kLastStep) stopSweep();
    }
}

void ExplorerWindow::save(bool picture)
{
    stopSweep();
    if (!explorer_) return;
    const QString said = saveChain(this, *explorer_, picture, language_);
    if (!said.isEmpty()) tell(said);
}

}  // namespace kvelmor
