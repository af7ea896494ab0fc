// SIGINT, SIGTERM and SIGHUP end a run promptly and soundly: the handler only records the signal
// and wakes every thread that waits for a compiler; those threads kill their compiles and
// the run unwinds with RunInterrupted, leaving the previous personality as it was.
#pragma once

struct RunInterrupted {
    int Signal;
};

namespace Interrupt {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP (once per process).
void Install();
// "SIGINT", "SIGTERM" or "SIGHUP", for messages.
const char* SignalName(int signal);
// The signal that asked the run to end, or 0.
int Pending();
// A descriptor that becomes readable once a signal has arrived (for poll).
int WakeFd();
// Records a signal as if it had arrived: for a probe that the signal ended while the engine
// itself did not see it, so that every other running probe stops as well.
void Request(int signal);
// Throws RunInterrupted when a signal has arrived.
void ThrowIfPending();
// For tests: forgets a recorded signal.
void Reset();

}  // namespace Interrupt
