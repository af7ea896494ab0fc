#pragma once

#include <QString>
#include <QStringList>

// The header directories a gcc-like compiler searches for #include <...>, in its order, as
// kestrix-search-dirs prints them for the command line; the wizard runs that same script so
// that there is one way of asking.

// The script beside the wizard's program, else the one on PATH; empty when there is none.
QString SearchDirsScript();

// The directories of kestrix-search-dirs' "-i DIR" lines; other lines are ignored.
QStringList DirectoriesFromSearchDirsOutput(const QString& output);

// Runs `script` for `command` (as typed: a program path with blanks may be quoted or not;
// the script splits the command at blanks, so such a program is reached through a wrapper), the language "c" or
// "c++" and the compiler's switches, and returns the directories it names. When there are
// none, *error says why: the script is missing, it did not finish within `timeoutMs`, it
// failed, or the compiler named no directories (not every compiler can list them).
QStringList FindCompilerDirectories(const QString& script, const QString& command, const QString& language,
                                    const QStringList& switches, QString* error, int timeoutMs = 20000);

// `found` (a compiler's own list) with the directories of `listed` that it lacks put back
// where they stood: each after the listed directory before it, or first when none of
// those is in `found`.
QStringList MergeDirectories(const QStringList& found, const QStringList& listed);
