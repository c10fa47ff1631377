#include "export/hiddenfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRegularExpression>
#include <cerrno>

namespace kvelmor {

namespace {

const char* kindText(HiddenKind kind)
{
    return kind == HiddenKind::New ? "new" : "old";
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool isOwnRegularFile(const struct stat& st)
{
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

// Takes the lock of the new file just made as `fd`. False when the name is no longer this
// writer's to use: another export's clean-up took the file for a leftover in the instant before
// the lock (and removes it, or already has), or someone else holds a lock on it. On a file system
// without locks there is nothing to hold, and the file is kept.
bool holdsItsLock(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK;
    struct stat st;
    return ::fstat(fd, &st) == 0 && st.st_nlink > 0;
}

// Removes the entry `name` of the folder open as `folder` when it is a regular file of this user
// that nobody holds locked: the export that wrote it is gone. Looked at without following a link,
// opened only when it is such a file, and never blocking (a FIFO swapped in meanwhile is not
// waited for, and is no longer the same file).
void removeIfAbandoned(int folder, const char* name)
{
    struct stat named;
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !isOwnRegularFile(named)) {
        return;
    }
    const int fd =
        ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat opened, still;
    if (::fstat(fd, &opened) == 0 && sameFile(named, opened) && isOwnRegularFile(opened) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(folder, name, &still, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(still, opened)) {
        ::unlinkat(folder, name, 0);
    }
    ::close(fd);
}

}  // namespace

bool isHiddenName(const QByteArray& name, HiddenKind kind)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\.kvelmor-[0-9]+(?:\\.[0-9]+)?-[0-9]+(?:-plot|-step-[0-9]+-paths-(?:[0-9]+|inf))?"
        "\\.(?:png|svg|csv)\\.(new|old)-"
        "[A-Za-z0-9]{6}$"));
    // Latin-1 reads every byte as one character, so a byte outside the grammar never matches.
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(name));
    return match.hasMatch() && match.capturedView(1) == QLatin1String(kindText(kind));
}

int createHidden(const QByteArray& dir, const QString& name, HiddenKind kind, QByteArray& path)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != sizeof random) return -1;
        QByteArray suffix;
        for (unsigned char r : random) suffix += kLetters[r % 62];
        path = dir + "/." + name.toUtf8() + '.' + kindText(kind) + '-' + suffix;
        const int fd =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0 || kind == HiddenKind::Old || holdsItsLock(fd)) return fd;
        ::unlink(path.constData());
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

void removeLeftovers(const QByteArray& dir)
{
    const int folder = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (folder < 0) return;  // a folder this user may write into but not read (a drop box)
    DIR* entries = ::fdopendir(folder);
    if (!entries) {
        ::close(folder);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        if (isHiddenName(QByteArray(entry->d_name), HiddenKind::New)) {
            removeIfAbandoned(folder, entry->d_name);
        }
    }
    ::closedir(entries);
}

}  // namespace kvelmor
