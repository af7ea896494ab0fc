// Where a run's messages go. Progress and findings are lines for standard output, flushed at
// once so that a reader on a pipe (the wizard's log) sees them as they come; failures that
// end the run go to standard error. The engine's main writes both streams; tests and
// measuring runs keep the lines in memory. The reporter reaches the phases through the run
// context, and the steps that run before a context exists as a parameter.
//
// Work that runs in parallel must not interleave its lines: while a thread holds a
// Reporter::Held, its lines to that reporter are kept and handed back, so that the caller can
// print them in the order of the work items, whatever order the threads finished in.
#pragma once

#include <iosfwd>
#include <mutex>
#include <string>
#include <vector>

class Reporter {
public:
    virtual ~Reporter() = default;

    void Say(const std::string& line);
    void SayError(const std::string& line);
    // Prints lines held earlier, in their order, as Say would have.
    void SayAll(const std::vector<std::string>& lines);

    class Held {
    public:
        explicit Held(Reporter& owner);
        ~Held();
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
        std::vector<std::string> Take();

    private:
        friend class Reporter;
        Reporter& Owner;
        std::vector<std::string> Lines;
        Held* Outer;
    };

protected:
    // One line, called in the order said and never from two threads at once.
    virtual void Write(const std::string& line, bool isError) = 0;

private:
    std::mutex Lock;
};

// The engine's own: lines to one stream, failures to the other.
class StreamReporter final : public Reporter {
public:
    StreamReporter(std::ostream& out, std::ostream& err) : Out(out), Err(err) {}

private:
    void Write(const std::string& line, bool isError) override;
    std::ostream& Out;
    std::ostream& Err;
};

// Lines kept for the caller to read.
class MemoryReporter final : public Reporter {
public:
    // The lines said (not the failures) since the last call.
    std::vector<std::string> Take();
    std::vector<std::string> Errors();

private:
    void Write(const std::string& line, bool isError) override;
    std::mutex Kept;
    std::vector<std::string> Lines;
    std::vector<std::string> Failures;
};
