// The general test suite (sources that name in their header the personality line to
// record) and the significant length of identifiers.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/probe/RunContext.h"
#include "engine/phases/suites/TestSuite.h"

// Runs every test of the suite; the lines their outcomes name, sorted.
std::set<std::string> ConductZanTests(const RunContext& context, const std::vector<SuiteTest>& tests);

// How many initial characters of external (or local) identifiers the compiler tells apart;
// 31 when no length decides.
int ConductIdentTest(const RunContext& context, bool external);

// True when two names of the length that differ only in their last character compile as two
// declarations.
bool RunIdentTest(const RunContext& context, bool external, int length);
