#include "web/explorerpage.h"

#include <emscripten.h>

#include "explore/chainfiles.h"
#include "explore/paths.h"
#include "explore/patternpicture.h"
#include "explore/windowpick.h"
#include "run/experiment.h"
#include "run/numbertext.h"
#include "web/explorerbindings.h"
#include "web/jsbindings.h"

namespace kvelmor {

namespace {

std::string textIn(Language language, TextKey key)
{
    return std::string(text(key, language));
}

}  // namespace

ExplorerPage& explorerPage()
{
    static ExplorerPage page;
    return page;
}

void ExplorerPage::create()
{
    js::addBarButton("kv-explore");
    js::createExplorer(int(kPathChoices.size()));
}

bool ExplorerPage::takesInput() const
{
    return open_ && !running_ && !ended_;
}

void ExplorerPage::runStarting(const std::string& frequencyText, const std::string& distanceText)
{
    running_ = true;
    const std::optional<ExploreSetting> setting =
        exploreSettingFor(frequencyText, int(numberFromText(distanceText)));
    if (!open_ || !setting) return;
    session_.followRun(*setting);
    js::setExplorerHint(textIn(language_, TextKey::ExploreFollowing));
    showState();
}

void ExplorerPage::stepDone(int j)
{
    if (!open_ || !session_.followStep((j - kFirstOffset) / kOffsetStep)) return;
    // Drawn at the display's next frame, not at every step: a fast run draws its steps many
    // times faster than a screen shows them.
    drawPending_ = true;
    js::requestExplorerFrame();
}

void ExplorerPage::runEnded(const std::string& frequencyText, const std::string& distanceText)
{
    running_ = false;
    finished_ = exploreSettingFor(frequencyText, int(numberFromText(distanceText)));
    bars_.clear();
    drawPending_ = false;
    if (session_.endFollowing(true)) {
        js::setExplorerHint("");
        present(true);
    } else {
        showSaving();
    }
}

// At the centre after a run, with the count chosen last; before any run with its one line on how
// to use it.
void ExplorerPage::open()
{
    if (running_ || ended_) return;
    const bool wasOpen = open_;
    open_ = true;
    js::showExplorer(true);
    if (wasOpen) return;
    if (finished_) {
        session_.exploreRun(*finished_, kCentreStep);
        js::setExplorerHint("");
        present(true);
    } else {
        js::setExplorerHint(textIn(language_, TextKey::ExploreHint));
        showState();
        showSaving();
        drawPictures();
    }
}

void ExplorerPage::close()
{
    if (!takesInput()) return;
    session_.stopSweep();
    open_ = false;
    js::showExplorer(false);
}

void ExplorerPage::pickInWindow(double x, double y, double reach)
{
    if (running_ || ended_ || !finished_) return;
    if (bars_.empty()) {
        Explorer run(*finished_);
        for (int step = 0; step < kStepCount; ++step)
            bars_.push_back(run.runSquaredLength(step) * finished_->barScale);
    }
    const std::optional<int> step = stepAtWindowPoint(finished_->scene, bars_, x, y, reach);
    if (!step) return;
    const bool wasOpen = open_;
    open_ = true;
    if (!wasOpen) js::showExplorer(true);
    session_.exploreRun(*finished_, *step);
    js::setExplorerHint("");
    present(true);
}

void ExplorerPage::chooseStep(int step)
{
    if (!takesInput() || !session_.explorer()) return;
    session_.stopSweep();
    if (session_.choose(step, session_.explorer()->paths())) present(true);
}

void ExplorerPage::chooseCount(int choice)
{
    if (!takesInput() || !session_.explorer() || choice < 0 || choice >= int(kPathChoices.size())) {
        return;
    }
    session_.stopSweep();
    if (session_.choose(session_.explorer()->step(), kPathChoices[choice])) present(true);
}

void ExplorerPage::pickInPattern(double y)
{
    if (takesInput() && session_.explorer()) {
        chooseStep(patternStepAt(patternWidth_, patternHeight_, y));
    }
}

void ExplorerPage::pressSweep(int sweep, double milliseconds)
{
    if (!takesInput()) return;
    const auto kind = sweep == 1   ? ExplorerSession::Sweep::Paths
                      : sweep == 2 ? ExplorerSession::Sweep::Height
                                   : ExplorerSession::Sweep::None;
    const bool moved = session_.pressSweep(kind, milliseconds / 1000);
    if (moved) {
        present(false);
        js::requestExplorerFrame();
    } else if (session_.explorer()) {
        present(true);  // stopped where it stood: said once
    }
}

bool ExplorerPage::frame(double milliseconds)
{
    if (!open_ || ended_) return false;
    if (session_.sweep() != ExplorerSession::Sweep::None) {
        session_.sweepFrame(milliseconds / 1000);
        const bool going = session_.sweep() != ExplorerSession::Sweep::None;
        present(!going);
        return going;
    }
    if (drawPending_) {
        drawPending_ = false;
        present(false);
    }
    return false;
}

void ExplorerPage::resize(int chainWidth, int chainHeight, int patternWidth, int patternHeight,
                          double ratio)
{
    chainWidth_ = std::max(chainWidth, 0);
    chainHeight_ = std::max(chainHeight, 0);
    patternWidth_ = std::max(patternWidth, 0);
    patternHeight_ = std::max(patternHeight, 0);
    ratio_ = std::clamp(ratio, 0.25, 8.0);
    if (open_) drawPictures();
}

void ExplorerPage::save(int kind, int scale)
{
    Explorer* e = session_.explorer();
    if (!takesInput() || !e || kind < 0 || kind > 2 || session_.following()) return;
    session_.stopSweep();
    const std::string name =
        chainFileBase(e->setting(), e->step(), e->paths()) + (kind == 0   ? ".png"
                                                              : kind == 1 ? ".svg"
                                                                          : ".csv");
    if (kind == 2) {
        js::saveFile(name, "text/csv", chainCsv(e->chain()));
    } else if (kind == 1) {
        js::saveFile(name, "image/svg+xml", chainSvg(*e, language_));
    } else if (scale == 1 || scale == 2) {
        const ChainPixels pixels = chainPixels(*e, language_, scale);
        js::saveChainPicture(name, pixels.rgba, pixels.width, pixels.height, scale, pixels.texts);
    }
}

}  // namespace kvelmor

using kvelmor::explorerPage;

// The panel's controls (web/explorer.js); each is ignored during a run and after "Konec".
extern "C" {

EMSCRIPTEN_KEEPALIVE void kv_exploreOpen()
{
    explorerPage().open();
}

EMSCRIPTEN_KEEPALIVE void kv_exploreClose()
{
    explorerPage().close();
}

EMSCRIPTEN_KEEPALIVE void kv_explorePick(double x, double y, double reach)
{
    explorerPage().pickInWindow(x, y, reach);
}

EMSCRIPTEN_KEEPALIVE void kv_exploreStep(int step)
{
    explorerPage().chooseStep(step);
}

EMSCRIPTEN_KEEPALIVE void kv_exploreCount(int choice)
{
    explorerPage().chooseCount(choice);
}

EMSCRIPTEN_KEEPALIVE void kv_explorePattern(double y)
{
    explorerPage().pickInPattern(y);
}

EMSCRIPTEN_KEEPALIVE void kv_exploreSweep(int sweep, double milliseconds)
{
    explorerPage().pressSweep(sweep, milliseconds);
}

EMSCRIPTEN_KEEPALIVE int kv_exploreFrame(double milliseconds)
{
    return explorerPage().frame(milliseconds);
}

EMSCRIPTEN_KEEPALIVE void kv_exploreResize(int chainWidth, int chainHeight, int patternWidth,
                                           int patternHeight, double ratio)
{
    explorerPage().resize(chainWidth, chainHeight, patternWidth, patternHeight, ratio);
}

EMSCRIPTEN_KEEPALIVE void kv_exploreSave(int kind, int scale)
{
    explorerPage().save(kind, scale);
}

}  // extern "C"
