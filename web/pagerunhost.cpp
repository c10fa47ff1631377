#include "web/pagerunhost.h"

#include "layout/controls.h"
#include "layout/settings.h"
#include "web/jsbindings.h"

namespace kvelmor {

namespace {

Pacer::Duration now()
{
    return std::chrono::duration_cast<Pacer::Duration>(
        std::chrono::duration<double, std::milli>(js::nowMilliseconds()));
}

}  // namespace

PageRunHost::PageRunHost()
    : pacer_(now,
             [this](std::chrono::milliseconds ms) {
                 if (beforeYield_) beforeYield_();
                 if (ms.count() == 0) {
                     js::awaitNextFrame();  // the yield once a frame: until the frame is shown
                 } else {
                     js::sleepMilliseconds(int(ms.count()));
                 }
             })
{
}

std::string PageRunHost::settingsText(SettingsBox box) const
{
    std::optional<std::string>& text = texts_.at(std::size_t(box));
    if (!text) text = js::boxText(std::string(settingsBoxName(box)));
    return *text;
}

void PageRunHost::placeLabel(SceneLabel label, double left, double top)
{
    js::placeLabel(std::string(sceneLabelName(label)), twipsToPixels(left), twipsToPixels(top));
}

// Closing or reloading the page ends the run with the page itself; nothing else stops it.
bool PageRunHost::pace(double count)
{
    pacer_.pace(count);
    return true;
}

}  // namespace kvelmor
