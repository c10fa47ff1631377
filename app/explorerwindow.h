#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "explore/session.h"
#include "layout/texts.h"

class QLabel;
class QPushButton;
class QSlider;

namespace kvelmor {

class ChainView;
class Explorer;
class PatternView;
struct ExploreSetting;

// "Zkoumat": the explorer's window beside the main one. It shows one detector step's chain of
// arrows, large, with any number of arrows, beside its own copy of the run's pattern, with a
// height slider, a count slider, the two sweeps, the readouts as text and the saving of the
// chain's picture and numbers. It only hosts the explorer's model and drawing (explore/).
class ExplorerWindow final : public QWidget {
    Q_OBJECT

public:
    explicit ExplorerWindow(Language language);
    ~ExplorerWindow() override;

    // A finished run of `setting`: shows it at `step`, keeping the chosen count.
    void exploreRun(const ExploreSetting& setting, int step);

    // A run of `setting` begins: the explorer shows each step as the run draws it (followStep)
    // until endFollowing, and stops any sweep.
    void followRun(const ExploreSetting& setting);
    void followStep(int step);
    // The run ended: the explorer takes input again; after a run stopped early, the steps it
    // never reached stay out of the pattern.
    void endFollowing(bool completed);

    // The model, once a run has been seen; nothing before.
    Explorer* explorer() const { return session_.explorer(); }

signals:
    // Said to screen readers, politely, once a change has settled: the status line and its
    // accessible name changed to `message`.
    void announced(const QString& message);

private:
    using Sweep = ExplorerSession::Sweep;

    void build();
    void choose(int step, int paths);
    void present(bool announceIt);
    void announce();
    void tell(const QString& message);
    void setReadout(QLabel* label, TextKey name, const std::string& value);
    void setEnabledControls(bool enabled);
    void pressSweep(Sweep sweep);
    void stopSweep();
    void sweepFrame();
    void showSweep();
    void save(bool picture);

    Language language_;
    ExplorerSession session_;
    QLabel* hint_;
    ChainView* chain_;
    PatternView* pattern_;
    QSlider* height_;
    QSlider* count_;
    QLabel* countValue_;
    QPushButton* sweepPaths_;
    QPushButton* sweepHeight_;
    QPushButton* savePicture_;
    QPushButton* saveNumbers_;
    QLabel* readoutHeight_;
    QLabel* readoutDifference_;
    QLabel* readoutTurns_;
    QLabel* readoutSquared_;
    QLabel* readoutShare_;
    QLabel* readoutContinuous_;
    QLabel* status_;
    QTimer announcing_;
    QTimer frames_;
    QElapsedTimer clock_;  // the time of a sweep's frames
};

}  // namespace kvelmor
