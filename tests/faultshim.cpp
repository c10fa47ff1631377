// Preloaded into kvelmor-export (LD_PRELOAD) by tst_exportfiles and tst_exporttrust to make the
// file system fail the way a broken stick or a full quota does, at a chosen step:
//   KVELMOR_FAIL_RENAME=N:ERRNO[,N:ERRNO...]  the N-th rename() fails with ERRNO, doing nothing
//   KVELMOR_SIGNAL_AT_RENAME=N:SIG  the program is sent SIG just before its N-th rename()
//   KVELMOR_SIGNAL_AT_FSYNC=N:SIG   the program is sent SIG just before its N-th fsync()
//   KVELMOR_FAIL_FSYNC=ERRNO        fsync() of a new file fails with ERRNO after syncing
//   KVELMOR_FAIL_CLOSE=ERRNO        close() of a new file fails with ERRNO after closing it
//   KVELMOR_FAIL_UNLINK=N:ERRNO     the N-th removal of a hidden file fails with ERRNO
//   KVELMOR_SIGNAL_AT_UNLINK=N:SIG  the program is sent SIG just before that N-th removal
//   KVELMOR_SHORT_WRITES=1          every write() to a new file, standard output or standard
//                                   error takes one byte only
//   KVELMOR_SHORT_WRITES=random:S   ... takes a random part, 1 byte to all, from the seed S
//   KVELMOR_STOP_WHEN_LOCKED=1      the program stops (SIGSTOP) the first time it finds a folder
//                                   locked by someone else
//   KVELMOR_SLOW_SIGNALS=MS         sigwait() returns an INT, TERM or HUP only MS ms after it came
// A new file is one whose name has the export's hidden ".new-" form; a hidden file one whose name
// starts with ".kvelmor-".
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <mutex>

namespace {

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The value given for step `count` in "N:VALUE[,N:VALUE...]" from the environment; false when
// that step has none.
bool valueAtStep(const char* variable, int count, int& value)
{
    const char* text = std::getenv(variable);
    for (int step, used; text && std::sscanf(text, "%d:%d%n", &step, &value, &used) == 2;) {
        if (step == count) return true;
        text = text[used] == ',' ? text + used + 1 : nullptr;
    }
    return false;
}

int valueOf(const char* variable)
{
    const char* text = std::getenv(variable);
    return text ? std::atoi(text) : 0;
}

bool isNewFile(int fd)
{
    char link[64], path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n < 0) return false;
    path[n] = '\0';
    return std::strstr(path, "/.kvelmor-") && std::strstr(path, ".new-");
}

bool isHiddenFile(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return std::strncmp(slash ? slash + 1 : path, ".kvelmor-", 9) == 0;
}

void sendSignal(int signal)
{
    // A stop is sent to this thread, so that it stops before going on; any other signal to the
    // program, for whichever thread takes it.
    if (signal == SIGSTOP) {
        syscall(SYS_tgkill, getpid(), gettid(), SIGSTOP);
    } else {
        kill(getpid(), signal);
    }
}

std::atomic<int> renames{0}, fsyncs{0}, unlinks{0};

// Whether each descriptor is a new file, once looked up: 0 not yet, 1 no, 2 yes; forgotten when
// the descriptor is closed. A write of one byte at a time asks for every byte.
std::atomic<signed char> knownNew[4096];

bool isNewFileCached(int fd)
{
    if (fd < 0 || fd >= int(std::size(knownNew))) return isNewFile(fd);
    if (knownNew[fd] == 0) knownNew[fd] = isNewFile(fd) ? 2 : 1;
    return knownNew[fd] == 2;
}

// Before a hidden file is removed: a signal, or the failure asked for (true, errno set).
bool failsRemoving(const char* path)
{
    if (!isHiddenFile(path)) return false;
    const int count = ++unlinks;
    int value;
    if (valueAtStep("KVELMOR_SIGNAL_AT_UNLINK", count, value)) sendSignal(value);
    if (!valueAtStep("KVELMOR_FAIL_UNLINK", count, value)) return false;
    errno = value;
    return true;
}

// How many of `size` bytes a write may take: all, one, or a random part.
std::size_t shortened(int fd, std::size_t size)
{
    const char* mode = std::getenv("KVELMOR_SHORT_WRITES");
    if (!mode || size <= 1 || (fd > 2 && !isNewFileCached(fd))) return size;
    if (std::strncmp(mode, "random:", 7) != 0) return 1;
    static std::mutex lock;
    static unsigned long long state = std::strtoull(mode + 7, nullptr, 10);
    std::lock_guard hold(lock);
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return 1 + std::size_t(state >> 33) % size;
}

}  // namespace

extern "C" int rename(const char* from, const char* to)
{
    const int count = ++renames;
    int value;
    if (valueAtStep("KVELMOR_SIGNAL_AT_RENAME", count, value)) sendSignal(value);
    if (valueAtStep("KVELMOR_FAIL_RENAME", count, value)) {
        errno = value;
        return -1;
    }
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}

extern "C" int fsync(int fd)
{
    int value;
    if (valueAtStep("KVELMOR_SIGNAL_AT_FSYNC", ++fsyncs, value)) sendSignal(value);
    const int result = next<int (*)(int)>("fsync")(fd);
    if (const int error = valueOf("KVELMOR_FAIL_FSYNC"); error && result == 0 && isNewFile(fd)) {
        errno = error;
        return -1;
    }
    return result;
}

extern "C" int close(int fd)
{
    const int error = valueOf("KVELMOR_FAIL_CLOSE");
    const bool fail = error && isNewFile(fd);
    if (fd >= 0 && fd < int(std::size(knownNew))) knownNew[fd] = 0;
    const int result = next<int (*)(int)>("close")(fd);
    if (fail && result == 0) {
        errno = error;
        return -1;
    }
    return result;
}

extern "C" int unlink(const char* path)
{
    if (failsRemoving(path)) return -1;
    return next<int (*)(const char*)>("unlink")(path);
}

extern "C" int unlinkat(int folder, const char* path, int flags)
{
    if (failsRemoving(path)) return -1;
    return next<int (*)(int, const char*, int)>("unlinkat")(folder, path, flags);
}

extern "C" ssize_t write(int fd, const void* bytes, size_t size)
{
    return next<ssize_t (*)(int, const void*, size_t)>("write")(fd, bytes, shortened(fd, size));
}

extern "C" int flock(int fd, int operation)
{
    const int result = next<int (*)(int, int)>("flock")(fd, operation);
    static std::atomic<bool> stopped{false};
    struct stat st;
    if (result != 0 && errno == EWOULDBLOCK && valueOf("KVELMOR_STOP_WHEN_LOCKED") &&
        fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && !stopped.exchange(true)) {
        sendSignal(SIGSTOP);
        errno = EWOULDBLOCK;
    }
    return result;
}

extern "C" int sigwait(const sigset_t* set, int* signal)
{
    const int result = next<int (*)(const sigset_t*, int*)>("sigwait")(set, signal);
    const int wait = valueOf("KVELMOR_SLOW_SIGNALS");
    if (result == 0 && wait > 0 && (*signal == SIGINT || *signal == SIGTERM || *signal == SIGHUP)) {
        const timespec pause{wait / 1000, (wait % 1000) * 1000000L};
        nanosleep(&pause, nullptr);
    }
    return result;
}
