#include "engine/core/Reporter.h"

#include <iostream>
#include <mutex>
#include <utility>

namespace {
thread_local std::vector<std::string>* tCapture = nullptr;
thread_local CapturedLines* tCurrent = nullptr;
std::mutex gOutput;
}  // namespace

void Say(const std::string& line)
{
    if (tCapture != nullptr) {
        tCapture->push_back(line);
        return;
    }
    std::lock_guard<std::mutex> lock(gOutput);
    std::cout << line << '\n' << std::flush;
}

void SayError(const std::string& line)
{
    std::lock_guard<std::mutex> lock(gOutput);
    std::cout.flush();
    std::cerr << line << '\n' << std::flush;
}

void SayAll(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        Say(line);
}

CapturedLines::CapturedLines() : Outer(tCurrent)
{
    tCurrent = this;
    tCapture = &Lines;
}

CapturedLines::~CapturedLines()
{
    tCurrent = Outer;
    tCapture = Outer != nullptr ? &Outer->Lines : nullptr;
}

std::vector<std::string> CapturedLines::Take()
{
    return std::exchange(Lines, {});
}
