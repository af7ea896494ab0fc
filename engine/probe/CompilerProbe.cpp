#include "engine/probe/CompilerProbe.h"

#include "engine/core/Files.h"
#include "engine/probe/Interrupt.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"
#include "engine/probe/SystemErrors.h"

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string SafeFileName(const std::string& name)
{
    std::string safe = name.empty() ? std::string("probe") : name;
    for (char& c : safe) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '_' || c == '-';
        if (!plain)
            c = '_';
    }
    if (safe.front() == '-' || safe.front() == '.')
        safe.front() = '_';
    return safe;
}

namespace {

// A compile or program that SIGINT, SIGTERM or SIGHUP ended (directly, or through the shell
// that ran it) was stopped from outside, by a user, a front end or a closed terminal: what it
// left is no answer of the compiler, and taking its failure for a rejection would write a
// wrong fact. The run ends as interrupted instead, keeping the previous personality.
void EndIfInterrupted(const ProcessOutcome& outcome, const std::string& what, Reporter& report)
{
    int signal = outcome.Signal;
    if (outcome.Exited && (outcome.ExitStatus == 128 + SIGINT || outcome.ExitStatus == 128 + SIGTERM ||
                           outcome.ExitStatus == 128 + SIGHUP))
        signal = outcome.ExitStatus - 128;
    if (signal != SIGINT && signal != SIGTERM && signal != SIGHUP)
        return;
    report.SayError("Error: " + what + " was ended by " + Interrupt::SignalName(signal) +
             "; it gave no answer, so the run stops.");
    Interrupt::Request(signal);
    Interrupt::ThrowIfPending();
}

}  // namespace

// One scratch directory, removed with everything in it when the call is over.
struct CompilerProbe::Scratch {
    std::string Dir;
    std::string StdoutPath;
    std::string StderrPath;
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(Dir, ignored);
        fs::remove(StdoutPath, ignored);
        fs::remove(StderrPath, ignored);
    }
};

CompilerProbe::CompilerProbe(kxcommon::CompileTemplate compile, kxcommon::CompileLimits limits, std::string workDir,
                             Reporter& report)
    : Template(std::move(compile)), Limits(limits), WorkDir(std::move(workDir)),
      ScratchRoot(WorkDir + "/kestrix-probes." + std::to_string(getpid())), Report(report)
{
}

CompilerProbe::~CompilerProbe()
{
    std::error_code ignored;
    fs::remove_all(ScratchRoot, ignored);
}

CompileResult CompilerProbe::RunCompile(Scratch& scratch, const CompileJob& job, bool buildExecutable)
{
    std::call_once(RootMade, [&] {
        if (mkdir(ScratchRoot.c_str(), 0700) != 0 && errno != EEXIST)
            throw RunFailure{"Error: Cannot create the probe directory \"" + ScratchRoot + "\": " + ErrnoText()};
    });
    const std::string id = std::to_string(++ScratchCount);
    scratch.Dir = ScratchRoot + "/" + id;
    scratch.StdoutPath = ScratchRoot + "/" + id + ".out";
    scratch.StderrPath = ScratchRoot + "/" + id + ".err";
    if (mkdir(scratch.Dir.c_str(), 0700) != 0)
        throw RunFailure{"Error: Cannot create the probe directory \"" + scratch.Dir + "\": " + ErrnoText()};

    // A source that is not written completely must never be compiled as if it were the test.
    const std::string fileName = SafeFileName(job.FileName);
    std::string error;
    if (!WriteWholeFile(scratch.Dir + "/" + fileName, job.Source, &error))
        throw RunFailure{"Error: Cannot write the probe source \"" + scratch.Dir + "/" + fileName + "\": " + error};

    const std::string command = kxcommon::ComposeCompileCommand(Template, fileName, buildExecutable, job.ExtraDefine);
    ProcessSpec spec;
    spec.Argv = {"/bin/sh", "-c", command};
    spec.Directory = scratch.Dir;
    spec.StdoutPath = scratch.StdoutPath;
    spec.StderrPath = scratch.StderrPath;
    spec.TimeoutSeconds = Limits.CompileSeconds;
    CompileResult result;
    static_cast<ProcessOutcome&>(result) = RunProcess(spec);
    ++RunCount;
    if (!result.Started)
        throw RunFailure{"Error: Cannot start /bin/sh to run the compile command \"" + command + "\": " + result.StartError};
    if (result.TimedOut)
        Report.Say("Error: The compile command \"" + command + "\" did not finish within " +
            std::to_string(Limits.CompileSeconds) + " s; it was stopped, and the probe counts as failed.");

    // No probe source makes an object of many megabytes; one that is that large is read no
    // further than the limit (a hostile compiler's gigabytes would cost as much memory, once
    // per job), and the run stops: its facts could not be read from it.
    constexpr std::size_t kMaxObjectBytes = 64u << 20;
    auto readProduct = [&](const std::string& path, std::string& bytes) {
        std::string error;
        if (ReadWholeFile(path, bytes, &error, kMaxObjectBytes))
            return true;
        if (error.find("larger") != std::string::npos)
            throw RunFailure{"Error: The compile command \"" + command + "\" wrote \"" + path + "\", which " + error +
                             "; no probe makes a file that large, so its answer cannot be read."};
        return false;
    };
    if (job.ListFiles) {
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(scratch.Dir, ec)) {
            const std::string name = entry.path().filename().string();
            std::string bytes;
            if (name != fileName && readProduct(entry.path().string(), bytes))
                result.Files.emplace(name, std::move(bytes));
        }
    }
    if (!job.ObjectExtension.empty()) {
        const std::size_t dot = fileName.rfind('.');
        const std::string object = fileName.substr(0, dot) + job.ObjectExtension;
        std::string bytes;
        if (readProduct(scratch.Dir + "/" + object, bytes))
            result.Object = std::move(bytes);
    }
    if (!result.Succeeded() || result.Killed())
        NoteFailure(command, fileName, result);
    EndIfInterrupted(result, "The compile command \"" + command + "\"", Report);
    if (!result.Accepted()) {
        if (const std::string failure = SystemFailureIn(result.Output()); !failure.empty())
            throw RunFailure{"Error: The compile command \"" + command + "\" failed for a reason that is no answer of the "
                             "compiler (\"" + failure + "\"); the run stops, as its facts would be wrong."};
    }
    return result;
}

CompileResult CompilerProbe::Compile(const CompileJob& job)
{
    Scratch scratch;
    return RunCompile(scratch, job, false);
}

ProgramResult CompilerProbe::BuildAndRun(const CompileJob& job)
{
    Scratch scratch;
    ProgramResult result;
    result.Build = RunCompile(scratch, job, true);
    const std::string program = SafeFileName(job.FileName) + ".exe";
    struct stat info {};
    result.Built = !result.Build.Killed() && stat((scratch.Dir + "/" + program).c_str(), &info) == 0 &&
                   S_ISREG(info.st_mode);
    if (!result.Built)
        return result;

    // The program runs without a shell: its name never passes through one.
    ProcessSpec spec;
    spec.Argv = {"./" + program};
    spec.Directory = scratch.Dir;
    spec.StdoutPath = scratch.StdoutPath;
    spec.StderrPath = scratch.StderrPath;
    spec.TimeoutSeconds = Limits.ProgramSeconds;
    result.Run = RunProcess(spec);
    EndIfInterrupted(result.Run, "The probe program \"" + program + "\"", Report);
    if (result.Run.TimedOut)
        Report.Say("Error: The probe program \"" + program + "\" did not finish within " +
            std::to_string(Limits.ProgramSeconds) + " s; it was stopped, and the probe counts as failed.");
    return result;
}

void CompilerProbe::NoteFailure(const std::string& command, const std::string& fileName, const CompileResult& result)
{
    std::lock_guard<std::mutex> lock(FailureLock);
    HaveFailure = true;
    FailureCommand = command;
    FailureSource = fileName;
    FailureStdout = result.Stdout;
    FailureStderr = result.Stderr;
}

void CompilerProbe::KeepLastFailure()
{
    std::lock_guard<std::mutex> lock(FailureLock);
    if (!HaveFailure)
        return;
    const std::string script = "#!/bin/sh\n"
                               "# The last compile that failed. It ran in a scratch directory that held its\n"
                               "# source " + FailureSource + " and was removed afterwards.\n" +
                               FailureCommand + "\n";
    // The record is for the user to read; a write that fails is said, so that an old record
    // is not taken for this run's.
    const std::pair<const char*, const std::string*> files[] = {
        {"compile.sh", &script}, {"stdout.log", &FailureStdout}, {"stderr.log", &FailureStderr}};
    for (const auto& [name, content] : files) {
        std::string error;
        if (!WriteWholeFile(WorkDir + "/" + name, *content, &error))
            Report.SayError("Error: Cannot write the record of the last failing compile \"" + WorkDir + "/" + name +
                     "\": " + error + ".");
    }
    chmod((WorkDir + "/compile.sh").c_str(), 0755);
}
