// The header walk against the plain cost of reading the same tree: the walk records every
// directory's files and harvests identifiers, the baseline only reads every file once.
//
//   build/bin/bench_header_walk [DIRECTORY] [benchmark options]   (default /usr/include)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/core/Options.h"
#include "engine/phases/includes/HeaderScan.h"

namespace {

std::string g_root = "/usr/include";

struct ReadTotals {
    std::size_t Files = 0;
    std::size_t Bytes = 0;
};

// Reads every regular file below a directory into memory and discards it, following links
// to directories as the walk does (the tree is assumed free of loops here).
void ReadTree(const std::string& dir, std::string& buffer, ReadTotals& totals)
{
    DIR* d = opendir(dir.c_str());
    if (d == nullptr)
        return;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = dir + "/" + name;
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            ReadTree(path, buffer, totals);
        } else if (S_ISREG(info.st_mode)) {
            const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            buffer.resize(static_cast<std::size_t>(info.st_size) + 1);
            ssize_t got;
            std::size_t used = 0;
            while ((got = read(fd, buffer.data() + used, buffer.size() - used)) > 0)
                used += static_cast<std::size_t>(got);
            close(fd);
            benchmark::DoNotOptimize(buffer.data());
            ++totals.Files;
            totals.Bytes += used;
        }
    }
    closedir(d);
}

void BM_PlainRead(benchmark::State& state)
{
    std::string buffer;
    ReadTotals totals;
    for (auto _ : state) {
        totals = {};
        ReadTree(g_root, buffer, totals);
    }
    state.counters["files"] = static_cast<double>(totals.Files);
    state.counters["MB"] = static_cast<double>(totals.Bytes) / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(totals.Bytes) * state.iterations());
}

void BM_HeaderWalk(benchmark::State& state)
{
    std::size_t identifiers = 0, directories = 0;
    for (auto _ : state) {
        static const std::set<std::string> noIgnored;
        static StreamReporter said(std::cout, std::cerr);
        auto scanner =
            std::make_unique<HeaderScanner>(noIgnored, said, kHarvestLimit, static_cast<unsigned>(state.range(0)));
        scanner->ScanDirectory(g_root);
        identifiers = scanner->Trees().Identifiers.size();
        directories = scanner->Trees().DirFiles.size();
        // Freeing the collections is the end of a run, not part of the walk.
        state.PauseTiming();
        scanner.reset();
        state.ResumeTiming();
    }
    state.counters["identifiers"] = static_cast<double>(identifiers);
    state.counters["directories"] = static_cast<double>(directories);
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
// One harvesting thread, and as many as a run has jobs by default.
BENCHMARK(BM_HeaderWalk)->Arg(1)->Arg(DefaultJobs())->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps the mean real time of each benchmark so that the ratio can be printed at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
                Times[run.run_name.function_name + run.run_name.args] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        g_root = argv[1];
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double plain = reporter.Times["BM_PlainRead"];
    const double walk = reporter.Times["BM_HeaderWalk/1"];
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\nTree: %s\n", g_root.c_str());
    if (plain > 0 && walk > 0)
        std::printf("Plain read %.1f ms, header walk %.1f ms, ratio %.2f (target at most 1.50)\n", plain, walk,
                    walk / plain);
    std::printf("Peak resident memory: %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
