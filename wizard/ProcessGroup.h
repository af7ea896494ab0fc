#pragma once

#include <QtGlobal>

class QProcess;

// The engine and the compilers it starts are one unit of work: they run in a process group
// of their own, so that stopping a run reaches the compile script and the compiler too, not
// only the program the wizard started.

// Makes `process`, when it is started, the leader of a new process group (and session).
void RunInOwnProcessGroup(QProcess& process);

// Sends `signal` to every process of the group that `leader` started. False when the group
// is gone (or `leader` is no process id).
bool SignalProcessGroup(qint64 leader, int signal);

// Whether any process of that group is still there.
bool ProcessGroupAlive(qint64 leader);
