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

// Makes INT, TERM and HUP wait while a setting's files are being replaced, until the unit is
// complete or undone; the program then removes its temporaries and ends with status 128 + the
// signal (130, 143, 129). A signal already ignored when the program started (nohup) stays
// ignored. SIGXFSZ is ignored, so that a file size limit fails the write ("File too large")
// instead of killing the program. Call first in main, before any thread starts.
void holdInterruptions();

// Call as the program ends: a signal that came while the last unit was being replaced ends the
// program here, with its status; one that comes later is not taken.
void stopHoldingInterruptions();

// While it lives, this export is known to work in the folder `dir` (it holds a shared lock on the
// folder). An export that finds no other one working there first removes the hidden temporaries
// that killed exports left behind, putting back the older set of a unit that a kill interrupted
// while its files were taking their final names; it never touches those of an export still running.
class FolderClaim {
public:
    explicit FolderClaim(const QByteArray& dir);
    ~FolderClaim();
    FolderClaim(const FolderClaim&) = delete;
    FolderClaim& operator=(const FolderClaim&) = delete;

private:
    int fd_ = -1;
};

// Writes `files` into the folder `dir` as one unit. Each is written whole under a hidden temporary
// name beside its final one (mode 0666 less the umask, as any new file), every write, the sync to
// disk and the close checked. Only when all of them are written do they take their final names,
// each older file (or a symbolic link standing under the name: the link, never its target) set
// aside first; if any of those steps fails, every older file is put back and every new one
// removed, so the folder holds exactly the older set again. Returns an empty string, or a message
// naming the file and the system's reason, in `language`.
QString writeTogether(const QByteArray& dir, const std::vector<OutputFile>& files,
                      Language language);

}  // namespace kvelmor
