#include "engine/probe/Interrupt.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

std::atomic<int> gSignal{0};
int gPipe[2] = {-1, -1};
std::once_flag gPipeOnce;

void MakePipe()
{
    if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        gPipe[0] = gPipe[1] = -1;
}

extern "C" void OnSignal(int signal)
{
    int expected = 0;
    gSignal.compare_exchange_strong(expected, signal);
    if (gPipe[1] >= 0) {
        const char byte = 1;
        // The byte is never read: the pipe stays readable for every waiting thread.
        [[maybe_unused]] const ssize_t put = write(gPipe[1], &byte, 1);
    }
}

}  // namespace

namespace Interrupt {

void Install()
{
    std::call_once(gPipeOnce, MakePipe);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed terminal or SSH session: the run ends as for SIGTERM, with its compiles.
    sigaction(SIGHUP, &action, nullptr);
}

const char* SignalName(int signal)
{
    return signal == SIGINT ? "SIGINT" : signal == SIGHUP ? "SIGHUP" : "SIGTERM";
}

void Request(int signal)
{
    std::call_once(gPipeOnce, MakePipe);
    OnSignal(signal);
}

int Pending()
{
    return gSignal.load();
}

int WakeFd()
{
    std::call_once(gPipeOnce, MakePipe);
    return gPipe[0];
}

void ThrowIfPending()
{
    if (const int signal = gSignal.load(); signal != 0)
        throw RunInterrupted{signal};
}

void Reset()
{
    gSignal = 0;
    std::call_once(gPipeOnce, MakePipe);
    char drain[64];
    while (gPipe[0] >= 0 && read(gPipe[0], drain, sizeof drain) > 0) {
    }
}

}  // namespace Interrupt
