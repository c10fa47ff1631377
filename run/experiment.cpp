#include "run/experiment.h"

#include <vector>

#include "run/apparatus.h"
#include "run/numbertext.h"
#include "run/phasor.h"

namespace kvelmor {

namespace {

// The chain of a step, every arrow from D onwards, and the green sum arrow from D to its end.
void drawChain(Surface& s, const std::vector<Point>& chain)
{
    for (std::size_t i = 2; i < chain.size(); ++i) {
        s.line(chain[i - 1].x, chain[i - 1].y, chain[i].x, chain[i].y);
    }
}

void placeLabels(RunHost& host, const Scene& scene)
{
    host.placeLabel(SceneLabel::labClona, 2300, 1000);
    host.placeLabel(SceneLabel::labDetektorB, scene.detectorX, 1000);
    host.placeLabel(SceneLabel::labPravděpodobnost, Scene::probabilityX, 1000);
    host.placeLabel(SceneLabel::labZdroj, Scene::lensX - 1600, Scene::axisY - 100);
}

}  // namespace

void runExperiment(Surface& surface, RunHost& host)
{
    const Scene scene = Scene::forDistance(numberFromText(host.settingsText(SettingsBox::nRozteč)));
    drawApparatus(surface, scene);
    surface.flush();

    // A frequency text the options never write leaves L = f = 0: every arrow has length zero.
    const Wave wave = waveForFrequency(host.settingsText(SettingsBox::nFi)).value_or(Wave{0, 0});
    double barScale = 0;
    std::vector<Point> chain;

    for (int j = kFirstOffset; j <= kLastOffset; j += kOffsetStep) {
        if (!host.pace(numberFromText(host.settingsText(SettingsBox::nSpomaleni)))) return;

        const bool drawsChain = j % kChainEvery == 0;
        const Point d{scene.detectorX, Scene::benchBottom - j};
        const StepSum sum = sumArrows(scene, wave, j, drawsChain ? &chain : nullptr);

        surface.line(d.x, d.y, sum.straightTip.x, sum.straightTip.y);
        if (drawsChain) drawChain(surface, chain);
        surface.setLineWidth(2);
        if (drawsChain) surface.line(d.x, d.y, sum.tip.x, sum.tip.y, kGreen);
        surface.circle(Scene::probabilityX, d.y, 1);
        surface.setLineWidth(1);

        // The scale follows the distance box at every step; an unknown text keeps the last one.
        barScale = barScaleForDistance(host.settingsText(SettingsBox::nRozteč)).value_or(barScale);
        const double bar = sum.squaredLength * barScale;
        surface.setLineWidth(2);
        surface.line(Scene::probabilityX, d.y, Scene::probabilityX + bar, d.y);
        surface.setLineWidth(1);

        surface.flush();
        host.stepDone(j);
    }
    placeLabels(host, scene);
}

}  // namespace kvelmor
