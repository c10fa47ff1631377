#include "app/explorerlink.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "app/explorerwindow.h"
#include "app/frmkvelmor.h"
#include "explore/explorer.h"
#include "explore/paths.h"
#include "explore/windowpick.h"
#include "layout/controls.h"

namespace kvelmor {

namespace {

constexpr double kReachPixels = 6;  // how far from a line or a bar a click still picks it
constexpr int kGap = 8;             // pixels between the two windows

}  // namespace

ExplorerLink::ExplorerLink(FrmKvelmor& window) : QObject(&window), window_(window)
{
    window_.installEventFilter(this);
    connect(&window_, &FrmKvelmor::runStarting, this, &ExplorerLink::runStarting);
    connect(&window_, &FrmKvelmor::stepDrawn, this, &ExplorerLink::stepDrawn);
    connect(&window_, &FrmKvelmor::runEnded, this, &ExplorerLink::runEnded);
}

ExplorerLink::~ExplorerLink() = default;

void ExplorerLink::open()
{
    const bool first = !explorer_;
    if (first) explorer_ = std::make_unique<ExplorerWindow>(window_.language());
    if (first || !explorer_->isVisible()) placeBesideWindow();
    explorer_->show();
    explorer_->raise();
}

void ExplorerLink::openAt(int step)
{
    open();
    explorer_->exploreRun(*finished_, step);
}

bool ExplorerLink::following() const
{
    return explorer_ && explorer_->isVisible() && running_;
}

void ExplorerLink::runStarting(const QString& frequencyText, const QString& distanceText)
{
    const std::optional<ExploreSetting> setting =
        exploreSettingFor(frequencyText.toStdString(), distanceText.toInt());
    running_ = setting ? std::make_unique<ExploreSetting>(*setting) : nullptr;
    if (following()) explorer_->followRun(*running_);
}

void ExplorerLink::stepDrawn(int j)
{
    if (following()) explorer_->followStep((j - kFirstOffset) / kOffsetStep);
}

void ExplorerLink::runEnded(bool completed)
{
    if (following()) explorer_->endFollowing(completed);
    if (completed && running_) {
        finished_ = std::move(running_);
        bars_.clear();
    }
    running_.reset();
}

// A click on the drawing reaches the window itself (the drawing takes no mouse); it is looked at
// and passed on, as the window does nothing with it. During a run no click arrives at all. The
// window's close closes the explorer with it.
bool ExplorerLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::Close && explorer_) explorer_->close();
    if (watched != &window_ || event->type() != QEvent::MouseButtonPress || !finished_ ||
        window_.isRunning()) {
        return false;
    }
    const auto* click = static_cast<QMouseEvent*>(event);
    if (click->button() != Qt::LeftButton) return false;
    if (bars_.empty()) {
        Explorer run(*finished_);
        for (int step = 0; step < kStepCount; ++step)
            bars_.push_back(run.runSquaredLength(step) * finished_->barScale);
    }
    const QPointF at = click->position() * kTwipsPerPixel;
    if (const std::optional<int> step = stepAtWindowPoint(finished_->scene, bars_, at.x(), at.y(),
                                                          kReachPixels * kTwipsPerPixel)) {
        openAt(*step);
    }
    return false;
}

QPoint besideWindow(const QRect& main, QSize size, const QRect& room)
{
    int x = main.right() + 1 + kGap;
    if (x + size.width() > room.right() + 1) x = main.left() - kGap - size.width();
    if (x < room.left()) x = std::max(room.left(), room.right() + 1 - size.width());
    return {x, std::max(main.top(), room.top())};
}

void ExplorerLink::placeBesideWindow()
{
    explorer_->adjustSize();
    const QScreen* screen = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
    const QRect main = window_.frameGeometry();
    explorer_->move(besideWindow(main, explorer_->frameGeometry().size(),
                                 screen ? screen->availableGeometry() : main));
}

}  // namespace kvelmor
