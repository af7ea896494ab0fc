#include "engine/probe/ProcessRunner.h"

#include "engine/core/Files.h"
#include "engine/probe/Interrupt.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <dirent.h>
#include <vector>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Compiler output is read back whole; a runaway compiler must not exhaust memory.
constexpr std::size_t kMaxOutputBytes = 64u << 20;

class SpawnSetup {
public:
    SpawnSetup()
    {
        AttrMade = posix_spawnattr_init(&Attr) == 0;
        ActionsMade = posix_spawn_file_actions_init(&Actions) == 0;
    }
    ~SpawnSetup()
    {
        if (AttrMade)
            posix_spawnattr_destroy(&Attr);
        if (ActionsMade)
            posix_spawn_file_actions_destroy(&Actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // Records the first step that failed. A child started without its own process group,
    // its signal defaults or its redirections could outlive its time limit or write into
    // the engine's files, so it is not started at all then.
    void Step(int result, const char* what)
    {
        if (result != 0 && Failure.empty())
            Failure = std::string("cannot ") + what + ": " + std::strerror(result);
    }

    posix_spawnattr_t Attr;
    posix_spawn_file_actions_t Actions;
    bool AttrMade = false;
    bool ActionsMade = false;
    std::string Failure;
};

void KillGroup(pid_t pid)
{
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
}

void Reap(pid_t pid, int& status)
{
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

void ReadOutput(const std::string& path, std::string& into)
{
    std::string error;
    if (!ReadWholeFile(path, into, &error, kMaxOutputBytes) && error.find("larger") != std::string::npos) {
        // Keep the head of a huge output: it holds the first diagnostics.
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            into.resize(kMaxOutputBytes);
            const ssize_t got = read(fd, into.data(), into.size());
            into.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
            close(fd);
        }
    }
}

// Waits until the child ends, its time runs out, or a signal asks the run to end. Returns
// false on time-out; throws RunInterrupted on a signal (after killing the child).
bool WaitForChild(pid_t pid, unsigned timeoutSeconds, int& status)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    // A process descriptor becomes readable when the child ends, so one poll waits for the
    // child, the time limit and a signal to the engine at once.
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    for (;;) {
        if (Interrupt::Pending() != 0) {
            KillGroup(pid);
            Reap(pid, status);
            if (pidfd >= 0)
                close(pidfd);
            Interrupt::ThrowIfPending();
        }
        int waitMs = -1;
        if (timeoutSeconds != 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                KillGroup(pid);
                Reap(pid, status);
                if (pidfd >= 0)
                    close(pidfd);
                return false;
            }
            waitMs = static_cast<int>(std::min<long long>(left.count(), 1000 * 60));
        }
        if (pidfd < 0) {
            // Without process descriptors, look again at short intervals.
            const pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid)
                return true;
            waitMs = waitMs < 0 ? 5 : std::min(waitMs, 5);
            pollfd wake{Interrupt::WakeFd(), POLLIN, 0};
            poll(&wake, wake.fd >= 0 ? 1 : 0, waitMs);
            continue;
        }
        pollfd fds[2] = {{pidfd, POLLIN, 0}, {Interrupt::WakeFd(), POLLIN, 0}};
        const int ready = poll(fds, fds[1].fd >= 0 ? 2 : 1, waitMs);
        if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
            Reap(pid, status);
            close(pidfd);
            return true;
        }
    }
}

}  // namespace

ProcessOutcome RunProcess(const ProcessSpec& spec)
{
    Interrupt::ThrowIfPending();
    ProcessOutcome outcome;
    SpawnSetup setup;
    if (!setup.AttrMade || !setup.ActionsMade) {
        outcome.StartError = "cannot prepare the start of a process: " + std::string(std::strerror(ENOMEM));
        return outcome;
    }
    setup.Step(posix_spawnattr_setflags(&setup.Attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK),
               "set the start flags");
    setup.Step(posix_spawnattr_setpgroup(&setup.Attr, 0), "give the process a group of its own");
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGPIPE, SIGHUP, SIGQUIT, SIGCHLD})
        sigaddset(&defaults, signal);
    setup.Step(posix_spawnattr_setsigdefault(&setup.Attr, &defaults), "reset the signal actions");
    sigset_t none;
    sigemptyset(&none);
    setup.Step(posix_spawnattr_setsigmask(&setup.Attr, &none), "clear the signal mask");

    setup.Step(posix_spawn_file_actions_addchdir_np(&setup.Actions, spec.Directory.c_str()),
               ("enter the directory " + spec.Directory).c_str());
    setup.Step(posix_spawn_file_actions_addopen(&setup.Actions, 0, "/dev/null", O_RDONLY, 0), "read from /dev/null");
    setup.Step(posix_spawn_file_actions_addopen(&setup.Actions, 1, spec.StdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
               ("write the output to " + spec.StdoutPath).c_str());
    setup.Step(posix_spawn_file_actions_addopen(&setup.Actions, 2, spec.StderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
               ("write the errors to " + spec.StderrPath).c_str());
    // Nothing the engine holds open (the personality, list files, other probes' outputs)
    // may reach a compiler or a probe program.
    setup.Step(posix_spawn_file_actions_addclosefrom_np(&setup.Actions, 3), "close the engine's files in the process");
    if (!setup.Failure.empty()) {
        outcome.StartError = setup.Failure;
        return outcome;
    }

    std::vector<char*> argv;
    for (const std::string& arg : spec.Argv)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &setup.Actions, &setup.Attr, argv.data(), environ);
    if (failed != 0) {
        outcome.StartError = std::strerror(failed);
        return outcome;
    }
    outcome.Started = true;

    int status = 0;
    outcome.TimedOut = !WaitForChild(pid, spec.TimeoutSeconds, status);
    if (!outcome.TimedOut) {
        if (WIFEXITED(status)) {
            outcome.Exited = true;
            outcome.ExitStatus = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            outcome.Signal = WTERMSIG(status);
        }
    }
    ReadOutput(spec.StdoutPath, outcome.Stdout);
    ReadOutput(spec.StderrPath, outcome.Stderr);
    return outcome;
}

void AdoptProcessesLeftBehind()
{
    prctl(PR_SET_CHILD_SUBREAPER, 1);
}

void EndProcessesLeftBehind()
{
    const pid_t self = getpid();
    // Each round ends the engine's children; their own children become the engine's in turn.
    for (int round = 0; round < 64; ++round) {
        std::vector<pid_t> children;
        DIR* proc = opendir("/proc");
        if (proc == nullptr)
            return;
        while (dirent* entry = readdir(proc)) {
            const char* name = entry->d_name;
            if (name[0] < '0' || name[0] > '9')
                continue;
            std::string stat;
            if (!ReadWholeFile(std::string("/proc/") + name + "/stat", stat, nullptr, 4096))
                continue;
            // "PID (NAME) STATE PPID ...": the name may hold blanks and parentheses.
            const std::size_t close = stat.rfind(')');
            if (close == std::string::npos || close + 4 >= stat.size())
                continue;
            if (std::strtol(stat.c_str() + close + 4, nullptr, 10) == self)
                children.push_back(static_cast<pid_t>(std::strtol(name, nullptr, 10)));
        }
        closedir(proc);
        if (children.empty())
            return;
        for (const pid_t child : children)
            kill(child, SIGKILL);
        for (const pid_t child : children) {
            int status = 0;
            Reap(child, status);
        }
    }
}
