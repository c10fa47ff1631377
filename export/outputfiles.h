#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace kvelmor {

// One file of a setting, its name inside the output folder and its whole content.
struct OutputFile {
    QString name;
    QByteArray bytes;
};

// Creates the folder `dir` and any missing parents, exactly as named. Returns an empty string, or
// a message naming the folder that could not be made and the system's reason.
QString makeFolder(const QString& dir, bool czech);

// Writes `files` into the folder `dir` as one unit: each is written whole under a hidden temporary
// name beside its final one, every write, the sync to disk and the close checked; only when all of
// them succeeded are they renamed into place, replacing older files (or symbolic links standing
// under their names: the link itself is replaced, its target is never written). When any step
// fails, every temporary is removed and no older file has changed. Returns an empty string, or a
// message naming the file and the system's reason, in Czech when `czech`.
QString writeTogether(const QString& dir, const std::vector<OutputFile>& files, bool czech);

// The system's text for `error` (an errno value): in Czech when `czech` and the C library has a
// translation for the user's locale, otherwise in English, so that a message never mixes two
// languages.
QString systemReason(int error, bool czech);

}  // namespace kvelmor
