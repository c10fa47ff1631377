#include "run/apparatus.h"

namespace kvelmor {

namespace {

// The background is painted in pixels: 611 grey lines covering everything right of a 5-pixel
// strip and below the 40 pixels of heading and buttons. No line width is set first, so it uses
// whatever width is in force (1, both at start and after a run).
void paintBackground(Surface& s)
{
    s.setScaleUnit(ScaleUnit::Twips);
    s.setScaleUnit(ScaleUnit::Pixels);
    for (int y = 40; y <= 650; ++y) s.line(5, y, 800, y, kGrey);
    s.setScaleUnit(ScaleUnit::Twips);
}

void drawSource(Surface& s)
{
    s.setLineWidth(2);
    s.setFillColour(systemColour(kTitleBarTextColour));
    s.setFillStyle(FillStyle::Solid);
    s.circle(Scene::sourceX, Scene::axisY, Scene::sourceRadius);
    s.setLineWidth(1);
}

// A fan of rays from the source to the lens line, each continued parallel to the screen; drawn
// after the source, so the rays run across the circle.
void drawBeam(Surface& s)
{
    for (int i = 1; i <= 6000; i += 10) {
        const float y = static_cast<float>(Scene::benchBottom - i);
        s.line(Scene::sourceX, Scene::axisY, Scene::lensX, y, kPaleCyan);
        s.line(Scene::lensX, y, Scene::screenX, y, kPaleCyan);
    }
}

void drawLightInSlit(Surface& s)
{
    for (int i = 1; i <= 1000; ++i) {
        const float above = static_cast<float>(Scene::axisY - i);
        const float below = static_cast<float>(Scene::axisY + i);
        s.line(Scene::screenX, above, Scene::screenX + 100, above, kPaleCyan);
        s.line(Scene::screenX, below, Scene::screenX + 100, below, kPaleCyan);
    }
}

// The screen with its slit gap, the detector line (both 2 pixels wide) and the probability axis.
void drawLines(Surface& s, const Scene& scene)
{
    const double slitTop = Scene::axisY - Scene::slitHalfHeight;
    const double slitBottom = Scene::axisY + Scene::slitHalfHeight;
    s.setLineWidth(2);
    s.line(Scene::screenX, Scene::benchTop, Scene::screenX, slitTop);
    s.line(Scene::screenX, Scene::benchBottom, Scene::screenX, slitBottom);
    s.line(scene.detectorX, Scene::benchTop, scene.detectorX, Scene::benchBottom);
    s.setLineWidth(1);
    s.line(Scene::probabilityX, Scene::benchTop, Scene::probabilityX, Scene::benchBottom);
}

void drawRays(Surface& s, const Scene& scene)
{
    for (int i = 1; i <= 6100; i += 500) {
        s.line(Scene::screenX, Scene::axisY, scene.detectorX, Scene::benchBottom - i, kPaleCyan);
    }
}

}  // namespace

void drawApparatus(Surface& surface, const Scene& scene)
{
    paintBackground(surface);
    drawSource(surface);
    drawBeam(surface);
    drawLightInSlit(surface);
    drawLines(surface, scene);
    drawRays(surface, scene);
}

}  // namespace kvelmor
