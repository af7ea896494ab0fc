// Progress and findings go to standard output, one line each, flushed at once so that a
// reader on a pipe (the wizard's log) sees them as they come. Failures that end the run go
// to standard error.
//
// Work that runs in parallel must not interleave its lines: while a thread holds a
// CapturedLines, its lines are kept and handed back, so that the caller can print them in
// the order of the work items, whatever order the threads finished in.
#pragma once

#include <string>
#include <vector>

void Say(const std::string& line);
void SayError(const std::string& line);

class CapturedLines {
public:
    CapturedLines();
    ~CapturedLines();
    CapturedLines(const CapturedLines&) = delete;
    CapturedLines& operator=(const CapturedLines&) = delete;
    std::vector<std::string> Take();

private:
    std::vector<std::string> Lines;
    CapturedLines* Outer;
};

// Prints lines captured earlier, in their order, as Say would have.
void SayAll(const std::vector<std::string>& lines);
