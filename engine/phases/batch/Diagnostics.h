// The compiler's messages read as diagnostics: which file and line each one is about, and
// whether it is an error. Compilers spell locations in a few ways ("t.c:12:5:", "t.c:12.5:", "t.c:12:",
// "t.c(12)", "\"t.c\", line 12:"); a message whose location cannot be read is kept as text
// with no location.
#pragma once

#include <string>
#include <vector>

// The start of every made-up header name: no header of any compiler is called so, and
// including it draws the "no such file" diagnostic that the probes look for.
inline const std::string kUndefinedId = "ak12345";

struct Diagnostic {
    enum Kind { Error, Warning, Note, Other };
    std::string File;  // the file's name without its directory; empty when no location was read
    long Line = 0;
    Kind Severity = Other;
    // The message's line, with the lines that follow it without a location of their own (the
    // echoed source line, the caret), each ended by a newline.
    std::string Text;
};

// The diagnostics in the order the compiler wrote them. Text before the first located
// message comes first, as a diagnostic without a location.
std::vector<Diagnostic> ReadDiagnostics(const std::string& output);
