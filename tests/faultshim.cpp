// Preloaded into kvelmor-export (LD_PRELOAD) by tst_exportfiles to make the file system fail the
// way a broken stick or a full quota does, at a chosen step:
//   KVELMOR_FAIL_RENAME=N:ERRNO    the N-th rename() fails with ERRNO, doing nothing
//   KVELMOR_SIGNAL_AT_RENAME=N:SIG the program is sent SIG just before its N-th rename()
//   KVELMOR_SIGNAL_AT_FSYNC=N:SIG  the program is sent SIG just before its N-th fsync()
//   KVELMOR_FAIL_FSYNC=ERRNO       fsync() of a new file fails with ERRNO after syncing
//   KVELMOR_FAIL_CLOSE=ERRNO       close() of a new file fails with ERRNO after closing it
// A new file is one whose name has the export's hidden ".new-" form.
#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// "N:VALUE" from the environment; false when unset.
bool stepAndValue(const char* variable, int& step, int& value)
{
    const char* text = std::getenv(variable);
    return text && std::sscanf(text, "%d:%d", &step, &value) == 2;
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

std::atomic<int> renames{0}, fsyncs{0};

}  // namespace

extern "C" int rename(const char* from, const char* to)
{
    const int count = ++renames;
    int step, value;
    if (stepAndValue("KVELMOR_SIGNAL_AT_RENAME", step, value) && step == count) {
        // A stop is sent to this thread, so that it stops before going on; any other signal to
        // the program, for whichever thread takes it.
        if (value == SIGSTOP) {
            syscall(SYS_tgkill, getpid(), gettid(), SIGSTOP);
        } else {
            kill(getpid(), value);
        }
    }
    if (stepAndValue("KVELMOR_FAIL_RENAME", step, value) && step == count) {
        errno = value;
        return -1;
    }
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}

extern "C" int fsync(int fd)
{
    int step, value;
    if (stepAndValue("KVELMOR_SIGNAL_AT_FSYNC", step, value) && step == ++fsyncs) {
        kill(getpid(), value);
    }
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
    const int result = next<int (*)(int)>("close")(fd);
    if (fail && result == 0) {
        errno = error;
        return -1;
    }
    return result;
}
