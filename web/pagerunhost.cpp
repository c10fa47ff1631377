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
    : pacer_(now, [](std::chrono::milliseconds ms) { js::sleepMilliseconds(int(ms.count())); })
{
}

std::string PageRunHost::settingsText(SettingsBox box) const
{
    return js::boxText(std::string(settingsBoxName(box)));
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
