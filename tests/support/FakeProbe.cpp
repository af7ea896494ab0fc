#include "tests/support/FakeProbe.h"

#include <cctype>

namespace kxtest {

CompileResult FakeProbe::Compile(const CompileJob& job)
{
    {
        std::lock_guard<std::mutex> guard(Lock);
        Seen.push_back(job);
    }
    ++RunCount;
    return CompileFn(job);
}

ProgramResult FakeProbe::BuildAndRun(const CompileJob& job)
{
    ProgramResult result;
    result.Build = Compile(job);
    result.Built = ProgramFn && result.Build.Accepted();
    if (result.Built) {
        result.Run.Started = result.Run.Exited = true;
        result.Run.ExitStatus = 0;
        result.Run.Stdout = ProgramFn(job);
    }
    return result;
}

std::vector<CompileJob> FakeProbe::Jobs() const
{
    std::lock_guard<std::mutex> guard(Lock);
    return Seen;
}

// A rejection leaves no object at all, not an empty one.
static CompileResult Ended(int status, std::optional<std::string> object, std::string message)
{
    CompileResult result;
    result.Started = result.Exited = true;
    result.ExitStatus = status;
    result.Object = std::move(object);
    result.Stderr = std::move(message);
    return result;
}

CompileResult Accept(std::string object) { return Ended(0, std::move(object), ""); }
CompileResult Reject(std::string message) { return Ended(1, std::nullopt, std::move(message)); }

Options FakeOptions(bool isC, unsigned jobs)
{
    Options options;
    options.IsC = isC;
    options.CompilerCommand = "cc";
    options.ExeFlag = "-o ";
    options.ObjFlag = "-c";
    options.DefFlag = "-D";
    options.ObjectFileExtension = ".o";
    options.OrderStr = "%c %d%j %o%e %s";
    options.Jobs = jobs;
    return options;
}

std::vector<std::string> NamesAfter(const std::string& source, const std::string& marker)
{
    std::vector<std::string> names;
    for (std::size_t at = source.find(marker); at != std::string::npos; at = source.find(marker, at + 1)) {
        std::size_t end = at + marker.size();
        while (end < source.size() && (std::isalnum(static_cast<unsigned char>(source[end])) || source[end] == '_'))
            ++end;
        names.push_back(source.substr(at + marker.size(), end - at - marker.size()));
    }
    return names;
}

}  // namespace kxtest
