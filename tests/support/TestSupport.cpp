#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

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
    std::string line;
    while (std::getline(in, line))
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
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink())
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path, ec);
}

Deployment::Deployment(bool withData)
{
    RootDir = MakeTempDir("deploy");
    WorkDir = RootDir + "/work";
    fs::create_directories(WorkDir);
    for (const auto& entry : fs::directory_iterator(fs::path(KESTRIX_DATA_DIR))) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory())
            continue;
        if (name == "lists") {
            for (const auto& list : fs::directory_iterator(entry.path()))
                if (withData)
                    fs::create_symlink(list.path(), WorkDir + "/" + list.path().filename().string());
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

void Deployment::Write(const std::string& relative, const std::string& content) const
{
    WriteFile(RootDir + "/" + relative, content);
}

RunResult Deployment::Run(const std::vector<std::string>& args) const
{
    std::vector<std::string> argv{KESTRIX_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, WorkDir);
}

RunResult RunProgram(const std::vector<std::string>& argv, const std::string& directory, int signal,
                     int signalAfterMs)
{
    int out[2], err[2], in[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0 || pipe2(in, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {out[0], out[1], err[0], err[1], in[0], in[1]})
            close(fd);
        if (chdir(directory.c_str()) != 0)
            _exit(126);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    close(in[0]);
    close(in[1]);
    const auto started = std::chrono::steady_clock::now();
    bool signalled = signal == 0;

    RunResult result;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        int waitMs = -1;
        if (!signalled) {
            const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
            waitMs = std::max<int>(0, signalAfterMs - static_cast<int>(ran.count()));
            if (waitMs == 0) {
                kill(pid, signal);
                signalled = true;
                waitMs = -1;
            }
        }
        const int ready = poll(fds, 2, waitMs);
        if (ready < 0)
            break;
        if (ready == 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
                continue;
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            } else {
                (i == 0 ? result.Stdout : result.Stderr).append(buffer, static_cast<std::size_t>(got));
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

RunResult RunShell(const std::string& command, const std::string& directory)
{
    return RunProgram({"/bin/sh", "-c", command}, directory);
}

bool HaveCommand(const std::string& name)
{
    return RunShell("command -v '" + name + "' >/dev/null 2>&1").Status == 0;
}

std::string Fake(const std::string& name)
{
    return std::string(KESTRIX_FAKES_DIR) + "/" + name;
}

std::vector<std::string> SearchList(const std::string& compiler, const std::string& language,
                                    const std::vector<std::string>& extraFlags)
{
    std::string command = compiler;
    for (const std::string& flag : extraFlags)
        command += " " + flag;
    command += " -x" + language + " -E -v /dev/null";
    const RunResult result = RunShell(command + " 2>&1 >/dev/null");
    std::vector<std::string> dirs;
    bool inList = false;
    for (const std::string& line : Lines(result.Stdout)) {
        if (line.rfind("#include <...> search starts here:", 0) == 0) {
            inList = true;
            continue;
        }
        if (line.rfind("End of search list.", 0) == 0)
            break;
        if (inList && !line.empty() && line[0] == ' ') {
            std::error_code ec;
            const fs::path canonical = fs::weakly_canonical(line.substr(1), ec);
            dirs.push_back(ec ? line.substr(1) : canonical.string());
        }
    }
    return dirs;
}

std::vector<std::string> GccLikeArgs(const std::string& product, const std::string& kind,
                                     const std::string& compiler, const std::string& objExt)
{
    return {product, kind, compiler, "-o ", "-c", "-D", objExt, "%c %d%j %o%e %s"};
}

}  // namespace kxtest
