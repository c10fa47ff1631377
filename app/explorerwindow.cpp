#include "app/explorerwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
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

constexpr double kPathsSweepSeconds = 3;
constexpr double kHeightStepsPerSecond = 60;
constexpr int kAnnounceAfterMs = 400;  // a change is told once it has settled this long

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
        count_->setValue(pathChoiceOf(e.paths()));
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
