#include "export/outputfiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <clocale>
#include <cstring>

namespace kvelmor {

namespace {

QString cannotWrite(const QString& path, int error, bool czech)
{
    return (czech ? QStringLiteral("nelze zapsat %1: %2") : QStringLiteral("cannot write %1: %2"))
        .arg(path, systemReason(error, czech));
}

// The permissions an ordinary new file gets: 0666 less the process's umask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeWhole(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// One file written under its temporary name; removes the temporary unless it was renamed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile()
    {
        if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
    }

    // Returns 0, or the errno of the step that failed.
    int write(const QByteArray& finalPath, const QByteArray& folder, const QString& name,
              const QByteArray& bytes)
    {
        finalPath_ = finalPath;
        QByteArray pattern = folder + "/." + QFile::encodeName(name) + ".XXXXXX";
        const int fd = ::mkstemp(pattern.data());  // O_EXCL: never follows a link under that name
        if (fd < 0) return errno;
        temporary_ = pattern;
        int error = 0;
        if (::fchmod(fd, newFileMode()) != 0 || !writeWhole(fd, bytes) || ::fsync(fd) != 0) {
            error = errno;
        }
        if (::close(fd) != 0 && error == 0) error = errno;
        return error;
    }

    int commit()
    {
        if (::rename(temporary_.constData(), finalPath_.constData()) != 0) return errno;
        temporary_.clear();
        return 0;
    }

private:
    QByteArray finalPath_;
    QByteArray temporary_;
};

}  // namespace

QString systemReason(int error, bool czech)
{
    // strerror() speaks the language of the user's locale (set at start-up); the C locale's text
    // is the untranslated English one.
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return QString::fromLocal8Bit(czech || !english ? std::strerror(error)
                                                    : ::strerror_l(error, english));
}

QString makeFolder(const QString& dir, bool czech)
{
    const QByteArray path = QFile::encodeName(dir);
    // Each prefix ending before a '/' (and the whole path) must be a folder or become one.
    for (qsizetype end = 1; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != '/') continue;
        if (path[end - 1] == '/') continue;
        const QByteArray prefix = path.left(end);
        if (::mkdir(prefix.constData(), 0777) == 0) continue;
        int error = errno;
        struct stat st;
        if (error == EEXIST) {
            if (::stat(prefix.constData(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
            error = ENOTDIR;
        }
        return (czech ? QStringLiteral("nelze založit adresář %1: %2")
                      : QStringLiteral("cannot create directory %1: %2"))
            .arg(QFile::decodeName(prefix), systemReason(error, czech));
    }
    return {};
}

QString writeTogether(const QString& dir, const std::vector<OutputFile>& files, bool czech)
{
    const QByteArray folder = QFile::encodeName(dir);
    std::vector<StagedFile> staged(files.size());
    auto pathOf = [&](const OutputFile& file) { return dir + QLatin1Char('/') + file.name; };

    for (std::size_t n = 0; n < files.size(); ++n) {
        const QByteArray finalPath = QFile::encodeName(pathOf(files[n]));
        if (const int error = staged[n].write(finalPath, folder, files[n].name, files[n].bytes)) {
            return cannotWrite(pathOf(files[n]), error, czech);
        }
    }
    // A folder under a file's name would stop its rename after others had already replaced
    // their older files: refuse before any of them does.
    for (const OutputFile& file : files) {
        struct stat st;
        if (::lstat(QFile::encodeName(pathOf(file)).constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            return cannotWrite(pathOf(file), EISDIR, czech);
        }
    }
    for (std::size_t n = 0; n < files.size(); ++n) {
        if (const int error = staged[n].commit())
            return cannotWrite(pathOf(files[n]), error, czech);
    }
    return {};
}

}  // namespace kvelmor
