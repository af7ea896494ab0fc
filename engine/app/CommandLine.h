// The engine's command line: eight positional arguments followed by options. Everything it
// decides goes into one Options value; whatever cannot be used is refused here, before any
// compiler runs.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Options.h"
#include "engine/core/Reporter.h"

struct CommandLine {
    enum Outcome { Run, Usage, Refused };
    Outcome What = Run;
    Options Opts;
    std::string Error;  // for Refused: the message naming the argument and the reason
};

void PrintUsage(Reporter& report);

// Reads the arguments (args[0] is the program name).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Makes a path absolute against the working directory. Throws RunFailure when the working
// directory cannot be read.
std::string FullyQualifyPath(const std::string& path);

// Splits an option value at every comma; empty pieces are kept only when keepEmpty is set.
std::vector<std::string> SplitAtCommas(const std::string& value, bool keepEmpty);

// The whole program: returns the process exit status.
int KestrixMain(int argc, char** argv);
