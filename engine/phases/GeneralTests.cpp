#include "GeneralTests.h"

#include "Reporter.h"
#include "SuiteBatch.h"

namespace {

// Lengths tried by the identifier test, longest first: the first length at which two
// names differing only in their last character are told apart is the answer.
std::vector<int> IdentifierLengths()
{
    std::vector<int> lengths{1024, 512, 256, 128, 64, 32};
    for (int length = 31; length >= 3; --length)
        lengths.push_back(length);
    return lengths;
}

const int kDefaultIdentifierLength = 31;

}  // namespace

std::set<std::string> ConductZanTests(const RunContext& context, const std::vector<SuiteTest>& tests)
{
    Say("Conducting Tests...");
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
        source = "int main(void) {\nint " + first + ";\nint " + second + ";\n}\n";
    }
    return context.CompileFile(source, "idtest.c").MadeObject();
}

int ConductIdentTest(const RunContext& context, bool external)
{
    // Two names of a length that differ only in their last character compiled as two
    // declarations: the compiler tells at least this many initial characters apart. The
    // lengths are tried longest first, so the first success is the answer.
    for (int length : IdentifierLengths())
        if (RunIdentTest(context, external, length))
            return length;
    return kDefaultIdentifierLength;
}
