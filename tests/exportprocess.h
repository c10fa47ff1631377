#pragma once

// kvelmor-export run as a separate program by tst_exportfiles and tst_exporttrust, with the fault
// shim preloaded where asked, and the folders it writes read back byte for byte.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <clocale>
#include <cstring>
#include <map>

namespace exporttest {

inline const QString kExport = QStringLiteral(KVELMOR_EXPORT_BINARY);
inline const char* const kSuffixes[] = {".png", ".svg", ".csv", "-plot.svg", "-plot.png"};
inline const QStringList kSetting{"--frequency", "stredni", "--distance", "350"};

struct Result {
    int status;  // the exit status; -1 when killed by a signal or still running at the deadline
    QByteArray err;
    QByteArray out;
};

// The system's environment with `settings` ("NAME=value") added.
inline QProcessEnvironment environment(const QStringList& settings)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : settings) env.insert(kv.section('=', 0, 0), kv.section('=', 1));
    return env;
}

// Starts the export with `arguments` and `settings` added, through `sh -c` when a `shell`
// command (umask, ulimit, trap, setpriv) must come first; the shell command may end with
// `exec ... "$0" "$@"` to run the export under another program.
inline void startExport(QProcess& p, const QStringList& arguments, const QStringList& settings = {},
                        const QString& shell = {})
{
    p.setProcessEnvironment(environment(settings));
    if (shell.isEmpty()) {
        p.start(kExport, arguments);
    } else if (shell.contains("\"$0\"")) {
        p.start("sh", QStringList{"-c", shell, kExport} + arguments);
    } else {
        p.start("sh", QStringList{"-c", shell + "; exec \"$0\" \"$@\"", kExport} + arguments);
    }
}

// How a started export ended, waiting `ms` at most (then it is killed).
inline Result ended(QProcess& p, int ms = 120000)
{
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished();
        return {-1, "(no end within the deadline)", {}};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError(),
            p.readAllStandardOutput()};
}

inline Result exportTool(const QStringList& arguments, const QStringList& settings = {},
                         const QString& shell = {})
{
    QProcess p;
    startExport(p, arguments, settings, shell);
    return ended(p);
}

// The setting 0.6/350 exported into `dir`.
inline Result exportInto(const QString& dir, const QStringList& settings = {},
                         const QString& shell = {})
{
    return exportTool(kSetting + QStringList{"--out", dir}, settings, shell);
}

// The shim that makes the file system fail at a chosen step (faultshim.cpp), with its settings.
inline QStringList withShim(const QStringList& faults)
{
    return QStringList{QStringLiteral("LD_PRELOAD=" KVELMOR_FAULT_SHIM),
                       "ASAN_OPTIONS=" + qEnvironmentVariable("ASAN_OPTIONS") +
                           ":verify_asan_link_order=0"} +
           faults;
}

// A shell command that runs the export as the user and group `id`, without other groups.
inline QString asUser(int id)
{
    return QStringLiteral(R"(exec setpriv --reuid=%1 --regid=%1 --clear-groups "$0" "$@")").arg(id);
}

inline QString englishReason(int error)
{
    locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QString text = QString::fromLatin1(strerror_l(error, c));
    freelocale(c);
    return text;
}

// Every name in `dir` (bytes, hidden ones too) with its content: what must stay exactly as it was.
// A name that is no regular file is described instead: "link to TARGET", "fifo", "folder".
inline std::map<QByteArray, QByteArray> snapshot(const QByteArray& dir)
{
    std::map<QByteArray, QByteArray> files;
    DIR* d = opendir(dir.constData());
    while (const dirent* e = d ? readdir(d) : nullptr) {
        const QByteArray name(e->d_name), path = dir + '/' + name;
        if (name == "." || name == "..") continue;
        struct stat st;
        QByteArray bytes("(unreadable)");
        if (lstat(path.constData(), &st) != 0) {
            bytes = "(gone)";
        } else if (S_ISLNK(st.st_mode)) {
            char target[4096];
            const ssize_t n = readlink(path.constData(), target, sizeof target);
            bytes = "link to " + QByteArray(target, n < 0 ? 0 : qsizetype(n));
        } else if (S_ISFIFO(st.st_mode)) {
            bytes = "fifo";
        } else if (S_ISDIR(st.st_mode)) {
            bytes = "folder";
        } else if (const int fd = open(path.constData(), O_RDONLY); fd >= 0) {
            // POSIX calls, as Qt would not find a name that is not valid UTF-8.
            QFile f;
            if (f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) bytes = f.readAll();
        }
        files[name] = bytes;
    }
    if (d) closedir(d);
    return files;
}

inline std::map<QByteArray, QByteArray> snapshot(const QString& dir)
{
    return snapshot(QFile::encodeName(dir));
}

// The names in `files` that contain `part`.
inline int countNames(const std::map<QByteArray, QByteArray>& files, const char* part)
{
    int n = 0;
    for (const auto& file : files) n += file.first.contains(part);
    return n;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// An older set of the setting 0.6/350, as an earlier export would have left it.
inline bool writeOlderSet(const QString& dir)
{
    bool written = QDir().mkpath(dir);
    for (const char* suffix : kSuffixes) {
        written =
            writeFile(dir + "/kvelmor-0.6-350" + suffix, QByteArray("older ") + suffix) && written;
    }
    return written;
}

// Waits until the process `pid` is stopped (SIGSTOP); false when it is not within a minute.
inline bool waitForStop(qint64 pid)
{
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") T ")) return true;
        QThread::msleep(10);
    }
    return false;
}

}  // namespace exporttest
