#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "layout/texts.h"

namespace kvelmor {

// One file of a setting, its name inside the output folder and its whole content.
struct OutputFile {
    QString name;
    QByteArray bytes;
};

// Folders are named by their exact bytes, as the shell passed them: a name that is not valid text
// in the user's charset (an old stick's Latin-2 folder, say) is still that folder, never another.
// Messages show such bytes escaped (see shownBytes()).

// Creates the folder `dir` and any missing parents. Returns an empty string, or a message naming
// the folder that could not be made and why, in `language`.
QString makeFolder(const QByteArray& dir, Language language);

// Writes `files` into the folder `dir` as one unit. Each is written whole under a hidden temporary
// name beside its final one (mode 0666 less the umask, as any new file), every write, the sync to
// disk and the close checked. Only when all of them are written do they take their final names,
// each older file (or a symbolic link standing under the name: the link, never its target) set
// aside first; if any of those steps fails, every older file is put back and every new one
// removed, so the folder holds exactly the older set again. An older file that cannot be put back
// is named in the message, and stays where it was set aside until the user moves it.
//
// While the names change hands the export holds a lock on the folder (flock), so that units of
// two exports into one folder, of the same setting above all, follow one another and never mix.
// The lock is waited for ten seconds at most; a folder held longer (by another program, or by
// anyone who may read it) gets a message, and the setting's files stay as they were. A folder the
// export may write into but not read (a drop box, mode 1733) cannot be locked: there the units of
// two exports at once are not ordered.
//
// INT, TERM and HUP wait for the unit (see holdInterruptions). A kill that cannot be waited for
// (SIGKILL, a power cut) is not undone by any later export: nothing a killed export left is read
// back, since a folder others may write into could hold such leftovers planted to deceive. Each
// name then still holds a whole file, older or new, but the unit may be part older, part new, and
// the one name whose file was set aside at that instant may be empty, its older file kept as
// ".kvelmor-NAME.old-XXXXXX". The next export of that setting writes all five files again; the
// next export into the folder removes the killed one's new temporaries (removeLeftovers).
//
// Returns an empty string, or a message naming the file and the system's reason, in `language`.
// A unit that is complete but whose older files could not all be removed is reported too.
QString writeTogether(const QByteArray& dir, const std::vector<OutputFile>& files,
                      Language language);

}  // namespace kvelmor
