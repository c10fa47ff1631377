#pragma once

#include <QObject>

namespace kvelmor {

// While it lives, the application handles no input: clicks, keys, wheel turns and the like are
// dropped, not queued, so a click made during a run neither acts during it nor starts anything
// after it. Paint requests, the desktop's liveness pings and its close command still get through.
class InputBlocker final : public QObject {
public:
    InputBlocker();
    ~InputBlocker() override;

    static bool isInput(const QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kvelmor
