// Cost of the type phase (base types, their alignments and the standard typedefs) on a
// native and on a cross compiler: wall time and the number of compiler runs it makes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "KestrixEngine.h"

namespace {

bool HaveCompiler(const std::string& name)
{
    return std::system(("command -v '" + name + "' >/dev/null 2>&1").c_str()) == 0;
}

void TypePhase(benchmark::State& state, const std::string& compiler, const std::string& kind)
{
    if (!HaveCompiler(compiler)) {
        state.SkipWithError((compiler + " is not installed").c_str());
        return;
    }
    char previous[4096];
    if (getcwd(previous, sizeof previous) == nullptr) {
        state.SkipWithError("cannot read the working directory");
        return;
    }
    long runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string dir = (std::filesystem::temp_directory_path() / "kestrix-bench-XXXXXX").string();
        if (mkdtemp(dir.data()) == nullptr || chdir(dir.c_str()) != 0) {
            state.SkipWithError("cannot make a scratch directory");
            break;
        }
        std::ostringstream said;
        std::streambuf* const coutBuffer = std::cout.rdbuf(said.rdbuf());
        KestrixEngine engine("zanth", kind, compiler, "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
        engine.GetObjectFileExtension(S_OBJEXT, engine.ObjectFileExtension);
        if (!engine.IsCrossCompiler)
            engine.CheckExeFileRunWorks();
        engine.BaseTypes = KestrixEngine::MakeBaseTypes();
        const long before = engine.CompilerRuns();
        std::ostringstream personality;
        state.ResumeTiming();

        engine.ConductBaseTypeTests(personality);

        state.PauseTiming();
        runs = engine.CompilerRuns() - before;
        std::cout.rdbuf(coutBuffer);
        [[maybe_unused]] const int back = chdir(previous);
        std::filesystem::remove_all(dir);
        state.ResumeTiming();
    }
    state.counters["compiler_runs"] = static_cast<double>(runs);
}

}  // namespace

BENCHMARK_CAPTURE(TypePhase, gcc_native, std::string("gcc"), std::string("cmp"))
    ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(TypePhase, avr_gcc_cross, std::string("avr-gcc"), std::string("ccmp"))
    ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
