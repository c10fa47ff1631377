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
    const auto* field = controlNamed<QLineEdit>(window_, settingsBoxName(box));
    return field ? field->text().toStdString() : std::string();
}

void WindowRunHost::placeLabel(SceneLabel which, double left, double top)
{
    auto* label = controlNamed<QLabel>(window_, sceneLabelName(which));
    if (!label) return;
    label->move(twipsToPixels(left), twipsToPixels(top));
    label->show();
}

PaceClock& steadyPaceClock()
{
    class Steady final : public PaceClock {
    public:
        std::chrono::steady_clock::time_point now() override
        {
            return std::chrono::steady_clock::now();
        }
        void sleepFor(std::chrono::nanoseconds duration) override
        {
            std::this_thread::sleep_for(duration);
        }
    };
    static Steady clock;
    return clock;
}

void WindowRunHost::stepDone(int j)
{
    emit window_.stepDrawn(j);
}

// Waits for the pace of one detector step without burning a core, serving paint requests, the
// desktop's pings and its close command (input is blocked for the whole run). Waits too short to
// sleep through accurately spin instead.
bool WindowRunHost::pace(double count)
{
    using namespace std::chrono;
    const auto deadline = clock_.now() + paceDuration(count);
    for (;;) {
        QCoreApplication::processEvents();
        if (window_.isClosing()) return false;
        const auto left = deadline - clock_.now();
        if (left <= nanoseconds::zero()) return true;
        if (left > 200us) clock_.sleepFor(std::min<nanoseconds>(left - 100us, 10ms));
    }
}

}  // namespace kvelmor
