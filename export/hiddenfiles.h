#pragma once

#include <QByteArray>
#include <QString>

namespace kvelmor {

// The hidden files the export makes beside a setting's file "kvelmor-0.6-350.png" while it
// replaces it: ".kvelmor-0.6-350.png.new-Xy3kQ9", the new file being written, and
// ".kvelmor-0.6-350.png.old-Xy3kQ9", the older file set aside while the names change hands.
enum class HiddenKind { New, Old };

// Whether `name` (a name read from a folder) is one of those hidden names, of the given kind, for
// a setting's file: "." + "kvelmor-F-D" + an optional "-plot" or "-step-J-paths-N" (a chain's
// files) + ".png", ".svg" or ".csv", then ".new-" or ".old-" and six letters or digits; F, D, J
// and N are numbers, N may also be "inf". No such name holds a '/' or "..", so it never leads
// out of its folder.
bool isHiddenName(const QByteArray& name, HiddenKind kind);

// Creates an empty file under a fresh hidden name of `kind` beside `name` in the folder `dir`,
// never through a link (O_EXCL), with the permissions any new file gets (0666 less the umask).
// A new file is locked (flock) for as long as its descriptor, or a duplicate of it, stays open:
// that lock tells every other export that its writer is alive. Returns the descriptor, or -1 with
// errno set; the file's path in `path`.
int createHidden(const QByteArray& dir, const QString& name, HiddenKind kind, QByteArray& path);

// Removes from the folder `dir` the new files that killed exports of this user left there: only
// names of the grammar above, only regular files (never followed through a link, never a FIFO or
// a device opened), only files of this user, and only those that no live export holds locked.
// Nothing else in the folder is read, changed or removed, an older file set aside included: a
// kill that left one leaves it to the user (see writeTogether). One pass over the folder.
void removeLeftovers(const QByteArray& dir);

}  // namespace kvelmor
