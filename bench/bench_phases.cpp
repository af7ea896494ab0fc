// Cost of each phase of a whole generation run, against real compilers: the compiler runs
// and the wall time of every phase, so that the costliest one is known. The phases are
// called through the library in the order of the generation sequence, in a scratch
// deployment laid out like an installed one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "KestrixEngine.h"

namespace fs = std::filesystem;

namespace {

struct Subject {
    std::string Compiler;
    bool Cross;
};

std::string CommandOutput(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

bool HaveCommand(const std::string& name)
{
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// The compiler's own #include <...> directories, which a user would give with "-i".
std::vector<std::string> SearchList(const std::string& compiler)
{
    const std::string text = CommandOutput(compiler + " -xc -E -v /dev/null 2>&1 >/dev/null");
    std::vector<std::string> directories;
    std::istringstream in(text);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.find("#include <...> search starts here:") != std::string::npos) {
            inside = true;
        } else if (line.find("End of search list.") != std::string::npos) {
            inside = false;
        } else if (inside && !line.empty()) {
            const std::string dir = line.substr(line.find_first_not_of(' '));
            std::error_code ec;
            const fs::path canonical = fs::canonical(dir, ec);
            directories.push_back(ec ? dir : canonical.string());
        }
    }
    return directories;
}

// A deployment like the installed one: list files in ROOT/work, suites one level up.
std::string LayOutDeployment()
{
    std::string root = (fs::temp_directory_path() / "kestrix-bench-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr)
        return {};
    const fs::path work = fs::path(root) / "work";
    fs::create_directories(work);
    for (const auto& entry : fs::directory_iterator(KESTRIX_DATA_DIR)) {
        const std::string name = entry.path().filename().string();
        const fs::path to = name == "lists" ? work : fs::path(root) / name;
        if (entry.is_directory())
            fs::copy(entry.path(), to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    return root;
}

struct PhaseCost {
    std::string Name;
    long Runs;
    double Seconds;
};

void BM_WholeRun(benchmark::State& state, Subject subject)
{
    if (!HaveCommand(subject.Compiler)) {
        state.SkipWithError((subject.Compiler + " is not installed").c_str());
        return;
    }
    for (auto _ : state) {
        const std::string root = LayOutDeployment();
        const fs::path previous = fs::current_path();
        fs::current_path(fs::path(root) / "work");

        KestrixEngine engine("zanth", subject.Cross ? "ccmp" : "cmp", subject.Compiler, "-o ", "-c", "-D", ".o",
                             "%c %d%j %o%e %s");
        for (const std::string& dir : SearchList(subject.Compiler))
            engine.SearchDirs.insert(dir);
        engine.PersonalityFile = root + "/personality.p_c";

        std::vector<PhaseCost> costs;
        auto measure = [&](const std::string& name, const std::function<void()>& phase) {
            const long runsBefore = engine.CompilerRuns();
            const auto start = std::chrono::steady_clock::now();
            phase();
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            costs.push_back({name, engine.CompilerRuns() - runsBefore, elapsed.count()});
        };

        std::size_t keywordsFound = 0;
        std::ofstream personality(engine.PersonalityFile);
        // Progress messages of the phases would drown the figures.
        std::cout.setstate(std::ios::failbit);
        try {
            measure("object_extension", [&] { engine.GetObjectFileExtension(S_OBJEXT, engine.ObjectFileExtension); });
            measure("exe_check", [&] {
                if (!engine.IsCrossCompiler)
                    engine.CheckExeFileRunWorks();
            });
            measure("lists", [&] {
                engine.BaseTypes = KestrixEngine::MakeBaseTypes();
                engine.LoadKeywordLists();
            });
            measure("header_scan", [&] {
                for (const std::string& dir : engine.SearchDirs)
                    engine.ScanDirectory(dir);
            });
            measure("include_paths", [&] { engine.GetIncludes(personality); });
            measure("predefined_macros", [&] { engine.FindPreDefines(personality); });
            measure("extension_keywords", [&] { engine.FindExtensionKeywords(); });
            keywordsFound = engine.ExtensionKeywords.size();
            measure("general_suite", [&] { engine.ConductZanTests(personality); });
            measure("keyword_tests", [&] { engine.ConductKWTests(personality, false); });
            measure("force_include", [&] {
                if (engine.NeedForceInclude)
                    engine.CopyCreateForceIncludeFile(root + "/vmtforceinclude", "vmt_forceinclude.h", personality);
            });
        } catch (const KestrixExit& exitRequest) {
            std::cout.clear();
            state.SkipWithError(("the run ended with status " + std::to_string(exitRequest.Status)).c_str());
        }
        std::cout.clear();
        personality.close();

        fs::current_path(previous);
        std::error_code ec;
        fs::remove_all(root, ec);

        long totalRuns = 0;
        double totalSeconds = 0;
        const PhaseCost* costliest = nullptr;
        std::fprintf(stderr, "\n%s (%s): compiler runs and wall time per phase\n", subject.Compiler.c_str(),
                     subject.Cross ? "cross" : "native");
        for (const PhaseCost& cost : costs) {
            std::fprintf(stderr, "  %-20s %8ld runs %10.3f s\n", cost.Name.c_str(), cost.Runs, cost.Seconds);
            state.counters[cost.Name + "_runs"] = static_cast<double>(cost.Runs);
            state.counters[cost.Name + "_s"] = cost.Seconds;
            totalRuns += cost.Runs;
            totalSeconds += cost.Seconds;
            if (costliest == nullptr || cost.Seconds > costliest->Seconds)
                costliest = &cost;
        }
        std::fprintf(stderr, "  %-20s %8ld runs %10.3f s\n", "total", totalRuns, totalSeconds);
        // The keyword phase costs up to one compile per keyword and suite source.
        std::fprintf(stderr, "  extension keywords classified: %zu\n", keywordsFound);
        state.counters["extension_keywords_found"] = static_cast<double>(keywordsFound);
        if (costliest != nullptr)
            std::fprintf(stderr, "  costliest phase: %s\n", costliest->Name.c_str());
        state.counters["total_runs"] = static_cast<double>(totalRuns);
        state.SetIterationTime(totalSeconds);
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_WholeRun, gcc_native, Subject{"gcc", false})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_WholeRun, avr_gcc_cross, Subject{"avr-gcc", true})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
