#include "tests/support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "common/DeploymentLayout.h"
#include "engine/probe/Interrupt.h"

namespace fs = std::filesystem;

namespace kxtest {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& content)
{
    const fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    out << content;
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string MakeTempDir(const std::string& tag)
{
    std::string pattern = (fs::temp_directory_path() / ("kestrix-" + tag + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void RemoveTree(const std::string& path)
{
    std::error_code ec;
    // Tests may leave unreadable files or directories behind; make them removable first.
    for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (!it->is_symlink())
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

Deployment::Deployment(bool withData)
    : RootDir(MakeTempDir("deploy")), WorkDir(RootDir + "/" + kxcommon::layout::WorkDir)
{
    fs::create_directories(WorkDir);
    for (const auto& entry : fs::directory_iterator(fs::path(KESTRIX_DATA_DIR))) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory())
            continue;
        if (name == kxcommon::layout::ListsDir) {
            for (const auto& list : fs::directory_iterator(entry.path())) {
                const std::string link = WorkDir + "/" + list.path().filename().string();
                withData ? fs::create_symlink(list.path(), link) : WriteFile(link, "");
            }
        } else if (withData) {
            fs::create_directory_symlink(entry.path(), RootDir + "/" + name);
        } else {
            fs::create_directories(RootDir + "/" + name);
        }
    }
}

Deployment::~Deployment()
{
    if (std::getenv("KESTRIX_KEEP_TEST_DIRS") == nullptr)
        RemoveTree(RootDir);
}

RunResult Deployment::Run(const std::vector<std::string>& args) const
{
    std::vector<std::string> argv{KESTRIX_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, WorkDir);
}

namespace {

// Through /bin/sh, which looks the program up on PATH and first notes its process number in out/pid.
ProcessSpec ThroughShell(const std::vector<std::string>& argv, const std::string& directory, const std::string& out)
{
    std::vector<std::string> shell{"/bin/sh", "-c", "echo $$ > \"$0\" && exec \"$@\"", out + "/pid"};
    shell.insert(shell.end(), argv.begin(), argv.end());
    return {shell, directory, out + "/stdout", out + "/stderr", 0};
}

RunResult ResultOf(const ProcessOutcome& o)
{
    return o.Started ? RunResult{o.Exited ? o.ExitStatus : 128 + o.Signal, o.Stdout, o.Stderr} : RunResult{127, "", o.StartError};
}

}  // namespace

Started::Started(const std::vector<std::string>& argv, const std::string& directory) : Out(MakeTempDir("started"))
{
    Runner = std::thread([this, spec = ThroughShell(argv, directory, Out)] {
        try {
            Outcome = RunProcess(spec);
        } catch (const RunInterrupted& interrupted) {
            Outcome.StartError = "interrupted by signal " + std::to_string(interrupted.Signal);
        }
    });
    for (int i = 0; i < 1000 && Pid <= 0; ++i) {
        const std::string pid = ReadFile(Out + "/pid");
        if (!pid.empty() && pid.back() == '\n')
            Pid = std::stoi(pid);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

Started::~Started()
{
    if (Runner.joinable()) {
        if (Pid > 0)
            kill(-Pid, SIGKILL);
        Runner.join();
    }
    RemoveTree(Out);
}

void Started::Signal(int signal, bool wholeGroup) const
{
    if (Pid > 0)
        kill(wholeGroup ? -Pid : Pid, signal);
}

RunResult Started::Wait()
{
    Runner.join();
    return ResultOf(Outcome);
}

RunResult RunProgram(const std::vector<std::string>& argv, const std::string& directory)
{
    const std::string out = MakeTempDir("run");
    const RunResult result = ResultOf(RunProcess(ThroughShell(argv, directory, out)));
    RemoveTree(out);
    return result;
}

RunResult RunShell(const std::string& command, const std::string& directory)
{
    return RunProgram({"/bin/sh", "-c", command}, directory);
}

bool HaveCommand(const std::string& name) { return RunShell("command -v '" + name + "' >/dev/null 2>&1").Status == 0; }

std::string Fake(const std::string& name) { return std::string(KESTRIX_FAKES_DIR) + "/" + name; }

std::vector<std::string> SearchList(const std::string& compiler, const std::string& language)
{
    const RunResult result = RunShell(compiler + " -x" + language + " -E -v /dev/null 2>&1 >/dev/null");
    std::vector<std::string> dirs;
    bool inList = false;
    for (const std::string& line : Lines(result.Stdout)) {
        if (line.rfind("End of search list.", 0) == 0)
            break;
        if (inList && !line.empty() && line[0] == ' ') {
            std::error_code ec;
            const fs::path canonical = fs::weakly_canonical(line.substr(1), ec);
            dirs.push_back(ec ? line.substr(1) : canonical.string());
        }
        inList = inList || line.rfind("#include <...> search starts here:", 0) == 0;
    }
    return dirs;
}

std::vector<std::string> GccLikeArgs(const std::string& product, const std::string& kind, const std::string& compiler,
                                     const std::string& objExt)
{
    return {product, kind, compiler, "-o ", "-c", "-D", objExt, "%c %d%j %o%e %s"};
}

}  // namespace kxtest
