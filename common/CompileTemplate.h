// The compile command of one probe, made from the user's template. The engine runs what
// this composes and the wizard shows it before the run, so both take it from here: a
// preview composed by other rules would promise a command that the shell then refuses.
#pragma once

#include <string>
#include <vector>

namespace kxcommon {

// The template as the user gives it: the order string with its six placeholders, and what
// fills them.
struct CompileTemplate {
    std::string Order;     // "%c %d%j %o%e %s"
    std::string Compiler;  // %c
    std::string ExeFlag;   // %o, for program builds
    std::string ObjFlag;   // %j, for object builds
    std::string DefFlag;   // put before every define of %d
    std::vector<std::string> Switches;  // first in %d
    std::vector<std::string> Defines;   // then in %d, each after DefFlag
};

// How long the commands of a run may take, in seconds (0: no limit).
struct CompileLimits {
    unsigned CompileSeconds = 120;  // one compile
    unsigned ProgramSeconds = 10;   // one probe program
};

// The placeholders a template must hold, and the first one it lacks, or nullptr.
const char* MissingPlaceholder(const std::string& order);

// Fills the template for the source file: an object build, or with buildExecutable a program
// named source + ".exe"; extraDefine is one more definition for this command only. The first
// occurrence of each placeholder is filled. Throws std::invalid_argument when the template
// lacks a placeholder.
std::string ComposeCompileCommand(const CompileTemplate& compile, const std::string& source, bool buildExecutable,
                                  const std::string& extraDefine);

// The word as /bin/sh -c reads it back unchanged: in single quotes.
std::string ShellQuote(const std::string& word);

}  // namespace kxcommon
