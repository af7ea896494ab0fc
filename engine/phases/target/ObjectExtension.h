// The two probes that start every run: which object file the compiler writes, and whether
// the programs it builds run on this host.
#pragma once

#include "engine/core/Options.h"
#include "engine/probe/Probe.h"
#include "engine/probe/RunContext.h"

// Compiles a one-line source and finds the object the compiler wrote. When none appears (of
// the expected extension, when one was given), two lines explain and the run ends with
// status 1 (KestrixExit).
TargetFacts GetObjectFileExtension(Probe& probe, const Options& options, Reporter& report);

// Builds and runs a program that prints a greeting. True when it ran here; otherwise the
// reason is said and the run goes on in cross-compiler mode.
bool CheckExeFileRunWorks(Probe& probe, const Options& options, Reporter& report);
