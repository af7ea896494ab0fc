#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The engine writes one line per message, but a pipe delivers its output in pieces that
// may end anywhere. This gathers the pieces of one channel into whole lines.
class OutputLines {
public:
    // The lines that `chunk` completes, without their line ends.
    QStringList Feed(const QByteArray& chunk);
    // What is left of an unfinished last line (empty when there is none); the buffer is
    // empty afterwards.
    QString Flush();

private:
    QByteArray Pending;
};

// The phase that a line of the engine's output opens ("Scanning for compiler defines ..."
// gives "Scanning for compiler defines"), or an empty string. Phases are announced by
// unindented lines that end in "...".
QString PhaseOfLine(const QString& line);

// A line of the engine's output as the wizard's log shows it. The engine writes for users of
// its command line; three kinds of its lines would mislead in the wizard and are reworded:
// the note that a macro's value could not be printed (expected for names the preprocessor
// handles itself, such as __has_include, and no error), the refusal to share the working
// directory with another run (its advice is for the command line; in the wizard the other
// run comes from a second window), and phase lines with doubled blanks.
QString ShownEngineLine(const QString& line);

// Whether the engine refused to start because another run holds the working directory.
bool WorkDirectoryTaken(const QString& line);
