// What every phase of a run works with: the options, the probe service, the reporter, and
// the facts about the target that the first probes settle (which object files the compiler
// writes, and whether its programs run on this host).
#pragma once

#include <cstddef>
#include <string>

#include "engine/core/Options.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"
#include "engine/probe/Parallel.h"
#include "engine/probe/Probe.h"

struct TargetFacts {
    std::string ObjectExtension;  // the extension of the objects the compiler writes, dot included
    bool ObjectIsBinary = true;   // false for compilers that write their objects as text
    bool IsCrossCompiler = false; // its programs are not run here: facts come from compiling alone
};

// How much one compile is asked at once. A compiler with limits on source size or symbol
// count (-rfs) gets smaller sources from every phase; the sizes are decided here alone.
struct SourceLimits {
    std::size_t NamesPerBatch;    // names in the first batches of the keyword search
    // Names in the first batches of the macro search, and of the first pass of the keyword
    // search: a line or a declaration each, which cost little.
    std::size_t CheapNamesPerBatch;
    std::size_t MacrosPerGroup;   // macro values read from one source
    std::size_t HeadersPerBatch;  // headers asked by one __has_include compile
    std::size_t SuiteCopies;      // copies of the suite's tests in one source (about 100 KB)

    static SourceLimits For(bool reduced)
    {
        return reduced ? SourceLimits{1024, 1024, 256, 32, 32} : SourceLimits{16384, 65536, 4096, 256, 256};
    }
};

class RunContext {
public:
    RunContext(const Options& options, Probe& probe, TargetFacts target, Reporter& report)
        : Opts(options), Prober(probe), Report(report), Target(std::move(target)),
          Limits(SourceLimits::For(options.ReduceFileSize)) {}

    const Options& Opts;
    Probe& Prober;
    Reporter& Report;  // progress and findings; lines said in ForEach's work come out in item order
    const TargetFacts Target;
    const SourceLimits Limits;

    // Compiles the source saved as stem + the product's source extension; the object made
    // from it comes back.
    CompileResult Compile(const std::string& source, const std::string& stem,
                          const std::string& extraDefine = {}) const
    {
        return Prober.Compile(Job(source, stem + Opts.SourceExt(), extraDefine));
    }
    // The same for a source file of a suite, compiled under its own file name.
    CompileResult CompileFile(const std::string& source, const std::string& fileName,
                              const std::string& extraDefine = {}) const
    {
        return Prober.Compile(Job(source, fileName, extraDefine));
    }
    ProgramResult BuildAndRun(const std::string& source, const std::string& fileName,
                              const std::string& extraDefine = {}) const
    {
        return Prober.BuildAndRun(Job(source, fileName, extraDefine));
    }

    // A source that every compiler of the language takes, compiled where the probes found
    // nothing: when the compiler rejects this one too, its options turn down sources for
    // reasons of their own (warnings made errors, say), no rejection of a probe is an answer,
    // and the run ends instead of writing what nothing showed.
    void RequireAccepted(const std::string& source, const std::string& fileName, const std::string& probes) const
    {
        const CompileResult result = CompileFile(source, fileName);
        if (result.Accepted())
            return;
        std::string plain = source;
        for (char& ch : plain)
            if (ch == '\n')
                ch = ' ';
        while (!plain.empty() && plain.back() == ' ')
            plain.pop_back();
        std::string said = result.Output();
        said = said.substr(0, said.find('\n'));
        throw RunFailure{"Error: The compiler rejects \"" + plain + "\" (" + fileName +
                         "), a source that any compiler of the language takes" +
                         (said.empty() ? std::string() : ", saying \"" + said + "\"") + ", so " + probes +
                         " cannot be told from the compile options' own rejections; check the options of the compile "
                         "command (such as warnings made errors). No personality is written."};
    }

    // Independent probes at once, up to the run's number of jobs; see ParallelInOrder.
    template <typename Work, typename Done>
    void ForEach(std::size_t count, Work&& work, Done&& done) const
    {
        ParallelInOrder(Report, Opts.Jobs, count, std::forward<Work>(work), std::forward<Done>(done));
    }

    // The declaration of printf that the product's test programs use. It spells the
    // standard's own parameter type: gcc and clang know printf as a built-in, and under
    // -Werror a declaration that differs from theirs makes every test program fail to build.
    static const char* PrintfDecl(bool isC)
    {
        return isC ? "int printf(const char *, ...);" : "extern \"C\" int printf(const char *, ...);";
    }
    const char* PrintfDecl() const { return PrintfDecl(Opts.IsC); }

private:
    CompileJob Job(const std::string& source, const std::string& fileName, const std::string& extraDefine) const
    {
        CompileJob job;
        job.Source = source;
        job.FileName = fileName;
        job.ExtraDefine = extraDefine;
        job.ObjectExtension = Target.ObjectExtension;
        return job;
    }
};
