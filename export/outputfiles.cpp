#include "export/outputfiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "app/controls.h"
#include "app/terminal.h"
#include "export/hiddenfiles.h"
#include "export/interruptions.h"

namespace kvelmor {

namespace {

// The longest wait for the folder's lock: far longer than any export holds it (the renames of
// one unit), short enough that a lock held for good is met with a message, not a hang.
constexpr std::chrono::seconds kFolderLockWait{10};

QString cannotWrite(const QByteArray& path, int error, Language language)
{
    return qtext(TextKey::CannotWrite, language)
        .arg(shownBytes(path), systemReason(error, language));
}

// One new file written under its temporary name, which it keeps locked (see createHidden) until
// the file takes its final name or is removed; removes the temporary unless it was renamed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile()
    {
        if (!temporary_.isEmpty()) {
            ::unlink(temporary_.constData());
            untrackTemporary(temporary_);
        }
        releaseLock();
    }

    // Returns 0, or the errno of the step that failed.
    int write(const QByteArray& dir, const QString& name, const QByteArray& bytes)
    {
        int fd = -1, error = 0;
        temporary_ = makeTrackedTemporary([&] {
            QByteArray path;
            fd = createHidden(dir, name, HiddenKind::New, path);
            if (fd >= 0) return path;
            error = errno;
            return QByteArray();
        });
        if (fd < 0) return error;
        // The lock belongs to the open file, so this duplicate holds it past the checked close.
        lock_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        if (lock_ < 0) {
            error = errno;
        } else if (const int failed = writeAll(fd, bytes)) {
            error = failed;
        } else if (::fsync(fd) != 0) {
            error = errno;
        }
        // A file system may report a lost write only when the file is closed.
        if (::close(fd) != 0 && error == 0) error = errno;
        return error;
    }

    int renameTo(const QByteArray& finalPath)
    {
        if (::rename(temporary_.constData(), finalPath.constData()) != 0) return errno;
        untrackTemporary(temporary_);
        temporary_.clear();
        releaseLock();
        return 0;
    }

private:
    void releaseLock()
    {
        if (lock_ >= 0) ::close(lock_);
        lock_ = -1;
    }

    QByteArray temporary_;
    int lock_ = -1;
};

// An exclusive lock on the folder for the time a unit's files change hands, waited for
// kFolderLockWait at most. Without it two exports of one setting could interleave their renames.
class FolderLock {
public:
    explicit FolderLock(const QByteArray& dir)
    {
        fd_ = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return;  // a folder this user may not read (a drop box): no lock to take
        const auto deadline = std::chrono::steady_clock::now() + kFolderLockWait;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK) return;  // a file system without locks
            if (std::chrono::steady_clock::now() >= deadline) {
                held_ = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~FolderLock()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Someone else held the folder locked for the whole wait.
    bool heldElsewhere() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
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
            const int fd = createHidden(dir_, name, HiddenKind::Old, placed.aside);
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

    // The unit is complete: the older files go. Returns an empty string, or which of them could
    // not be removed, where each stays and why.
    QString finish()
    {
        QString kept;
        for (const Placed& placed : done_) {
            if (placed.aside.isEmpty() || ::unlink(placed.aside.constData()) == 0) continue;
            const QString reason = systemReason(errno, language_);
            if (!kept.isEmpty()) kept += QLatin1String("; ");
            kept += qtext(TextKey::CannotRemoveOlder, language_)
                        .arg(shownBytes(placed.finalPath), shownBytes(placed.aside), reason);
        }
        done_.clear();
        return kept;
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

}  // namespace

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

    const FolderLock folder(dir);
    if (folder.heldElsewhere()) {
        return qtext(TextKey::FolderLocked, language)
            .arg(shownBytes(dir), QString::number(kFolderLockWait.count()));
    }
    std::lock_guard unit(unitLock());
    Replacement replacement(dir, language);
    for (std::size_t n = 0; n < files.size(); ++n) {
        if (const int error = replacement.place(staged[n], files[n].name)) {
            const QString lost = replacement.undo();
            const QString path = shownBytes(pathOf(files[n]));
            const QString reason = systemReason(error, language);
            if (!lost.isEmpty())
                return qtext(TextKey::CannotReplace, language).arg(path, reason) + lost;
            return qtext(TextKey::CannotReplaceKeptAll, language).arg(path, reason);
        }
    }
    return replacement.finish();
}

}  // namespace kvelmor
