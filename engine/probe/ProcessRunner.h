// Starts one child process and waits for it with a time limit. The child runs in a process
// group of its own, so that everything it starts (a compiler driver's passes, a shell's
// commands) can be ended together, reads standard input from /dev/null, and writes its two
// output streams into files that are read back when it has ended.
#pragma once

#include <string>
#include <vector>

#include "common/CompileTemplate.h"

struct ProcessOutcome {
    bool Started = false;   // false: the process could not be started (StartError says why)
    std::string StartError;
    bool Exited = false;    // ended by itself through exit
    int ExitStatus = -1;
    int Signal = 0;         // the signal that ended it, when it did not exit
    bool TimedOut = false;  // killed because it outlived its time limit
    std::string Stdout;
    std::string Stderr;

    bool Succeeded() const { return Exited && ExitStatus == 0; }
};

struct ProcessSpec {
    std::vector<std::string> Argv;  // Argv[0] is a path, not looked up on PATH
    std::string Directory;          // working directory of the child
    std::string StdoutPath;         // absolute paths of the files that receive the output
    std::string StderrPath;
    unsigned TimeoutSeconds = 0;    // 0: no limit
};

// Runs the process to its end. Throws RunInterrupted when SIGINT or SIGTERM arrives while it
// runs; the child's whole process group is killed first.
ProcessOutcome RunProcess(const ProcessSpec& spec);

// Words put into a command that /bin/sh -c runs are quoted as the compile commands quote them.
using kxcommon::ShellQuote;

// A compile server or a probe program that starts a session of its own escapes the kill of
// its process group. With the engine as the reaper of its descendants, such a process becomes
// the engine's child when its parent ends; the run ends every one of them when it ends.
void AdoptProcessesLeftBehind();
void EndProcessesLeftBehind();
