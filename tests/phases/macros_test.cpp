// Macro discovery against a model gcc-like compiler: "#ifdef", missing headers, M(NAME) stringified, objects, printf.
#include <gtest/gtest.h>

#include <filesystem>
#include <iomanip>
#include <map>
#include <sstream>

#include "tests/support/FakeProbe.h"
#include "engine/phases/macros/CandidateNames.h"
#include "engine/phases/macros/MacroDiscovery.h"
#include "engine/phases/macros/MacroEntry.h"
#include "engine/phases/macros/ProgramStrings.h"
#include "engine/core/Reporter.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxtest;

// Each macro's stringified expansion (a function-like one named bare stays its name). BROKEN fails outside "#if"
// (as __has_include), ZED ends in the closing marker's letter, STR and QUOTE are literals, TALLY counts as
// __COUNTER__ does. No candidate spells kOnlyCompleted: only the words of kProgramWords complete them.
const std::map<std::string, std::string> kMacros{
    {"ONE", "1"}, {"EMPTY", ""}, {"SUM", "(1 + 2)"}, {"STR", "\"abc\""}, {"FUNC", "FUNC"}, {"BROKEN", ""},
    {"ZED", "azzz"}, {"QUOTE", "\"a\\\"b\""}, {"TALLY", ""}, {"__LINE__", "3"}, {"ZZ_LAST", "0x7fff"}, {"__HQ_BITS__", "16"}, {"__DBL_MAX__", "4"},
    {"__DBL_MIN__", "5"}, {"__QQ_BITS__", "8"}, {"__DBL_BITS__", "64"}, {"__ZED__", "1"}, {"__LONG_MAX__", "9"},
    {"__SIGA_WIDTH__", "32"}, {"__SIGA_MAX__", "7"}, {"__DBL_FMTd__", "6"}, {"__k8", "1"}, {"__tune_k8__", "1"},
    {"__FLT16_MAX__", "3"}, {"__SIZE_INT__", "4"}, {"__SIZE_INT16__", "2"}, {"__arch_xlen", "64"}, {"__arch_d", "1"},
    {"__arch_zicsr", "1"}, {"__FAST_FMA", "1"}, {"__FAST_FMAQQ", "1"},
};
const std::set<std::string> kOnlyCompleted{"__QQ_BITS__", "__DBL_BITS__", "__ZED__", "__SIGA_MAX__",
                                           "__DBL_FMTd__", "__k8", "__tune_k8__", "__SIZE_INT16__",
                                           "__arch_d", "__arch_zicsr", "__FAST_FMAQQ"};
const ProgramWords kProgramWords{.Identifiers = {"__SIGA", "__tune_i386__"}, .ShortNames = {"QQ", "HQ"},
                                 .Templates = {"__%s_BITS__", "__SIZE_INT%d__", "__arch_%s", "__FAST_FMA%s"},
                                 .Beside = {{"_FMT", {"_MAX__"}}, {"k8", {"__LONG_MAX__"}}, {"__tune_", {}},
                                            {"zicsr", {"__arch_test"}}},
                                 .Letters = {'d', 'i'}};

const std::set<std::string> kExpected{
    "ONE=1", "EMPTY=", "\"SUM=(1 + 2)\"", "STR=_VMT_STRINGIFY(abc)", "_VMT_STRINGIFY(x)=#x", "ZED=azzz",
    "QUOTE=_VMT_STRINGIFY(a\"b)", "TALLY=0",
    "ZZ_LAST=0x7fff", "__HQ_BITS__=16", "__DBL_MAX__=4", "__DBL_MIN__=5", "__QQ_BITS__=8", "__DBL_BITS__=64",
    "__ZED__=1", "__LONG_MAX__=9", "__SIGA_WIDTH__=32", "__SIGA_MAX__=7", "__DBL_FMTd__=6", "__k8=1", "__tune_k8__=1",
    "__FLT16_MAX__=3", "__SIZE_INT__=4", "__SIZE_INT16__=2", "__arch_xlen=64", "__arch_d=1", "__arch_zicsr=1",
    "__FAST_FMA=1", "__FAST_FMAQQ=1"};

struct Model {
    bool BinaryObjects = true;
    bool QuotesHeaderNames = true;  // shows a missing header's name as written
    bool NamesMissingHeader = true; // names the header it cannot open at all
    bool KeepsStrings = true;       // its objects hold a string's bytes as they are
};

CompileResult Compile(const Model& model, const CompileJob& job, std::string* printed = nullptr)
{
    std::string unused, &out = printed != nullptr ? *printed : unused;
    const std::vector<std::string> lines = Lines(job.Source);
    std::string object = std::string("\x7f" "ELF") + '\0';
    bool active = true;
    std::size_t expanded = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("#ifdef ", 0) == 0 || line == "#endif") {
            active = line == "#endif" || kMacros.count(line.substr(7)) != 0;
            continue;
        }
        if (!active)
            continue;
        if (line == "#include \"ak12345\"")
            return Reject(job.FileName + ":" + std::to_string(i + 1) +
                          (model.NamesMissingHeader ? ":10: fatal error: ak12345: No such file\n"
                                                    : ": error: Cannot open include file\n"));
        std::size_t m = line.find("M(");
        if (m == std::string::npos || line.rfind("#define ", 0) == 0) {
            // The name of an object the source defines, in the object's symbols.
            if (line.rfind("int ", 0) == 0 && line.find(" = ") != std::string::npos)
                object += line.substr(4, line.find(" = ") - 4) + '\0';
            if (!model.KeepsStrings)
                continue;
            // A piece of the listing string.
            if (line.size() > 2 && line.front() == '"')
                object += line.substr(1, line.rfind('"') - 1);
            else if (line.find("= \"@kxd:\"") != std::string::npos)
                object += "@kxd:";
            continue;
        }
        std::string name = line.substr(m + 2, line.find(')', m + 2) - m - 2);  // the argument of M(...)
        const bool include = line.rfind("#include M(yyy ", 0) == 0;
        if (include)
            name = name.substr(4, name.size() - 8);
        if (name == "BROKEN")
            return Reject(job.FileName + ":" + std::to_string(i + 1) + ":10: error: 'BROKEN' used outside of #if\n");
        // The stringified expansion; unknown names expand to themselves.
        const auto macro = kMacros.find(name);
        const std::string value =
            name == "TALLY" ? std::to_string(expanded) : macro == kMacros.end() ? name : macro->second;
        ++expanded;
        // Like gcc, the header's name loses the blank after "yyy".
        if (include) {
            std::ostringstream quoted;  // escaped as inside a string literal
            quoted << std::quoted(value);
            const std::string shown =
                model.QuotesHeaderNames ? quoted.str().substr(1, quoted.str().size() - 2) : "<" + value + ">";
            return Reject(job.FileName + ":" + std::to_string(i + 1) + ":10: fatal error: yyy" + shown +
                          " zzz: No such file\n    " + std::to_string(i + 1) + " | " + line + "\n");
        }
        // The literals around M(...), as the compiler concatenates them.
        if (line.find("printf(\"%s\", M(") != std::string::npos) {
            out += value;
        } else if (line.rfind("kx_put(", 0) == 0) {
            out += "@kxv" + line.substr(7, line.find(',') - 7) + ":" + std::to_string(value.size()) + ":" + value;
        } else if (line.find('"') < m) {
            const std::size_t open = line.find('"'), close = line.rfind('"'), last = line.rfind('"', close - 1);
            object += line.substr(open + 1, line.find('"', open + 1) - open - 1) + value +
                      line.substr(last + 1, close - last - 1) + '\0';
        }
    }
    return model.BinaryObjects ? Accept(object) : Accept("; text " + object.substr(5));
}

struct MacroRun {
    MacroRun(Model model, bool exact, bool cross, unsigned jobs = 1, bool reduce = false)
        : Fake([this](const CompileJob& job) { return Compile(Kind, job); },
               [this](const CompileJob& job) {
                   std::string printed;
                   Compile(Kind, job, &printed);
                   return printed;
               }),
          Kind(model), Opts(FakeOptions(true, jobs))
    {
        Opts.Exact = exact;
        Opts.ReduceFileSize = reduce;
        Opts.ImplicitDefines = {"GIVEN=2"};
        Context.emplace(Opts, Fake, TargetFacts{".o", model.BinaryObjects, cross}, Reported);
    }
    // The macros found among the model's, a keyword, a -xd name and so many fillers.
    std::set<std::string> Find(std::size_t fillers)
    {
        std::set<std::string> names{"while", "GIVEN"};
        for (const auto& [name, value] : kMacros)
            if (kOnlyCompleted.count(name) == 0)
                names.insert(name);
        for (std::size_t i = 0; i < fillers; ++i)
            names.insert("name" + std::to_string(i));
        std::set<std::string> found = FindPreDefines(*Context, names, {"while"}, kProgramWords);
        for (const std::string& line : Reported.Take())
            Said += line + "\n";
        return found;
    }
    FakeProbe Fake;
    Model Kind;
    Options Opts;
    MemoryReporter Reported;
    std::optional<RunContext> Context;
    std::string Said;
};

}  // namespace

TEST(Macros, FastAndPlainMethodsFindTheSameMacrosAndValues)
{
    const struct {
        const char* What;
        Model Kind;
        bool Cross;
        long FastRuns;
    } cases[] = {
        // Discovery in 11 compiles (every name, then the names completed); two programs, BROKEN's and TALLY's own.
        {"native", {}, false, 11 + 2 + 2},
        // Objects for programs, and TALLY's: header names are never read where an object tells the value.
        {"cross", {}, true, 11 + 2 + 2 + 1},
        {"cross, header names shown otherwise", {true, false}, true, 11 + 2 + 2 + 1},
        // Names read from the symbols of objects kept for them, not halved; text objects' values cost compiles.
        {"cross, text objects", {false, true}, true, 41},
        {"cross, strings not kept as they are", {true, true, true, false}, true, 11 + 2 + 2 + 1 + 3},
        // Each rejection that does not name the header confirmed by the same conditionals without the #include.
        {"cross, missing header not named", {true, true, false}, true, 19},
    };
    for (const auto& c : cases) {
        MacroRun plain(c.Kind, true, c.Cross);
        MacroRun fast(c.Kind, false, c.Cross);
        const std::set<std::string> expected = plain.Find(40000);
        EXPECT_EQ(fast.Find(40000), expected) << c.What;
        if (c.Kind.QuotesHeaderNames) {
            EXPECT_EQ(expected, kExpected) << c.What;
        }
        EXPECT_LE(fast.Fake.Runs(), c.FastRuns) << c.What << ", plain: " << plain.Fake.Runs();
        for (const CompileJob& job : fast.Fake.Jobs()) {
            EXPECT_EQ(job.Source.find("#ifdef while\n"), std::string::npos) << "keywords are never tested";
            EXPECT_EQ(job.Source.find("GIVEN"), std::string::npos) << "-xd names are never tested";
        }
    }
}

TEST(Macros, MessagesDoNotDependOnTheJobsAndReducedSourcesStayReduced)
{
    for (bool exact : {true, false}) {
        MacroRun one(Model{}, exact, false, 1), three(Model{}, exact, false, 3);
        one.Find(40000);
        three.Find(40000);
        EXPECT_EQ(one.Said, three.Said);
        EXPECT_NE(one.Said.find("  [macros] batches of 32768: 40032 names, 2 "), std::string::npos) << one.Said;
        EXPECT_NE(one.Said.find("deftest.c failed to compile! can't find value of: BROKEN"), std::string::npos) << one.Said;
        MacroRun small(Model{}, exact, true, 1, true);
        small.Find(5000);
        for (const CompileJob& job : small.Fake.Jobs())
            EXPECT_LE(NamesAfter(job.Source, "#ifdef ").size(), 1024u);
    }
}

TEST(Macros, ValuesAreWrittenInTheAnalysersForm)
{
    // Values that are their own name (FUNC) or hold blanks (SUM) are held to kExpected by FastAndPlainMethods...
    const struct {
        const char* Name;
        const char* Value;
        std::set<std::string> Entries;
    } cases[] = {
        {"A", "  1  ", {"A=1"}},
        {"A", "\"x y\"", {"_VMT_STRINGIFY(x)=#x", "\"A=_VMT_STRINGIFY(x y)\""}},
        {"A", "L\"w\"", {"_VMT_STRINGIFY(x)=#x", "A=L_VMT_STRINGIFY(w)"}},
        {"A", "\"unbalanced", {"A="}},
        // The bytes of a program or object, and the same value as a header's name.
        {"A", "\"a\\\"b\\\\\"", {"_VMT_STRINGIFY(x)=#x", "A=_VMT_STRINGIFY(a\"b\\)"}},
        {"A", "\\\"a\\\\\\\"b\\\\\\\\\\\"", {"_VMT_STRINGIFY(x)=#x", "A=_VMT_STRINGIFY(a\"b\\)"}},
        {"__func__", "garbage", {"__func__=__func__"}},
    };
    for (const auto& c : cases) {
        std::set<std::string> found;
        TidyAndAddDefine(c.Value, c.Name, found);
        EXPECT_EQ(found, c.Entries) << c.Value;
    }
}

TEST(Macros, TheCompilersProgramsAndWhatTheySpell)
{
    // An installation: a driver naming its pass "cc-pass", private headers beside its compiler proper and device files.
    const std::string root = MakeTempDir("programs");
    const std::string driver = std::string("\x7f" "ELF") + '\0' + "runs cc-pass" + '\0';
    std::string pass = std::string("\x7f" "ELF") + '\0';
    for (const char* text : {"-D__PASS_ONLY=%d", "__%s_FBIT__", "UQQ", "4T", "xyQQ", "pkg__entity__name", "_Z3fooi",
                             "_FMT", "_MAX__", "k8", "di", "__tune_", "1", "2", "3", "4", "5", "6", "7", "8", "__far_name"})
        pass += std::string(text) + '\0';
    WriteFile(root + "/bin/cc", driver);
    WriteFile(root + "/bin/cc-pass", pass);
    WriteFile(root + "/bin/cc-other", pass);
    WriteFile(root + "/lib/cc/1/include/stdio.h", "int printf(const char *, ...);\n");
    WriteFile(root + "/lib/cc/1/cc1", driver);
    WriteFile(root + "/lib/cc/1/readme", "__NOT_A_PROGRAM\n");
    WriteFile(root + "/lib/cc/1/device-specs/specs-dev", "*cpp: -D__DEV_NAME__=dev\n");
    for (const char* program : {"/bin/cc", "/bin/cc-pass", "/bin/cc-other", "/lib/cc/1/cc1"})
        std::filesystem::permissions(root + program, std::filesystem::perms::owner_all);

    Options options = FakeOptions();
    options.CompilerCommand = root + "/bin/cc -O1";
    options.SearchDirs = {root + "/lib/cc/1/include"};
    const std::vector<std::string> programs = CompilerPrograms(options);
    EXPECT_EQ(programs, (std::vector<std::string>{root + "/bin/cc", root + "/bin/cc-pass",
                                                  root + "/lib/cc/1/device-specs/specs-dev", root + "/lib/cc/1/cc1"}));

    const ProgramWords words = ReadProgramWords(programs);
    for (const char* name : {"__PASS_ONLY", "D__PASS_ONLY", "__DEV_NAME__", "pkg__entity__name", "_Z3fooi"})
        EXPECT_EQ(words.Identifiers.count(name), 1u) << name;
    EXPECT_EQ(words.Identifiers.count("__entity__name"), 0u) << "a package's symbol is no option and its name";
    EXPECT_EQ(words.Templates, std::set<std::string>{"__%s_FBIT__"});
    // Whole strings and their tails, never the end of a longer run ("ELF" after 0x7f).
    EXPECT_EQ(words.ShortNames, (std::set<std::string>{"UQQ", "QQ", "Q", "4T", "T"}));
    // The pieces with the reserved names eight strings around them at most; a head even alone.
    using Names = std::set<std::string>;
    EXPECT_EQ(words.Beside, (std::map<std::string, Names>{{"_FMT", Names{"_Z3fooi", "_MAX__", "__tune_"}},
                                                          {"k8", Names{"_Z3fooi", "_FMT", "_MAX__", "__tune_"}},
                                                          {"di", Names{"_Z3fooi", "_FMT", "_MAX__", "__tune_"}},
                                                          {"__tune_", Names{"_Z3fooi", "_FMT", "_MAX__"}}}));
    EXPECT_EQ(words.Letters, (std::set<char>{'Q', 'U', 'd', 'i', 'x', 'y'}));
    for (const auto& [name, candidate] : {std::pair{"_Z3fooi", false}, {"pkg__entity__name", false}, {"__PASS_ONLY", true}})
        EXPECT_EQ(IsProgramCandidate(name), candidate) << name;
    RemoveTree(root);
}
