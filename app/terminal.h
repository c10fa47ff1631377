#pragma once

#include <QByteArray>
#include <QString>

namespace kvelmor {

// What the programs print on the user's terminal, and in which language: Czech only where the
// locale's language is Czech and its charset can show Czech letters, English everywhere else, so
// that no message mixes the two and no letter comes out as '?'. Text goes out in the locale's
// charset (UTF-8, ISO-8859-2 or plain ASCII), and bytes from the command line are read in it.

// Takes the user's locale (as setlocale(LC_ALL, "") does; a locale that is not installed leaves
// the C locale, and English) and drops LANGUAGE, so that the system's own reasons follow the
// locale as the programs' texts do. Call first thing in main.
void useTheUsersLocale();

// Whether a locale name ("cs_CZ.UTF-8", "cs", "csb_PL") is of the Czech language: its language
// code, the part before any '_', '.' or '@', is exactly "cs".
bool isCzechLocale(const QString& localeName);

// Whether messages speak Czech under the locale in force: its messages are Czech and its charset
// holds every Czech letter.
bool prefersCzech();

// An argument as text, read in the locale's charset (as UTF-8 under the C locale, whose charset
// is ASCII): for matching names, never for a path. Bytes that do not read become U+FFFD.
QString argumentText(const QByteArray& bytes);

// Bytes (a path, a value typed) as a message shows them: what reads as a printable character of
// the locale's charset stays, a newline and a tab become \n and \t, and any other byte \xNN, so
// that a message stays on one line and shows exactly what is there.
QString shownBytes(const QByteArray& bytes);

// The system's text for `error` (an errno value), in Czech when `czech` (from the C library's
// translation for the locale), otherwise in English.
QString systemReason(int error, bool czech);

// Writes `text` to the file descriptor `fd` (1 or 2) in the locale's charset, all of it. Returns
// 0, or the errno of the write that failed.
int writeText(int fd, const QString& text);

// Makes sure descriptors 0, 1 and 2 are open: a closed one is taken by /dev/null, opened so that
// writing to it fails (EBADF), as writing to the closed descriptor would have. Otherwise the next
// file the program opens (the toolkit's, say) would take its number and receive the output.
void keepStandardDescriptors();

}  // namespace kvelmor
