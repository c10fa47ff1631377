#include "export/interruptions.h"

#include <unistd.h>

#include <csignal>
#include <set>
#include <system_error>
#include <thread>

namespace kvelmor {

namespace {

// The temporaries this program has made and not yet renamed or removed, for a signal to clean up.
struct Temporaries {
    std::mutex lock;
    std::set<QByteArray> paths;
};

Temporaries& temporaries()
{
    static Temporaries all;
    return all;
}

// Removes every temporary and keeps the list locked, so that no new one is made before the end.
void removeTemporariesForGood()
{
    temporaries().lock.lock();
    for (const QByteArray& path : temporaries().paths) ::unlink(path.constData());
}

// The thread that takes INT, TERM and HUP, and the signal that tells it the export has ended.
std::thread& signalTaker()
{
    static std::thread taker;
    return taker;
}

int wakeSignal()
{
    return SIGRTMIN;
}

}  // namespace

std::mutex& unitLock()
{
    static std::mutex lock;
    return lock;
}

QByteArray makeTrackedTemporary(const std::function<QByteArray()>& make)
{
    std::lock_guard hold(temporaries().lock);
    QByteArray path = make();
    if (!path.isEmpty()) temporaries().paths.insert(path);
    return path;
}

void untrackTemporary(const QByteArray& path)
{
    std::lock_guard hold(temporaries().lock);
    temporaries().paths.erase(path);
}

void holdInterruptions()
{
    std::signal(SIGXFSZ, SIG_IGN);
    sigset_t held;
    sigemptyset(&held);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current;
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&held, signal);
        }
    }
    sigset_t taken = held;
    sigaddset(&taken, wakeSignal());
    // Every thread started from now on inherits the mask; only the thread below takes the signals.
    ::pthread_sigmask(SIG_BLOCK, &taken, nullptr);
    try {
        signalTaker() = std::thread([held, taken] {
            int signal = 0;
            while (::sigwait(&taken, &signal) != 0) {
            }
            if (signal == wakeSignal()) {
                // The export has ended; a signal that came before it still counts.
                const timespec now{};
                signal = ::sigtimedwait(&held, nullptr, &now);
                if (signal <= 0) return;
            }
            unitLock().lock();  // a unit changing hands is completed or undone first
            removeTemporariesForGood();
            ::_exit(128 + signal);
        });
    } catch (const std::system_error&) {
        ::pthread_sigmask(SIG_UNBLOCK, &taken, nullptr);  // no thread to take them: as before
    }
}

void stopHoldingInterruptions()
{
    if (!signalTaker().joinable()) return;
    // The taker may hold a signal already; then it ends the program and this join never returns.
    ::pthread_kill(signalTaker().native_handle(), wakeSignal());
    signalTaker().join();
}

}  // namespace kvelmor
