// Helpers shared by the test programs: scratch deployments, running the built Kestrix and
// other programs, asking real compilers about themselves.
#pragma once

#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "engine/probe/ProcessRunner.h"

namespace kxtest {

struct RunResult {
    int Status = -1;  // exit status, or 128 + the signal when the program was killed
    std::string Stdout;
    std::string Stderr;
};

std::vector<std::string> Lines(const std::string& text);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);
std::string MakeTempDir(const std::string& tag);
void RemoveTree(const std::string& path);
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);

// A scratch deployment: Root holds the suite and catalogue folders (links to data/), Work
// (Root/work) the list files; Kestrix runs in Work. Removed again when the object goes.
class Deployment {
public:
    // withData: link the shipped lists and suites; otherwise the lists and folders are empty.
    explicit Deployment(bool withData = true);
    ~Deployment();
    Deployment(const Deployment&) = delete;
    Deployment& operator=(const Deployment&) = delete;

    const std::string& Root() const { return RootDir; }
    const std::string& Work() const { return WorkDir; }
    // Writes a file relative to Root (parents are created).
    void Write(const std::string& relative, const std::string& content) const { WriteFile(RootDir + "/" + relative, content); }
    // Runs the built Kestrix in Work with these arguments (program name not included).
    RunResult Run(const std::vector<std::string>& args) const;
    std::string Personality() const { return RootDir + "/out.p_c"; }

private:
    std::string RootDir;
    std::string WorkDir;
};

// A program (argv[0] looked up on PATH) run by RunProcess in a thread of its own, so that the
// test can signal it meanwhile: in a process group of its own as a shell's job is, with
// standard input from /dev/null. Killed when the object goes before it has been waited for.
class Started {
public:
    Started(const std::vector<std::string>& argv, const std::string& directory);
    ~Started();
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    // To the program alone, or to its whole process group as a terminal's Ctrl-C is.
    void Signal(int signal, bool wholeGroup) const;
    RunResult Wait();

private:
    std::string Out;
    pid_t Pid = -1;
    ProcessOutcome Outcome;
    std::thread Runner;
};

// Runs a program (argv[0] looked up on PATH) to its end through RunProcess and returns what
// it wrote.
RunResult RunProgram(const std::vector<std::string>& argv, const std::string& directory = ".");
// Runs a command line through /bin/sh -c.
RunResult RunShell(const std::string& command, const std::string& directory = ".");

bool HaveCommand(const std::string& name);
// A fake compiler script of tests/fakes.
std::string Fake(const std::string& name);
// The directories of the compiler's #include <...> search list ("CC -xLANG -E -v /dev/null"),
// in its order, made canonical.
std::vector<std::string> SearchList(const std::string& compiler, const std::string& language = "c");
// The eight positional arguments for a gcc-like compiler.
std::vector<std::string> GccLikeArgs(const std::string& product, const std::string& kind,
                                     const std::string& compiler, const std::string& objExt = ".o");

}  // namespace kxtest
