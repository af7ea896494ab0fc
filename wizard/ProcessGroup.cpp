#include "wizard/ProcessGroup.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

void RunInOwnProcessGroup(QProcess& process)
{
    // Runs in the child between fork and exec, where only async-signal-safe calls belong.
    process.setChildProcessModifier([] { ::setsid(); });
}

bool SignalProcessGroup(qint64 leader, int signal)
{
    // A group id of 0 or 1 would name the caller's own group or every process.
    if (leader <= 1)
        return false;
    return ::kill(-pid_t(leader), signal) == 0;
}

bool ProcessGroupAlive(qint64 leader)
{
    return SignalProcessGroup(leader, 0);
}
