// Macro discovery against a compiler with a table of predefined macros.
#include <gtest/gtest.h>

#include <map>

#include "FakeProbe.h"
#include "MacroDiscovery.h"
#include "Reporter.h"

namespace {

using namespace kxtest;

// Each macro's expansion as the compiler stringifies it; a function-like macro named
// without arguments stays its own name.
const std::map<std::string, std::string> kMacros{
    {"ONE", "1"}, {"EMPTY", ""}, {"SUM", "(1 + 2)"}, {"STR", "\"abc\""}, {"FUNC", "FUNC"},
    {"__LINE__", "3"}, {"ZZ_LAST", "0x7fff"},
};

// A compiler answering the three kinds of macro probes the way gcc-like compilers do.
CompileResult MacroCompiler(const CompileJob& job)
{
    const std::string& source = job.Source;
    for (const std::string& name : NamesAfter(source, "#ifdef "))
        if (kMacros.count(name) != 0)
            return Reject("deftest.c:2:10: fatal error: ak12345: No such file or directory\n");
    for (const std::string& name : NamesAfter(source, "#include M(yyy ")) {
        const auto macro = kMacros.find(name);
        return Reject("deftest.c:3:10: fatal error: yyy " + (macro == kMacros.end() ? name : macro->second) +
                      " zzz: No such file or directory\n");
    }
    for (const std::string& name : NamesAfter(source, "\"yyy\" M(")) {
        const auto macro = kMacros.find(name);
        return Accept(std::string("\x7f" "ELF") + '\0' + "yyy" + (macro == kMacros.end() ? name : macro->second) +
                      "zzz" + '\0');
    }
    return Accept();
}

std::string PrintedValue(const CompileJob& job)
{
    const std::string name = NamesAfter(job.Source, "printf(\"%s\", M(").at(0);
    return kMacros.count(name) != 0 ? kMacros.at(name) : name;
}

std::set<std::string> Candidates(std::size_t fillers)
{
    std::set<std::string> names;
    for (const auto& [name, value] : kMacros)
        names.insert(name);
    for (std::size_t i = 0; i < fillers; ++i)
        names.insert("name" + std::to_string(i));
    names.insert("while");
    names.insert("GIVEN");
    return names;
}

const std::set<std::string> kExpected{"ONE=1", "EMPTY=", "\"SUM=(1 + 2)\"", "STR=_VMT_STRINGIFY(abc)",
                                      "_VMT_STRINGIFY(x)=#x", "ZZ_LAST=0x7fff"};

}  // namespace

TEST(Macros, HalvingFindsEveryMacroAndItsValueWhateverTheJobs)
{
    std::string firstSaid;
    for (unsigned jobs : {1u, 3u}) {
        Options options = FakeOptions(true, jobs);
        options.ImplicitDefines = {"GIVEN=2"};
        FakeRun run(MacroCompiler, PrintedValue, false, options);
        CapturedLines captured;
        EXPECT_EQ(FindPreDefines(run.Context, Candidates(40000), {"while"}), kExpected);
        std::string said;
        for (const std::string& line : captured.Take())
            said += line + "\n";
        if (firstSaid.empty())
            firstSaid = said;
        EXPECT_EQ(said, firstSaid) << "the messages do not depend on the number of jobs";
        for (const CompileJob& job : run.Fake.Jobs()) {
            EXPECT_EQ(job.Source.find("#ifdef while\n"), std::string::npos) << "keywords are never tested";
            EXPECT_EQ(job.Source.find("GIVEN"), std::string::npos) << "-xd names are never tested";
        }
    }
    EXPECT_NE(firstSaid.find("  [macros] batches of 16384: 40007 names, 3 compiler runs"), std::string::npos) << firstSaid;
}

TEST(Macros, CrossCompilersAgreeWithNativeOnes)
{
    FakeRun cross(MacroCompiler, {}, true);
    EXPECT_EQ(FindPreDefines(cross.Context, Candidates(100), {"while"}), kExpected);

    Options reduced = FakeOptions();
    reduced.ReduceFileSize = true;
    FakeRun small(MacroCompiler, PrintedValue, false, reduced);
    FindPreDefines(small.Context, Candidates(5000), {});
    for (const CompileJob& job : small.Fake.Jobs())
        EXPECT_LE(NamesAfter(job.Source, "#ifdef ").size(), 1024u);
}

TEST(Macros, ValuesAreWrittenInTheAnalysersForm)
{
    const struct {
        const char* Name;
        const char* Value;
        std::set<std::string> Entries;
    } cases[] = {
        {"A", "  1  ", {"A=1"}},
        {"A", "A", {}},
        {"A", "(1 + 2)", {"\"A=(1 + 2)\""}},
        {"A", "\"x y\"", {"_VMT_STRINGIFY(x)=#x", "\"A=_VMT_STRINGIFY(x y)\""}},
        {"A", "L\"w\"", {"_VMT_STRINGIFY(x)=#x", "A=L_VMT_STRINGIFY(w)"}},
        {"A", "\"unbalanced", {"A="}},
        {"__func__", "garbage", {"__func__=__func__"}},
    };
    for (const auto& c : cases) {
        std::set<std::string> found;
        CapturedLines quiet;
        TidyAndAddDefine(c.Value, c.Name, found);
        EXPECT_EQ(found, c.Entries) << c.Value;
    }
}
