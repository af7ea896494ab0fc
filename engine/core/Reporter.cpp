#include "engine/core/Reporter.h"

#include <ostream>
#include <utility>

namespace {
thread_local Reporter::Held* tHeld = nullptr;
}  // namespace

void Reporter::Say(const std::string& line)
{
    if (tHeld != nullptr && &tHeld->Owner == this) {
        tHeld->Lines.push_back(line);
        return;
    }
    std::lock_guard<std::mutex> lock(Lock);
    Write(line, false);
}

void Reporter::SayError(const std::string& line)
{
    std::lock_guard<std::mutex> lock(Lock);
    Write(line, true);
}

void Reporter::SayAll(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        Say(line);
}

Reporter::Held::Held(Reporter& owner) : Owner(owner), Outer(tHeld)
{
    tHeld = this;
}

Reporter::Held::~Held()
{
    tHeld = Outer;
}

std::vector<std::string> Reporter::Held::Take()
{
    return std::exchange(Lines, {});
}

void StreamReporter::Write(const std::string& line, bool isError)
{
    if (isError) {
        // What was said before the failure is seen before it, on a terminal that shows both.
        Out.flush();
        Err << line << '\n' << std::flush;
    } else {
        Out << line << '\n' << std::flush;
    }
}

std::vector<std::string> MemoryReporter::Take()
{
    std::lock_guard<std::mutex> lock(Kept);
    return std::exchange(Lines, {});
}

std::vector<std::string> MemoryReporter::Errors()
{
    std::lock_guard<std::mutex> lock(Kept);
    return Failures;
}

void MemoryReporter::Write(const std::string& line, bool isError)
{
    std::lock_guard<std::mutex> lock(Kept);
    (isError ? Failures : Lines).push_back(line);
}
