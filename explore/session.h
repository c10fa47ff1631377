#pragma once

#include <memory>

#include "explore/explorer.h"

namespace kvelmor {

// What the explorer does between a run and its user, the same in every front end: which run it
// shows, whether it follows a run going on and how far that run has got, the user's choices of
// step and count, and the two sweeps. The front ends only show what it holds and hand it the
// user's choices and the time of each frame of a sweep.
class ExplorerSession {
public:
    enum class Sweep { None, Paths, Height };

    // A sweep of the count from 2 to 2003 arrows takes this long; one along the detector line
    // goes up this many steps a second (all 221 in under four seconds).
    static constexpr double kPathsSweepSeconds = 3;
    static constexpr double kHeightStepsPerSecond = 60;

    // A finished run of `setting`: shown at `step` with the count kept (the run's 2003 at first),
    // every step of its pattern known. Any sweep stops.
    void exploreRun(const ExploreSetting& setting, int step);

    // A run of `setting` begins: each step is shown as the run draws it (followStep), until the
    // run ends (endFollowing), and nothing else is chosen meanwhile. Any sweep stops.
    void followRun(const ExploreSetting& setting);
    // False, changing nothing, when no run is followed.
    bool followStep(int step);
    // The run ended; a run stopped early leaves the steps it never reached out of the pattern.
    // False when no run was followed.
    bool endFollowing(bool completed);

    // The user chose a step (0 to 220, the nearest end beyond) and a count (2 to 2003, or
    // kInfinitePaths; one that is none stays as it was). False, changing nothing, before any run
    // or while one is followed.
    bool choose(int step, int paths);

    // The sweep's button pressed at `seconds` (any clock that a frame's time comes from): starts
    // that sweep (from 2 arrows, or from the bottom step), or stops it when it is the one going.
    // False, starting nothing, before any run or while one is followed.
    bool pressSweep(Sweep sweep, double seconds);
    // Stops the sweep going on; false when none was.
    bool stopSweep();
    // The sweep's frame at `seconds`: the count or step it has reached by then, the sweep ended
    // when it has reached its end. False, changing nothing, when no sweep goes on.
    bool sweepFrame(double seconds);

    // The model, once a run has been seen; nothing before.
    Explorer* explorer() const { return explorer_.get(); }
    bool following() const { return following_; }
    // The last step of the run that the pattern shows: -1 before the first step of a followed run.
    int lastKnown() const { return lastKnown_; }
    Sweep sweep() const { return sweep_; }

private:
    void useSetting(const ExploreSetting& setting);

    std::unique_ptr<Explorer> explorer_;
    bool following_ = false;
    int lastKnown_ = -1;
    Sweep sweep_ = Sweep::None;
    double sweepStart_ = 0;
};

}  // namespace kvelmor
