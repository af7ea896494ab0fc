// Everything the command line decides about one generation run. Built once by the command
// line and never changed afterwards; the phases read it through the run context.
#pragma once

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "common/CompileTemplate.h"

// Compiler runs at once: at most kMaxJobs, and one per processor unless -j says otherwise.
constexpr unsigned kMaxJobs = 256;
inline unsigned DefaultJobs()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxJobs);
}

struct Options {
    // The positional arguments, in command-line order.
    bool IsC = true;                 // the personality is for the C analyser ("zanth")
    bool CrossCompilerGiven = false; // the user declared a cross compiler ("ccmp")
    std::string CompilerCommand;
    std::string ExeFlag;
    std::string ObjFlag;
    std::string DefFlag;
    std::string ObjectFileExtension; // expected extension, dot included; empty accepts any
    std::string OrderStr;            // the compile-command template

    // Header directories from -i, absolute, in the order given (each once).
    std::vector<std::string> SearchDirs;
    std::vector<std::string> ImplicitDefines;
    std::vector<std::string> ImplicitSwitches;
    std::string PersonalityFile = "/tmp/KestrixProbe.p_c";
    std::string TemplatePersonality;
    std::string ForceIncludeFile;
    std::string SubstituteHeaderDir;
    bool ReduceFileSize = false;
    // Only the plain methods (one question per compile): the reference for the fast paths
    // that read many answers from one compile.
    bool Exact = false;

    // How the compiler is driven.
    unsigned Jobs = DefaultJobs();   // compiler runs at once
    unsigned CompileTimeout = 120;   // seconds one compile may take
    unsigned ProgramTimeout = 10;    // seconds one probe program may run

    // The compile-command template and its time limits, as the probe service takes them.
    kxcommon::CompileTemplate Template() const
    {
        return {OrderStr, CompilerCommand, ExeFlag, ObjFlag, DefFlag, ImplicitSwitches, ImplicitDefines};
    }
    kxcommon::CompileLimits Limits() const { return {CompileTimeout, ProgramTimeout}; }
    // The extension of test sources for the product.
    const char* SourceExt() const { return IsC ? ".c" : ".cpp"; }
};
