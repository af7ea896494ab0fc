// Helpers of the test programs: scratch deployments, running programs, asking compilers about themselves.
#pragma once

#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "engine/probe/ProcessRunner.h"

namespace kxtest {

struct RunResult {
    int Status = -1;  // exit status, or 128 + the signal when the program was killed
    std::string Stdout, Stderr;
};

std::vector<std::string> Lines(const std::string& text);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);
std::string MakeTempDir(const std::string& tag);
void RemoveTree(const std::string& path);
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);

// A scratch deployment: Root holds the suite and catalogue folders, Work (Root/work) the lists; runs in Work.
class Deployment {
public:
    // withData: link the shipped lists and suites; otherwise the lists and folders are empty.
    explicit Deployment(bool withData = true);
    ~Deployment();
    Deployment(const Deployment&) = delete;
    Deployment& operator=(const Deployment&) = delete;

    const std::string& Root() const { return RootDir; }
    const std::string& Work() const { return WorkDir; }
    void Write(const std::string& relative, const std::string& content) const { WriteFile(RootDir + "/" + relative, content); }
    RunResult Run(const std::vector<std::string>& args) const;
    std::string Personality() const { return RootDir + "/out.p_c"; }

private:
    std::string RootDir, WorkDir;
};

// A program in a process group of its own, run in a thread so that the test can signal it meanwhile.
class Started {
public:
    Started(const std::vector<std::string>& argv, const std::string& directory);
    ~Started();
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    void Signal(int signal, bool wholeGroup) const;
    RunResult Wait();

private:
    std::string Out;
    pid_t Pid = -1;
    ProcessOutcome Outcome;
    std::thread Runner;
};

// Runs a program (argv[0] looked up on PATH) to its end and returns what it wrote.
RunResult RunProgram(const std::vector<std::string>& argv, const std::string& directory = ".");
RunResult RunShell(const std::string& command, const std::string& directory = ".");

bool HaveCommand(const std::string& name);
std::string Fake(const std::string& name);
// The compiler's #include <...> search list ("CC -xLANG -E -v /dev/null"), made canonical.
std::vector<std::string> SearchList(const std::string& compiler, const std::string& language = "c");
std::vector<std::string> GccLikeArgs(const std::string& product, const std::string& kind,
                                     const std::string& compiler, const std::string& objExt = ".o");

}  // namespace kxtest
