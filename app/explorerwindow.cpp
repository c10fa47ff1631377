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
    clock_.start();
}

ExplorerWindow::~ExplorerWindow() = default;

void ExplorerWindow::exploreRun(const ExploreSetting& setting, int step)
{
    session_.exploreRun(setting, step);
    showSweep();
    hint_->hide();
    setEnabledControls(true);
    present(true);
}

void ExplorerWindow::followRun(const ExploreSetting& setting)
{
    session_.followRun(setting);
    showSweep();
    announcing_.stop();
    hint_->setText(qtext(TextKey::ExploreFollowing, language_));
    hint_->show();
    setEnabledControls(false);
}

void ExplorerWindow::followStep(int step)
{
    if (session_.followStep(step)) present(false);
}

void ExplorerWindow::endFollowing(bool completed)
{
    if (!session_.endFollowing(completed)) return;
    hint_->hide();
    setEnabledControls(true);
    present(true);
}

void ExplorerWindow::choose(int step, int paths)
{
    if (session_.choose(step, paths)) present(true);
}

// Everything the explorer shows, from its model: the sliders, both pictures and the readouts.
void ExplorerWindow::present(bool announceIt)
{
    Explorer& e = *session_.explorer();
    {
        const QSignalBlocker heightQuiet(height_), countQuiet(count_);
        height_->setValue(e.step());
        count_->setValue(pathChoiceOf(e.paths()));
    }
    chain_->draw(&e);
    pattern_->draw(&e, session_.lastKnown());
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
    if (announceIt && session_.sweep() == Sweep::None) announcing_.start();
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
    if (!explorer() || session_.following()) return;
    tell(QString::fromStdString(readoutsAnnouncement(readoutsOf(*explorer()), language_)));
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

// The sweep buttons' captions and the frames' timer as the session's sweep stands; the change
// a sweep made is told once it has ended.
void ExplorerWindow::showSweep()
{
    const Sweep sweep = session_.sweep();
    sweepPaths_->setText(qtext(
        sweep == Sweep::Paths ? TextKey::ExploreStop : TextKey::ExploreSweepPaths, language_));
    sweepHeight_->setText(qtext(
        sweep == Sweep::Height ? TextKey::ExploreStop : TextKey::ExploreSweepHeight, language_));
    if (sweep == Sweep::None) {
        if (frames_.isActive()) announcing_.start();
        frames_.stop();
    } else if (!frames_.isActive()) {
        const qreal hertz = screen() && screen()->refreshRate() > 1 ? screen()->refreshRate() : 60;
        frames_.start(std::max(1, int(std::lround(1000 / hertz))));
    }
}

// A second press of a sweep's button stops it.
void ExplorerWindow::pressSweep(Sweep sweep)
{
    const bool moved = session_.pressSweep(sweep, clock_.nsecsElapsed() / 1e9);
    if (moved) present(false);
    showSweep();
}

void ExplorerWindow::stopSweep()
{
    if (session_.stopSweep()) showSweep();
}

// One frame of a sweep: where it stands is the session's, from the time since it began.
void ExplorerWindow::sweepFrame()
{
    if (session_.sweepFrame(clock_.nsecsElapsed() / 1e9)) present(false);
    showSweep();
}

void ExplorerWindow::save(bool picture)
{
    stopSweep();
    if (!explorer()) return;
    const QString said = saveChain(this, *explorer(), picture, language_);
    if (!said.isEmpty()) tell(said);
}

}  // namespace kvelmor
