#pragma once

#include <QByteArray>
#include <functional>
#include <mutex>

namespace kvelmor {

// Makes INT, TERM and HUP wait while a setting's files change hands (while unitLock() is held),
// until the unit is complete or undone; the program then removes its temporaries and ends with
// status 128 + the signal (130, 143, 129). A signal already ignored when the program started
// (nohup, a job started with &) stays ignored. SIGXFSZ is ignored, so that a file size limit
// fails the write ("File too large") instead of killing the program. Call first in main, before
// any thread starts.
void holdInterruptions();

// Call as the program ends: a signal that came before, while the last unit was changing hands or
// after it, ends the program here with its status, never with the status the program meant to
// return; one that comes later is not taken.
void stopHoldingInterruptions();

// Held while a unit's files change hands; a signal waits for it.
std::mutex& unitLock();

// Runs `make`, which creates a hidden temporary and returns its path (empty when it made none),
// so that a signal taken at any moment finds that temporary and removes it.
QByteArray makeTrackedTemporary(const std::function<QByteArray()>& make);

// The temporary at `path` was renamed or removed: a signal leaves that name alone.
void untrackTemporary(const QByteArray& path);

}  // namespace kvelmor
