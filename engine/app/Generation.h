// The generation sequence: turns the options into a personality file by running the
// discovery phases in their fixed order.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "engine/core/Options.h"
#include "engine/core/Reporter.h"
#include "engine/output/PersonalityWriter.h"
#include "engine/phases/keywords/KeywordTests.h"
#include "engine/probe/Probe.h"

// Exit statuses of a run.
constexpr int kStatusDone = 0;
constexpr int kStatusFailed = 1;
constexpr int kStatusMissingData = 3;  // completed, but inputs were left out (each named in a message)

// The phases return what they found; only the generation turns it into lines, in this
// order: substitute header directories, include directories, macros (the -xd ones first),
// base type sizes and alignments with plain char's signedness, the standard typedefs,
// identifier lengths, the general suite's results, the keyword classification (sorted by
// line), the keyword types, the force-include file; then the template's changes.
//
// Runs the phases and writes the personality (and its companions) when the run completes;
// until then the previous personality stays as it was. The list files are read from
// workDir and the suites from the folder above it. Returns the exit status of a run that
// completes; one that cannot throws RunFailure (or ends as KestrixExit, RunInterrupted), having
// left the previous personality in place. onPhase, when given, is told the name of each phase
// as it starts ("end" after the last), for measuring where a run spends its time.
int GenPersonality(const Options& options, Probe& probe, Reporter& report, const std::string& workDir = ".",
                   const std::function<void(const char* phase)>& onPhase = {});

// The keyword classification's lines, sorted by their text as the personality holds them.
std::set<std::string> KeywordLines(const PersonalityWriter& writer, const std::set<KeywordTreatment>& treatments);
