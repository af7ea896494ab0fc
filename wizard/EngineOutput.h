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
