// Kestrix beside a peer that probes compilers for the same kind of facts (ccconfig, from
// Debian's libconvert-binary-c-perl), as a yardstick: the wall time of a whole Kestrix run
// (the built program, default jobs, in a scratch deployment) and of "ccconfig --cc COMPILER
// --nostatus", one after the other on the same machine, for gcc with its four include
// directories and avr-gcc with its catalogue entry.
//
//   bench_vs_peer [gcc|avr-gcc]...
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/BenchSetup.h"

namespace fs = std::filesystem;

namespace {

// ccconfig's command line for each of the benchmark's compilers.
std::vector<std::string> PeerArgs(const std::string& compiler)
{
    if (compiler == "avr-gcc")
        return {"--cc", "avr-gcc", "--nostatus", "--", "-mmcu=atmega2560"};
    return {"--cc", compiler, "--nostatus"};
}

std::string Quoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the command in the directory with its output discarded; the wall time in seconds, or
// a negative number when it failed.
double TimeCommand(const std::string& directory, const std::string& program, const std::vector<std::string>& args)
{
    std::string command = "cd " + Quoted(directory) + " && " + Quoted(program);
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    command += " >/dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) {
        std::fprintf(stderr, "The command %s failed (status %d).\n", command.c_str(), status);
        return -1;
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool havePeer = std::system("command -v ccconfig >/dev/null 2>&1") == 0;
    if (!havePeer)
        std::printf("ccconfig is not installed (Debian package libconvert-binary-c-perl): Kestrix alone.\n");
    std::printf("%-10s %12s %12s %8s\n", "compiler", "Kestrix s", "ccconfig s", "ratio");
    const std::string root = (fs::temp_directory_path() / ("kestrix-vs-peer-" + std::to_string(getpid()))).string();
    for (const BenchCompiler& subject : BenchCompilers()) {
        bool wanted = argc == 1 && (subject.Name == "gcc" || subject.Name == "avr-gcc");
        for (int i = 1; i < argc; ++i)
            wanted = wanted || subject.Name == argv[i];
        if (!wanted || std::system(("command -v " + subject.Name + " >/dev/null 2>&1").c_str()) != 0)
            continue;

        const std::string work = MakeBenchDeployment(root);
        std::vector<std::string> args = subject.Args;
        args.insert(args.end(), {"-op", root + "/out.p_c"});
        const double kestrix = TimeCommand(work, KESTRIX_BINARY, args);
        double peer = -1;
        if (havePeer) {
            fs::create_directories(root + "/peer");
            peer = TimeCommand(root + "/peer", "ccconfig", PeerArgs(subject.Name));
        }
        fs::remove_all(root);
        if (peer > 0 && kestrix > 0)
            std::printf("%-10s %12.2f %12.2f %8.2f\n", subject.Name.c_str(), kestrix, peer, kestrix / peer);
        else
            std::printf("%-10s %12.2f %12s %8s\n", subject.Name.c_str(), kestrix, "-", "-");
    }
    std::printf("ratio: Kestrix's wall time divided by ccconfig's.\n");
    return 0;
}
