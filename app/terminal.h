#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "layout/texts.h"

namespace kvelmor {

// What the programs print on the user's terminal, and in which language: without --lang, Czech
// only where the locale's language is Czech and its charset can show Czech letters, English
// everywhere else, so that no message mixes the two and no letter comes out as '?'. Text goes
// out in the locale's charset (UTF-8, ISO-8859-2 or plain ASCII), and bytes from the command
// line are read in it.

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

// The language of the messages when --lang asked for `asked`, or for nothing (then as
// prefersCzech() says). English when asked. Czech when asked where the charset holds every Czech
// letter and the system can give its reasons in Czech (the locale's messages are Czech, or a
// Czech locale is installed); otherwise English, so that a message is all in one language.
Language messageLanguage(std::optional<Language> asked);

// Whether the locale variables name a Czech locale: the first of LC_ALL, LC_MESSAGES and LANG that
// is set and not empty is of the Czech language (isCzechLocale), whether or not that locale is
// installed and whatever its charset. What the language of a file (a UTF-8 plot) follows.
bool localeNamesCzech();

// An argument as text, read in the locale's charset (as UTF-8 under the C locale, whose charset
// is ASCII): for matching names, never for a path. Bytes that do not read become U+FFFD.
QString argumentText(const QByteArray& bytes);

// Bytes (a path, a value typed) as a message shows them: what reads as a printable character of
// the locale's charset stays, a newline and a tab become \n and \t, and any other byte \xNN, so
// that a message stays on one line and shows exactly what is there.
QString shownBytes(const QByteArray& bytes);

// The system's text for `error` (an errno value) in `language`: the C library's Czech translation,
// or its untranslated English text.
QString systemReason(int error, Language language);

// Writes `text` to the file descriptor `fd` (1 or 2) in the locale's charset, all of it. Returns
// 0, or the errno of the write that failed.
int writeText(int fd, const QString& text);

// Writes all of `bytes` to `fd`, going on after a short write or an interrupted call. Returns 0,
// or the errno of the write that failed.
int writeAll(int fd, const QByteArray& bytes);

// Makes sure descriptors 0, 1 and 2 are open: a closed one is taken by /dev/null, opened so that
// writing to it fails (EBADF), as writing to the closed descriptor would have. Otherwise the next
// file the program opens (the toolkit's, say) would take its number and receive the output.
void keepStandardDescriptors();

}  // namespace kvelmor
