#include "engine/phases/suites/GeneralTests.h"

#include "engine/core/Reporter.h"
#include "engine/phases/suites/SuiteBatch.h"

#include <algorithm>

namespace {

// The longest identifier length tried, and the shortest.
const int kLongestIdentifier = 1024;
const int kShortestIdentifier = 3;
const int kDefaultIdentifierLength = 31;

}  // namespace

std::set<std::string> ConductZanTests(const RunContext& context, const std::vector<SuiteTest>& tests)
{
    context.Report.Say("Conducting Tests...");
    std::vector<SuiteRun> runs;
    for (const SuiteTest& test : tests)
        runs.push_back({&test, {}});
    std::set<std::string> lines;
    for (const SuiteOutcome& outcome : ConductTests(context, runs))
        if (!outcome.Result.empty())
            lines.insert(outcome.Result);
    return lines;
}

bool RunIdentTest(const RunContext& context, bool external, int length)
{
    const std::string first(static_cast<std::size_t>(length), 'a');
    const std::string second = std::string(static_cast<std::size_t>(length - 1), 'a') + "b";
    std::string source;
    if (external) {
        // Declaring one external name twice is legal C, so a compiler that cuts the two
        // names to the same one would accept the source anyway; different types make the
        // collision an error.
        source = "\nextern int " + first + ";\nextern char " + second + ";\n\n";
    } else {
        // Both locals used: an unused one draws a warning, which -Werror makes an error of
        // every length. Used under sizeof only, they make no code: a compiler for a small
        // target (sdcc) fails to generate code for the longer names it still tells apart.
        source = "int main(void) {\nint " + first + ";\nint " + second + ";\n(void)sizeof " + first +
                 ";\n(void)sizeof " + second + ";\n}\n";
    }
    return context.CompileFile(source, "idtest.c").MadeObject();
}

int ConductIdentTest(const RunContext& context, bool external)
{
    // Two names of a length that differ only in their last character compiled as two
    // declarations: the compiler tells at least this many initial characters apart, and
    // every shorter length passes too. Halving from the longest length finds a passing one;
    // bisection between it and the last failing one finds the exact count.
    int passing = 0;
    int failing = kLongestIdentifier + 1;
    for (int length = kLongestIdentifier;; length = std::max(length / 2, kShortestIdentifier)) {
        if (RunIdentTest(context, external, length)) {
            passing = length;
            break;
        }
        failing = length;
        if (length == kShortestIdentifier) {
            // Names that differ in their first character tell whether the compiler takes
            // such a source at all.
            context.RequireAccepted(external ? "extern int a;\nextern char b;\n"
                                             : "int main(void) {\nint a;\nint b;\n(void)sizeof a;\n(void)sizeof b;\n}\n",
                                    "idtest.c", "the lengths of significant identifiers");
            return kDefaultIdentifierLength;
        }
    }
    while (failing - passing > 1) {
        const int middle = passing + (failing - passing) / 2;
        (RunIdentTest(context, external, middle) ? passing : failing) = middle;
    }
    return passing;
}
