#include "app/windowrunhost.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <chrono>
#include <thread>

#include "app/controls.h"
#include "app/frmkvelmor.h"
#include "layout/settings.h"
#include "run/pacing.h"

namespace kvelmor {

std::string WindowRunHost::settingsText(SettingsBox box) const
{
    return window_.findChild<QLineEdit*>(qstring(settingsBoxName(box)))->text().toStdString();
}

void WindowRunHost::placeLabel(SceneLabel which, double left, double top)
{
    auto* label = window_.findChild<QLabel*>(qstring(sceneLabelName(which)));
    label->move(twipsToPixels(left), twipsToPixels(top));
    label->show();
}

// Waits for the pace of one detector step without burning a core, serving paint requests, the
// desktop's pings and its close command (input is blocked for the whole run). Waits too short to
// sleep through accurately spin instead.
bool WindowRunHost::pace(double count)
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + paceDuration(count);
    for (;;) {
        QCoreApplication::processEvents();
        if (window_.isClosing()) return false;
        const auto left = deadline - steady_clock::now();
        if (left <= nanoseconds::zero()) return true;
        if (left > 200us) std::this_thread::sleep_for(std::min<nanoseconds>(left - 100us, 10ms));
    }
}

}  // namespace kvelmor
