#include "export/outputfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <set>
#include <thread>

#include "app/controls.h"
#include "app/terminal.h"

namespace kvelmor {

namespace {

QString cannotWrite(const QByteArray& path, int error, Language language)
{
    return qtext(TextKey::CannotWrite, language)
        .arg(shownBytes(path), systemReason(error, language));
}

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

// Held while a unit is being replaced; a signal waits for it.
std::mutex& unitLock()
{
    static std::mutex lock;
    return lock;
}

void untrack(const QByteArray& path)
{
    std::lock_guard hold(temporaries().lock);
    temporaries().paths.erase(path);
}

// A hidden name beside the file `name`: ".kvelmor-0.6-350.png.new-Xy3kQ9" for a new file,
// "...old-..." for an older one set aside, "...unit-..." for the record of a unit whose files are
// taking their final names. Killed exports leave only names of this form.
const QRegularExpression& hiddenNamePattern()
{
    // Also the temporaries of earlier versions, which had no "new-" or "old-".
    static const QRegularExpression pattern(
        QStringLiteral("^\\.(kvelmor-.+\\.(?:png|svg|csv))\\.(?:(new|old|unit)-)?[A-Za-z0-9]{6}$"));
    return pattern;
}

// Creates an empty file under a fresh hidden name beside `name` in `dir`, never through a link
// (O_EXCL), with the permissions any new file gets: 0666 less the umask. Returns its descriptor
// (or -1, errno set) and its path in `path`.
int createHidden(const QByteArray& dir, const QString& name, const char* kind, QByteArray& path)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != sizeof random) return -1;
        QByteArray suffix;
        for (unsigned char r : random) suffix += kLetters[r % 62];
        path = dir + "/." + name.toUtf8() + '.' + kind + '-' + suffix;
        const int fd =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// One new file written under its temporary name; removes the temporary unless it was renamed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile()
    {
        if (temporary_.isEmpty()) return;
        ::unlink(temporary_.constData());
        untrack(temporary_);
    }

    // Returns 0, or the errno of the step that failed.
    int write(const QByteArray& dir, const QString& name, const QByteArray& bytes)
    {
        int fd;
        {
            // Made and recorded in one step, so that a signal finds every temporary there is.
            std::lock_guard hold(temporaries().lock);
            fd = createHidden(dir, name, "new", temporary_);
            if (fd < 0) {
                temporary_.clear();
                return errno;
            }
            temporaries().paths.insert(temporary_);
        }
        int error = 0;
        if (const int failed = writeAll(fd, bytes)) {
            error = failed;
        } else if (::fsync(fd) != 0) {
            error = errno;
        }
        // A file system may report a lost write only when the file is closed.
        if (::close(fd) != 0 && error == 0) error = errno;
        return error;
    }

    const QByteArray& temporary() const { return temporary_; }

    int renameTo(const QByteArray& finalPath)
    {
        if (::rename(temporary_.constData(), finalPath.constData()) != 0) return errno;
        untrack(temporary_);
        temporary_.clear();
        return 0;
    }

private:
    QByteArray temporary_;
};

// A record beside the files for the time their final names change hands: the names of the new
// files' temporaries, one a line, and "end". If the export is killed then (SIGKILL, a power cut),
// the next export finds it and puts the older set back (see undoKilledUnits). A record without
// "end" was cut short before any name changed hands.
class UnitRecord {
public:
    UnitRecord() = default;
    UnitRecord(const UnitRecord&) = delete;
    UnitRecord& operator=(const UnitRecord&) = delete;
    ~UnitRecord() { remove(); }

    // Returns 0, or the errno of the step that failed (then there is no record).
    int write(const QByteArray& dir, const QString& name, const std::vector<StagedFile>& staged)
    {
        QByteArray text;
        for (const StagedFile& file : staged) {
            text += file.temporary().mid(file.temporary().lastIndexOf('/') + 1) + '\n';
        }
        text += "end\n";
        const int fd = createHidden(dir, name, "unit", path_);
        if (fd < 0) {
            path_.clear();
            return errno;
        }
        int error = writeAll(fd, text);
        if (error == 0 && ::fsync(fd) != 0) error = errno;
        if (::close(fd) != 0 && error == 0) error = errno;
        if (error) remove();
        return error;
    }

    // The unit is complete or undone.
    void remove()
    {
        if (!path_.isEmpty()) ::unlink(path_.constData());
        path_.clear();
    }

private:
    QByteArray path_;
};

// The files of a unit as they take their final names: each older file is first set aside under a
// hidden name, so that a failure halfway can put every one of them back.
class Replacement {
public:
    Replacement(const QByteArray& dir, Language language) : dir_(dir), language_(language) {}

    // Returns 0, or the errno of the step that failed.
    int place(StagedFile& file, const QString& name)
    {
        Placed placed{dir_ + '/' + name.toUtf8(), {}, false};
        struct stat st;
        if (::lstat(placed.finalPath.constData(), &st) == 0) {
            // The hidden name exists first (O_EXCL), so the rename can take no one else's file.
            const int fd = createHidden(dir_, name, "old", placed.aside);
            if (fd < 0) return errno;
            ::close(fd);
            if (::rename(placed.finalPath.constData(), placed.aside.constData()) != 0) {
                const int error = errno;
                ::unlink(placed.aside.constData());
                return error;
            }
        } else if (errno != ENOENT) {
            return errno;
        }
        done_.push_back(placed);
        if (const int error = file.renameTo(placed.finalPath)) return error;
        done_.back().isNew = true;
        return 0;
    }

    // Puts every older file back under its name and removes the new files that had none. Returns
    // an empty string, or what could not be put back and where the older file is kept.
    QString undo()
    {
        QString lost;
        for (auto placed = done_.rbegin(); placed != done_.rend(); ++placed) {
            if (placed->aside.isEmpty()) {
                if (placed->isNew) ::unlink(placed->finalPath.constData());
            } else if (::rename(placed->aside.constData(), placed->finalPath.constData()) != 0) {
                lost += qtext(TextKey::CannotPutBack, language_)
                            .arg(shownBytes(placed->finalPath), shownBytes(placed->aside));
            }
        }
        done_.clear();
        return lost;
    }

    // The unit is complete: the older files go.
    void finish()
    {
        for (const Placed& placed : done_) {
            if (!placed.aside.isEmpty()) ::unlink(placed.aside.constData());
        }
        done_.clear();
    }

private:
    struct Placed {
        QByteArray finalPath;
        QByteArray aside;  // where the older file waits; empty when there was none
        bool isNew;        // the new file has taken the final name
    };
    QByteArray dir_;
    Language language_;
    std::vector<Placed> done_;
};

// Removes every temporary and keeps the list locked, so that no new one is made before the end.
void removeTemporariesForGood()
{
    temporaries().lock.lock();
    for (const QByteArray& path : temporaries().paths) ::unlink(path.constData());
}

bool exists(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 || errno != ENOENT;
}

// The text of a unit's record (at most 4 KiB: a record names five temporaries), or nothing.
QByteArray recordText(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return {};
    QByteArray text(4096, '\0');
    qsizetype size = 0;
    while (size < text.size()) {
        const ssize_t got = ::read(fd, text.data() + size, std::size_t(text.size() - size));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        size += got;
    }
    ::close(fd);
    return text.left(size);
}

// Puts back the older set of every unit that a kill interrupted while its files were taking their
// final names (its whole record is still there): each name that has an older file set aside gets
// it back, and a new file that took a name with no older file goes.
void undoKilledUnits(const QByteArray& dir, const std::vector<QByteArray>& names)
{
    auto kindOf = [](const QRegularExpressionMatch& match) { return match.captured(2); };
    for (const QByteArray& recordName : names) {
        const auto record = hiddenNamePattern().match(QString::fromLatin1(recordName));
        if (!record.hasMatch() || kindOf(record) != QLatin1String("unit")) continue;
        const QByteArray text = recordText(dir + '/' + recordName);
        if (!text.endsWith("\nend\n")) continue;
        for (const QByteArray& newName : text.chopped(5).split('\n')) {
            const auto staged = hiddenNamePattern().match(QString::fromLatin1(newName));
            if (!staged.hasMatch() || kindOf(staged) != QLatin1String("new")) continue;
            const QString finalName = staged.captured(1);
            const QByteArray finalPath = dir + '/' + finalName.toLatin1();
            // While the new file waits under its temporary name and the final name is still
            // taken, that is the older file: the kill came before it was set aside, and the hidden
            // name made for it is empty.
            const bool newPlaced = !exists(dir + '/' + newName);
            bool settled = !newPlaced && exists(finalPath);
            for (const QByteArray& name : names) {
                const auto aside = hiddenNamePattern().match(QString::fromLatin1(name));
                if (settled || !aside.hasMatch() || kindOf(aside) != QLatin1String("old") ||
                    aside.captured(1) != finalName)
                    continue;
                settled = ::rename((dir + '/' + name).constData(), finalPath.constData()) == 0;
            }
            if (!settled && newPlaced) ::unlink(finalPath.constData());  // a name no file had
        }
    }
}

// Removes what killed exports left in `dir`: a unit interrupted halfway is undone first; then
// temporaries and records go, and an older file still set aside goes back under its name when
// nothing took that name, and otherwise goes too.
void removeLeftovers(const QByteArray& dir)
{
    DIR* folder = ::opendir(dir.constData());
    if (!folder) return;
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(folder)) names.emplace_back(entry->d_name);
    ::closedir(folder);
    undoKilledUnits(dir, names);
    for (const QByteArray& name : names) {
        const auto match = hiddenNamePattern().match(QString::fromLatin1(name));
        if (!match.hasMatch()) continue;
        const QByteArray path = dir + '/' + name;
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const QByteArray finalPath = dir + '/' + match.captured(1).toLatin1();
        if (match.captured(2) == QLatin1String("old") && ::lstat(finalPath.constData(), &st) != 0 &&
            errno == ENOENT) {
            ::rename(path.constData(), finalPath.constData());
        } else {
            ::unlink(path.constData());
        }
    }
}

}  // namespace

namespace {

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
            unitLock().lock();  // a unit being replaced is completed or undone first
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
    ::pthread_kill(signalTaker().native_handle(), wakeSignal());
    signalTaker().join();
}

FolderClaim::FolderClaim(const QByteArray& dir)
{
    fd_ = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    // Only an export alone in the folder gets the exclusive lock; others hold it shared while they
    // run, and their temporaries exist only while they do.
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        removeLeftovers(dir);
    } else if (errno != EWOULDBLOCK) {
        return;  // a file system without locks: nothing is removed
    }
    ::flock(fd_, LOCK_SH);
}

FolderClaim::~FolderClaim()
{
    if (fd_ >= 0) ::close(fd_);
}

QString makeFolder(const QByteArray& path, Language language)
{
    // Each prefix ending before a '/' (and the whole path) must be a folder or become one.
    for (qsizetype end = 1; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != '/') continue;
        if (path[end - 1] == '/') continue;
        const QByteArray prefix = path.left(end);
        if (::mkdir(prefix.constData(), 0777) == 0) continue;
        int error = errno;
        struct stat st;
        if (error == EEXIST) {
            if (::stat(prefix.constData(), &st) == 0) {
                if (S_ISDIR(st.st_mode)) continue;
                error = ENOTDIR;
            } else {
                error = errno;
                char target[4096];
                const ssize_t length = ::readlink(prefix.constData(), target, sizeof target);
                if (error == ENOENT && length >= 0) {
                    return qtext(TextKey::FolderIsBrokenLink, language)
                        .arg(shownBytes(prefix), shownBytes(QByteArray(target, length)));
                }
            }
        }
        return qtext(TextKey::CannotCreateFolder, language)
            .arg(shownBytes(prefix), systemReason(error, language));
    }
    return {};
}

QString writeTogether(const QByteArray& dir, const std::vector<OutputFile>& files,
                      Language language)
{
    auto pathOf = [&](const OutputFile& file) { return dir + '/' + file.name.toUtf8(); };
    std::vector<StagedFile> staged(files.size());
    for (std::size_t n = 0; n < files.size(); ++n) {
        if (const int error = staged[n].write(dir, files[n].name, files[n].bytes)) {
            return cannotWrite(pathOf(files[n]), error, language);
        }
    }
    // A folder under a file's name could only be set aside, not replaced: refuse it at once.
    for (const OutputFile& file : files) {
        struct stat st;
        if (::lstat(pathOf(file).constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            return cannotWrite(pathOf(file), EISDIR, language);
        }
    }

    std::lock_guard unit(unitLock());
    UnitRecord record;
    if (const int error = record.write(dir, files.front().name, staged)) {
        return cannotWrite(pathOf(files.front()), error, language);
    }
    Replacement replacement(dir, language);
    for (std::size_t n = 0; n < files.size(); ++n) {
        if (const int error = replacement.place(staged[n], files[n].name)) {
            const QString lost = replacement.undo();
            record.remove();
            const QString path = shownBytes(pathOf(files[n]));
            const QString reason = systemReason(error, language);
            if (!lost.isEmpty())
                return qtext(TextKey::CannotReplace, language).arg(path, reason) + lost;
            return qtext(TextKey::CannotReplaceKeptAll, language).arg(path, reason);
        }
    }
    record.remove();  // from here on the new set stands, even if the export is killed
    replacement.finish();
    return {};
}

}  // namespace kvelmor
