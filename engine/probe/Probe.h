// The one path between the phases and the compiler under test. A phase describes a probe
// (a source text and what to build from it) and gets back what the compiler did: its exit
// status, its messages, the object file's bytes, and for a program also the program's run.
// The real service runs the user's command line; tests answer from a table instead.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "engine/probe/ProcessRunner.h"

struct CompileJob {
    std::string Source;          // the complete text of the source file
    std::string FileName;        // its name, e.g. "deftest.c"; only [A-Za-z0-9._-] reach the shell
    std::string ExtraDefine;     // one more macro definition for this command only
    std::string ObjectExtension; // the object to hand back: the file name's stem + this
    bool ListFiles = false;      // hand back every file the compile left beside the source
};

struct CompileResult : ProcessOutcome {
    std::optional<std::string> Object;  // the object file's bytes, when the compile made one
    std::map<std::string, std::string> Files;  // with ListFiles: name and bytes of every file left

    // The compiler's whole answer: what it printed on both streams.
    std::string Output() const { return Stdout + Stderr; }
    // Ended by a signal or killed for its time: whatever it left is no answer.
    bool Killed() const { return TimedOut || Signal != 0 || (Exited && ExitStatus > 128 && ExitStatus < 128 + 65); }
    // The compile produced an object, and was not killed while doing so.
    bool MadeObject() const { return Object.has_value() && !Killed(); }
    // The compiler accepted the source: an object, or an exit status of 0.
    bool Accepted() const { return MadeObject() || (Succeeded() && !Killed()); }
};

struct ProgramResult {
    CompileResult Build;
    bool Built = false;   // the build produced the program (and was not killed)
    ProcessOutcome Run;   // the program's run, when it was built
};

class Probe {
public:
    virtual ~Probe() = default;
    // Compiles the source to an object.
    virtual CompileResult Compile(const CompileJob& job) = 0;
    // Builds the source into a program and runs it on this host.
    virtual ProgramResult BuildAndRun(const CompileJob& job) = 0;
    // Compiler runs made so far.
    virtual long Runs() const = 0;
};
