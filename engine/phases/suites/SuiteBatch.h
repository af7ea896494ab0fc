// Many runs of suite tests (one test for many keywords, or many general tests) judged from
// a few compiles: the tests are compiled together, each copy with its own names, and the
// compiler's messages tell which copies it rejects (see JudgeTogether). Programs, and the
// copies that the messages cannot tell about, are run one by one with ConductTest.
//
// A copy keeps its line numbers (a #line directive starts it), has XXX defined to its
// keyword, and has every identifier that starts with "kx_" renamed, so that the copies
// never clash: test sources declare only such names. Between two copies stands a function
// definition, which only compiles where a copy has left the compiler at file level.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/probe/RunContext.h"
#include "engine/phases/suites/TestSuite.h"

struct SuiteRun {
    const SuiteTest* Test = nullptr;
    std::string Keyword;  // what XXX stands for; empty in the general suite
};

struct SuiteOutcome {
    bool Passed = false;
    std::string Result;  // as ConductTest gives it
};

// The outcome of every run, as ConductTest would give it. resync: the copies that the joint
// compile leaves open are judged together once more as DecideTogether does, before each is
// compiled on its own (for a compiler whose messages DecideTogether could read).
// jointTells, shared by the calls of one phase: cleared once the joint compiles of a call
// told nothing (a compiler that stops at the first error of a source names one copy per
// compile), after which the calls compile each run on its own.
std::vector<SuiteOutcome> ConductTests(const RunContext& context, const std::vector<SuiteRun>& runs,
                                       bool resync = false, bool* jointTells = nullptr);

// The outcomes that compiles of many copies at once tell, with no compile of a run's own
// (never with -exact): any mix of tests, even ones whose rejected copies leave
// the compiler reading the next lines wrongly. Nothing for a run they cannot tell.
std::vector<std::optional<SuiteOutcome>> DecideTogether(const RunContext& context, const std::vector<SuiteRun>& runs);

// The test source with every identifier that starts with "kx_" given the copy's own prefix.
std::string RenameTestNames(const std::string& source, std::size_t copy);
