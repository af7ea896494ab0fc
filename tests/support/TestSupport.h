// Helpers shared by the test programs: scratch deployments, running the built Kestrix,
// asking real compilers about themselves.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "KestrixEngine.h"

namespace kxtest {

struct RunResult {
    int Status = -1;        // exit status, or -1 when the program did not exit normally
    std::string Stdout;
    std::string Stderr;
};

// A scratch deployment: Root holds the suite and catalogue folders, Work (Root/work) the
// list files; Kestrix runs in Work. Removed again when the object goes.
std::vector<std::string> Lines(const std::string& text);

class Deployment {
public:
    // copyData: copy the shipped lists and suites from data/; otherwise everything is empty.
    explicit Deployment(bool copyData = true);
    ~Deployment();
    Deployment(const Deployment&) = delete;
    Deployment& operator=(const Deployment&) = delete;

    const std::string& Root() const { return RootDir; }
    const std::string& Work() const { return WorkDir; }
    std::string InWork(const std::string& name) const { return WorkDir + "/" + name; }
    std::string InRoot(const std::string& name) const { return RootDir + "/" + name; }

    // Writes a file relative to Root (parents are created).
    void Write(const std::string& relative, const std::string& content) const;
    // Runs the built Kestrix in Work with these arguments (program name not included).
    RunResult Run(const std::vector<std::string>& args) const;
    // The default personality path used by the tests: Root/out.p_c.
    std::string Personality() const { return RootDir + "/out.p_c"; }

private:
    std::string RootDir;
    std::string WorkDir;
};

// Moves the process into a scratch working directory for the life of the object, and
// captures standard output, so that engine phases called through the library write their
// probe files and messages there. The previous directory is restored afterwards.
class ScopedWorkDir {
public:
    explicit ScopedWorkDir(const std::string& directory);
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;
    // What was written to standard output so far.
    std::string Said() const;

private:
    std::string Previous;
    struct Capture;
    Capture* Output;
};

// An engine working in the work folder of an empty scratch deployment, with the base type
// table filled and as if the object-extension probe had found ".o". The previous working
// directory is restored afterwards.
class ScratchEngine {
public:
    ScratchEngine(const std::string& product, const std::string& kind, const std::string& compiler);
    ~ScratchEngine();
    ScratchEngine(const ScratchEngine&) = delete;
    ScratchEngine& operator=(const ScratchEngine&) = delete;

    // Runs a phase on a personality stream of its own; returns the lines it wrote and keeps
    // what it printed in Printed.
    template <typename Phase>
    std::vector<std::string> Lines(Phase phase)
    {
        std::ostringstream personality;
        CaptureStart();
        phase(*Engine, personality);
        Printed = CaptureEnd();
        return kxtest::Lines(personality.str());
    }

    Deployment Deploy{false};
    std::unique_ptr<KestrixEngine> Engine;
    std::string Printed;

private:
    static void CaptureStart();
    static std::string CaptureEnd();
    std::string OldCwd;
};

// Runs a program (argv[0] looked up on PATH) in a directory, capturing its output.
RunResult RunProgram(const std::vector<std::string>& argv, const std::string& directory = ".",
                     const std::string& input = "");
// Runs a command line through /bin/sh -c.
RunResult RunShell(const std::string& command, const std::string& directory = ".");

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);
std::string MakeTempDir(const std::string& tag);
void RemoveTree(const std::string& path);

// True when the command is found on PATH.
bool HaveCommand(const std::string& name);
// A fake compiler script of tests/fakes.
std::string Fake(const std::string& name);
// The directories of the compiler's #include <...> search list ("CC -xLANG -E -v /dev/null"),
// in its order, made canonical.
std::vector<std::string> SearchList(const std::string& compiler, const std::string& language = "c",
                                    const std::vector<std::string>& extraFlags = {});
// The eight positional arguments for a gcc-like compiler.
std::vector<std::string> GccLikeArgs(const std::string& product, const std::string& kind,
                                     const std::string& compiler, const std::string& objExt = ".o");

}  // namespace kxtest
