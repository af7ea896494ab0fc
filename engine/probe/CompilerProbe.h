// The real probe service: runs the user's compile command through /bin/sh, each call in a
// scratch directory of its own below the working directory, with a time limit, and several
// calls at once from different threads.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "common/CompileTemplate.h"
#include "engine/core/Reporter.h"
#include "engine/probe/Probe.h"

class CompilerProbe : public Probe {
public:
    // compile: what every compile command is made from; limits: how long a compile and a
    // probe program may take. workDir: the engine's working directory (absolute); the
    // scratch directories and the record of the last failing compile go there. report: told
    // of compiles stopped at their time limit or from outside.
    CompilerProbe(kxcommon::CompileTemplate compile, kxcommon::CompileLimits limits, std::string workDir,
                  Reporter& report);
    ~CompilerProbe() override;
    CompilerProbe(const CompilerProbe&) = delete;
    CompilerProbe& operator=(const CompilerProbe&) = delete;

    CompileResult Compile(const CompileJob& job) override;
    ProgramResult BuildAndRun(const CompileJob& job) override;
    long Runs() const override { return RunCount.load(); }

    // Leaves the last failing compile in the working directory for the user to inspect:
    // "compile.sh" (its command), "stdout.log" and "stderr.log" (its output).
    void KeepLastFailure();

private:
    struct Scratch;
    CompileResult RunCompile(Scratch& scratch, const CompileJob& job, bool buildExecutable);
    void NoteFailure(const std::string& command, const std::string& fileName, const CompileResult& result);

    const kxcommon::CompileTemplate Template;
    const kxcommon::CompileLimits Limits;
    const std::string WorkDir;
    const std::string ScratchRoot;
    Reporter& Report;
    std::atomic<long> RunCount{0};
    std::atomic<long> ScratchCount{0};
    std::once_flag RootMade;

    std::mutex FailureLock;
    bool HaveFailure = false;
    std::string FailureCommand;
    std::string FailureSource;
    std::string FailureStdout;
    std::string FailureStderr;
};

// The name a probe source gets on disk: only letters, digits, ".", "_" and "-" (never first),
// so that no name can carry shell syntax into the command.
std::string SafeFileName(const std::string& name);
