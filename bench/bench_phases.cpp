// Where a whole generation run spends its time: wall time and compiler runs of every phase,
// for each compiler of bench/BenchSetup.h, once with one compile at a time and once with the
// default number of jobs. The run is the real engine's (the library's generation sequence with
// the real probe service) in a scratch deployment.
// Beside the wall time, the processor time of the engine and its compilers (-j1): on a machine
// that others share, the wall time follows their load, the processor time much less.
//
//   bench_phases [NAME]...   (a name of bench/BenchSetup.h; all of them when none is given)
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "bench/BenchSetup.h"
#include "engine/app/CommandLine.h"
#include "engine/probe/CompilerProbe.h"
#include "engine/app/Generation.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct PhaseCost {
    double Seconds = 0;
    long Runs = 0;
    double Processor = 0;
};

double Seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// The processor time (user and system) of this process and of its children waited for.
double ProcessorSeconds()
{
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    }
    return total;
}

// One run; the cost of each phase in the order the phases ran.
std::vector<std::pair<std::string, PhaseCost>> Measure(const BenchCompiler& subject, const std::string& jobs)
{
    const std::string root = fs::temp_directory_path() / ("kestrix-bench-" + std::to_string(getpid()));
    const std::string work = MakeBenchDeployment(root);
    // Relative paths of a command line (a catalogue's force-include file) are taken from the
    // working directory, as kestrix-run starts the engine.
    const fs::path caller = fs::current_path();
    fs::current_path(work);
    std::vector<std::string> args{"Kestrix"};
    args.insert(args.end(), subject.Args.begin(), subject.Args.end());
    args.insert(args.end(), {"-op", root + "/out.p_c", "-j", jobs});
    const CommandLine line = ParseCommandLine(args);
    if (line.What != CommandLine::Run) {
        std::fprintf(stderr, "%s\n", line.Error.c_str());
        fs::current_path(caller);
        return {};
    }

    std::vector<std::pair<std::string, PhaseCost>> costs;
    // The run's progress is not the measurement's; its failures still are told.
    std::ostream discard(nullptr);
    StreamReporter quiet(discard, std::cerr);
    CompilerProbe probe(line.Opts.Template(), line.Opts.Limits(), work, quiet);
    auto start = Clock::now();
    double processor = ProcessorSeconds();
    long runs = 0;
    std::string current;
    try {
        GenPersonality(line.Opts, probe, quiet, work, [&](const char* phase) {
            const auto now = Clock::now();
            const double used = ProcessorSeconds();
            if (!current.empty())
                costs.push_back(
                    {current, {std::chrono::duration<double>(now - start).count(), probe.Runs() - runs, used - processor}});
            current = phase;
            start = now;
            processor = used;
            runs = probe.Runs();
        });
    } catch (const RunFailure& failure) {
        quiet.SayError(failure.Message);
        costs.clear();
    }
    fs::current_path(caller);
    fs::remove_all(root);
    return costs;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string cores = std::to_string(DefaultJobs());
    for (const BenchCompiler& subject : BenchCompilers()) {
        bool wanted = argc == 1;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || subject.Name == argv[i];
        const std::string program = subject.Args[2].substr(0, subject.Args[2].find(' '));
        if (!wanted || std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) != 0)
            continue;
        std::map<std::string, std::vector<std::pair<std::string, PhaseCost>>> byJobs;
        for (const std::string& jobs : {std::string("1"), cores})
            byJobs[jobs] = Measure(subject, jobs);
        std::printf("\n%s: wall time (s) and compiler runs per phase\n", subject.Name.c_str());
        std::printf("%-28s %10s %8s %10s %10s %8s\n", "phase", "-j1 s", "runs", "-j1 cpu s", ("-j" + cores + " s").c_str(),
                    "runs");
        PhaseCost total1, totalN;
        const auto& one = byJobs["1"];
        const auto& many = byJobs[cores];
        for (std::size_t i = 0; i < one.size() && i < many.size(); ++i) {
            std::printf("%-28s %10.2f %8ld %10.2f %10.2f %8ld\n", one[i].first.c_str(), one[i].second.Seconds,
                        one[i].second.Runs, one[i].second.Processor, many[i].second.Seconds, many[i].second.Runs);
            total1.Seconds += one[i].second.Seconds;
            total1.Runs += one[i].second.Runs;
            total1.Processor += one[i].second.Processor;
            totalN.Seconds += many[i].second.Seconds;
            totalN.Runs += many[i].second.Runs;
        }
        std::printf("%-28s %10.2f %8ld %10.2f %10.2f %8ld   (ratio %.2f)\n", "total", total1.Seconds, total1.Runs,
                    total1.Processor, totalN.Seconds, totalN.Runs, total1.Seconds > 0 ? totalN.Seconds / total1.Seconds : 0.0);
    }
    return 0;
}
