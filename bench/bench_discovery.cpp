// Cost of predefined macro discovery and extension keyword discovery on real compilers:
// every probe is a compiler run, so the runs are the engine's cost. For gcc (C product, its
// own search directories, native) and avr-gcc (cross) each phase reports its candidates,
// compiler runs, wall time and the peak memory reached while it ran. ccconfig, which finds
// the same kind of facts through the preprocessor, runs on avr-gcc as a peer, and the macros
// that only one of the two found are listed at the end.
#include "KestrixEngine.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string Capture(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, got);
        pclose(pipe);
    }
    return out;
}

// The compiler's own #include <...> search list.
std::vector<std::string> SearchDirs(const std::string& compiler)
{
    std::vector<std::string> dirs;
    std::istringstream in(Capture(compiler + " -xc -E -v /dev/null 2>&1 >/dev/null"));
    bool inList = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("#include <...>", 0) == 0)
            inList = true;
        else if (line.rfind("End of search list.", 0) == 0)
            break;
        else if (inList && !line.empty() && line[0] == ' ')
            dirs.push_back(fs::weakly_canonical(line.substr(1)).string());
    }
    return dirs;
}

// Peak resident memory of this process since the last reset, in MiB.
double PeakMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void ResetPeak()
{
    // Lets each phase report its own high-water mark instead of the setup's.
    std::ofstream("/proc/self/clear_refs") << "5";
}

// One engine per compiler, set up as a run sets it up before the two phases.
struct Subject {
    std::string Name;
    std::string Dir;
    std::unique_ptr<KestrixEngine> Engine;
    std::set<std::string> Macros;   // names with a define entry
};

std::map<std::string, std::unique_ptr<Subject>> Subjects;

// Keeps the engine's progress lines out of the benchmark table while it is in scope.
class QuietEngine {
public:
    QuietEngine() : Saved(std::cout.rdbuf(Sink.rdbuf())) {}
    ~QuietEngine() { std::cout.rdbuf(Saved); }
    QuietEngine(const QuietEngine&) = delete;
    QuietEngine& operator=(const QuietEngine&) = delete;

private:
    std::ostringstream Sink;
    std::streambuf* Saved;
};

Subject& Prepare(const std::string& compiler, const std::string& kind)
{
    auto& slot = Subjects[compiler];
    if (slot)
        return *slot;
    slot = std::make_unique<Subject>();
    Subject& subject = *slot;
    subject.Name = compiler;
    char pattern[] = "/tmp/kestrix-bench-XXXXXX";
    subject.Dir = mkdtemp(pattern);
    for (const auto& entry : fs::directory_iterator(fs::path(KESTRIX_DATA_DIR) / "lists"))
        fs::copy(entry.path(), fs::path(subject.Dir) / entry.path().filename());
    subject.Engine = std::make_unique<KestrixEngine>("zanth", kind, compiler, "-o ", "-c", "-D", ".o",
                                                     "%c %d%j %o%e %s");
    KestrixEngine& engine = *subject.Engine;
    if (chdir(subject.Dir.c_str()) != 0)
        throw std::runtime_error("cannot enter " + subject.Dir);
    engine.GetObjectFileExtension(S_OBJEXT, engine.ObjectFileExtension);
    if (!engine.IsCrossCompiler)
        engine.CheckExeFileRunWorks();
    engine.LoadKeywordLists();
    for (const std::string& dir : SearchDirs(compiler))
        engine.SearchDirs.insert(dir);
    for (const std::string& dir : engine.SearchDirs)
        engine.ScanDirectory(dir);
    return subject;
}

void Report(benchmark::State& state, std::size_t candidates, long runs, double seconds)
{
    state.SetIterationTime(seconds);
    state.counters["candidates"] = static_cast<double>(candidates);
    state.counters["compiler_runs"] = static_cast<double>(runs);
    state.counters["peak_MiB"] = PeakMiB();
}

void MacroPhase(benchmark::State& state, const std::string& compiler, const std::string& kind)
{
    for (auto _ : state) {
        const QuietEngine quiet;
        Subject& subject = Prepare(compiler, kind);
        KestrixEngine& engine = *subject.Engine;
        if (chdir(subject.Dir.c_str()) != 0)
            state.SkipWithError("cannot enter the scratch directory");
        std::size_t candidates = 0;
        for (const std::string& name : engine.PossibleDefines)
            candidates += engine.CKeywords.count(name) == 0 ? 1 : 0;
        const long runs = engine.CompilerRuns();
        std::ostringstream personality;
        ResetPeak();
        const auto start = std::chrono::steady_clock::now();
        engine.FindPreDefines(personality);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        Report(state, candidates, engine.CompilerRuns() - runs, took.count());
        for (std::string entry : engine.FoundDefines) {
            if (entry[0] == '"')
                entry.erase(0, 1);
            subject.Macros.insert(entry.substr(0, entry.find('=')));
        }
    }
}

void KeywordPhase(benchmark::State& state, const std::string& compiler, const std::string& kind)
{
    for (auto _ : state) {
        const QuietEngine quiet;
        Subject& subject = Prepare(compiler, kind);
        KestrixEngine& engine = *subject.Engine;
        if (chdir(subject.Dir.c_str()) != 0)
            state.SkipWithError("cannot enter the scratch directory");
        std::set<std::string> candidates;
        for (const std::set<std::string>* names : {&engine.PossibleDefines, &engine.PossibleKeywords})
            for (const std::string& name : *names)
                if (engine.CKeywords.count(name) == 0)
                    candidates.insert(name);
        const long runs = engine.CompilerRuns();
        ResetPeak();
        const auto start = std::chrono::steady_clock::now();
        engine.FindExtensionKeywords();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        Report(state, candidates.size(), engine.CompilerRuns() - runs, took.count());
        state.counters["keywords"] = static_cast<double>(engine.ExtensionKeywords.size());
    }
}

std::set<std::string> PeerMacros;

// ccconfig on avr-gcc, as a child process; its peak memory comes from the kernel's account.
void Peer(benchmark::State& state)
{
    for (auto _ : state) {
        char pattern[] = "/tmp/kestrix-bench-ccconfig-XXXXXX";
        const std::string dir = mkdtemp(pattern);
        const std::string output = dir + "/config.pl";
        const std::string command =
            "cd " + dir + " && exec ccconfig --cc avr-gcc --nostatus --norun >" + output + " 2>/dev/null";
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("ccconfig cannot be started");
            break;
        }
        int status = 0;
        rusage usage {};
        wait4(pid, &status, 0, &usage);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());

        // The defines are the quoted NAME=VALUE strings of its 'Define' list.
        std::ifstream in(output);
        bool inDefines = false;
        for (std::string line; std::getline(in, line);) {
            if (line.find("'Define' =>") != std::string::npos)
                inDefines = true;
            else if (inDefines && line.find(']') != std::string::npos)
                break;
            else if (inDefines) {
                const std::size_t open = line.find('\'');
                const std::size_t close = line.rfind('\'');
                if (open != std::string::npos && close > open) {
                    const std::string entry = line.substr(open + 1, close - open - 1);
                    PeerMacros.insert(entry.substr(0, entry.find('=')));
                }
            }
        }
        state.counters["defines"] = static_cast<double>(PeerMacros.size());
        state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
        fs::remove_all(dir);
    }
}

void PrintDifference(const std::string& title, const std::set<std::string>& a, const std::set<std::string>& b)
{
    std::vector<std::string> only;
    for (const std::string& name : a)
        if (b.count(name) == 0)
            only.push_back(name);
    std::cout << title << " (" << only.size() << "):";
    for (const std::string& name : only)
        std::cout << " " << name;
    std::cout << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string start = fs::current_path().string();
    // Each phase runs once: a run costs minutes and its compiler runs are what matter.
    for (auto* bench : {
             benchmark::RegisterBenchmark("macros/gcc", MacroPhase, std::string("gcc"), std::string("cmp")),
             benchmark::RegisterBenchmark("keywords/gcc", KeywordPhase, std::string("gcc"), std::string("cmp")),
             benchmark::RegisterBenchmark("macros/avr-gcc", MacroPhase, std::string("avr-gcc"), std::string("ccmp")),
             benchmark::RegisterBenchmark("keywords/avr-gcc", KeywordPhase, std::string("avr-gcc"), std::string("ccmp")),
             benchmark::RegisterBenchmark("ccconfig/avr-gcc", Peer),
         })
        bench->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Engine progress lines went to standard output during the phases; the comparison
    // follows the table.
    if (Subjects.count("avr-gcc") != 0 && !PeerMacros.empty()) {
        const std::set<std::string>& engine = Subjects["avr-gcc"]->Macros;
        PrintDifference("avr-gcc macros found by Kestrix only", engine, PeerMacros);
        PrintDifference("avr-gcc macros found by ccconfig only", PeerMacros, engine);
    }
    if (chdir(start.c_str()) == 0)
        for (const auto& [name, subject] : Subjects)
            fs::remove_all(subject->Dir);
    return 0;
}
