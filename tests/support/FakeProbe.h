// A probe answering from the test: a phase is tested in memory against a compiler written as a function of the source.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/core/Options.h"
#include "engine/probe/Probe.h"
#include "engine/probe/RunContext.h"

namespace kxtest {

class FakeProbe : public Probe {
public:
    // What the compiler does with a source: its answer for an object build.
    using Compiler = std::function<CompileResult(const CompileJob&)>;
    // What a program built from the source prints; only asked for sources the compiler took.
    using Program = std::function<std::string(const CompileJob&)>;

    explicit FakeProbe(Compiler compiler, Program program = {})
        : CompileFn(std::move(compiler)), ProgramFn(std::move(program)) {}

    CompileResult Compile(const CompileJob& job) override;
    ProgramResult BuildAndRun(const CompileJob& job) override;
    long Runs() const override { return RunCount.load(); }

    // The sources compiled so far, in the order they arrived.
    std::vector<CompileJob> Jobs() const;

private:
    Compiler CompileFn;
    Program ProgramFn;
    std::atomic<long> RunCount{0};
    mutable std::mutex Lock;
    std::vector<CompileJob> Seen;
};

// An accepted source with an object of these bytes, or a rejected one with this message on standard error.
CompileResult Accept(std::string object = "\x7f" "OBJ");
CompileResult Reject(std::string message = "error");

// Options for a gcc-like compiler, with the given number of jobs.
Options FakeOptions(bool isC = true, unsigned jobs = 1);

// A run context over the fake, with binary objects ".o", native or cross.
struct FakeRun {
    FakeRun(FakeProbe::Compiler compiler, FakeProbe::Program program = {}, bool cross = false,
            Options options = FakeOptions())
        : Opts(std::move(options)), Fake(std::move(compiler), std::move(program)),
          Context(Opts, Fake, TargetFacts{".o", true, cross}, Said) {}
    Options Opts;
    FakeProbe Fake;
    MemoryReporter Said;  // what the phases said, for the test to read
    RunContext Context;
};

// The identifiers of the text between the markers of a block: e.g. every NAME in "#ifdef NAME" lines.
std::vector<std::string> NamesAfter(const std::string& source, const std::string& marker);

}  // namespace kxtest
