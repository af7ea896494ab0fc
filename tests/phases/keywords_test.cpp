// Extension keyword discovery and classification against compilers with a table of the
// words they reserve and how each can be used.
#include <gtest/gtest.h>

#include <map>

#include "ExtensionKeywords.h"
#include "FakeProbe.h"
#include "TestSupport.h"
#include "KeywordTests.h"
#include "Reporter.h"

namespace {

using namespace kxtest;

const std::set<std::string> kReserved{"__flash", "__sfr", "__attribute__", "__inline__", "__weird", "__null",
                                      "__builtin_va_list", "__published"};
const std::set<std::string> kPredeclared{"printf"};  // an ordinary name the compiler declares itself
const std::set<std::string> kPredefined{"__GNUC__"}; // a macro: "#ifndef" skips it

CompileResult KeywordCompiler(const CompileJob& job)
{
    bool redefinition = false;
    for (const std::string& name : NamesAfter(job.Source, "#ifndef ")) {
        if (kPredefined.count(name) != 0)
            continue;
        if (kReserved.count(name) != 0)
            return Reject("exttest.c:2:5: error: expected identifier before '" + name + "'\n");
        redefinition = redefinition || kPredeclared.count(name) != 0;
    }
    return redefinition ? Reject("exttest.c:2:5: error: redefinition of 'printf'\n") : Accept();
}

// The keyword suite, and which keyword each of its sources accepts in place of XXX.
const std::vector<std::pair<SuiteTest, std::set<std::string>>> kSuite{
    {{"", "kw02_type.c", "XXX x;\n", "", "type", false}, {"__flash"}},
    {{"", "kw04_qualifier.c", "int XXX x;\n", "", "", false}, {"__inline__"}},
    {{"", "kw06_paren.c", "int XXX((a)) x;\n", "", "_ignore_paren", false}, {"__attribute__"}},
    {{"", "kw15_decl.c", "XXX = 1;\n", "", "decl", false}, {"__sfr"}},
};

CompileResult SuiteCompiler(const CompileJob& job)
{
    for (const auto& [test, accepts] : kSuite)
        if (job.FileName == test.FileName)
            for (const std::string& keyword : accepts)
                if (job.ExtraDefine == "XXX=" + keyword + " ")
                    return Accept();
    // C++ access specifiers: only "__published" behaves as "public".
    if (job.Source.find("class X {__published:") == 0 && job.Source.find("class Y") == std::string::npos)
        return Accept();
    return Reject();
}

std::vector<SuiteTest> Suite()
{
    std::vector<SuiteTest> tests;
    for (const auto& [test, accepts] : kSuite)
        tests.push_back(test);
    return tests;
}

KeywordLists Lists()
{
    KeywordLists lists;
    lists.LanguageKeywords = {"inline", "int"};
    lists.ReplaceKeywords = {{"__null", "((void*)0)"}};
    lists.BuiltinReplaceKeywords = {{"__builtin_va_list", "__builtin_va_list=char*"}};
    lists.ZanExtensionKeywords = {{"flash", "flash_spec"}};
    return lists;
}

}  // namespace

TEST(ExtensionKeywords, TheWordsTheCompilerReservesWhateverTheJobs)
{
    std::set<std::string> identifiers = kReserved;
    identifiers.insert({"printf", "__GNUC__", "int"});
    for (int i = 0; i < 3000; ++i)
        identifiers.insert("plain" + std::to_string(i));
    for (unsigned jobs : {1u, 3u}) {
        Options options = FakeOptions(true, jobs);
        options.ReduceFileSize = true;
        FakeRun run(KeywordCompiler, {}, false, options);
        CapturedLines quiet;
        EXPECT_EQ(FindExtensionKeywords(run.Context, identifiers, {"int"}), kReserved);
    }

    // A force-include file that handles a keyword takes it out.
    const std::string dir = MakeTempDir("fi");
    WriteFile(dir + "/fi.h", "#if 0\nAny other items\nint __sfr; /* __flashy */\n#else\n__weird\n#endif\n");
    std::set<std::string> keywords = kReserved;
    RemoveAlreadyHandledKWsInFInc(dir + "/fi.h", keywords);
    EXPECT_EQ(keywords.count("__sfr"), 0u);
    EXPECT_EQ(keywords.count("__flash"), 1u) << "a longer word handles nothing";
    EXPECT_EQ(keywords.count("__weird"), 1u) << "only the section counts";
    RemoveTree(dir);
}

TEST(KeywordClassification, EachKeywordByTheFirstTestThatTakesIt)
{
    for (unsigned jobs : {1u, 3u}) {
        FakeRun run(SuiteCompiler, {}, false, FakeOptions(true, jobs));
        PersonalityWriter writer(true);
        CapturedLines quiet;
        const KeywordFindings found = ConductKWTests(run.Context, writer, kReserved, Lists(), Suite());
        EXPECT_EQ(found.Lines, (std::set<std::string>{
                                   "-d \"__attribute__=_ignore_paren\"", "-d \"__inline__=inline\"",
                                   "-d __builtin_va_list=char*", "-d __null=((void*)0)", "-d __weird=",
                                   "-d __published="}));
        EXPECT_EQ(found.TypeKeywords, (std::set<std::string>{"__flash"}));
        EXPECT_EQ(found.ForceIncludeEntries, (std::set<std::string>{"__sfr"}));
        EXPECT_TRUE(found.NeedForceInclude);
        EXPECT_EQ(found.KeywordDefineEntries, (std::vector<std::string>{"-d __published=", "-d __weird="}));
        for (const CompileJob& job : run.Fake.Jobs())
            EXPECT_EQ(job.ExtraDefine.find("__builtin"), std::string::npos) << "built-ins are never tested";
    }
}

TEST(KeywordClassification, CppAccessSpecifiersAndAnalyserExtensions)
{
    FakeRun run(SuiteCompiler, {}, false, FakeOptions(false));
    PersonalityWriter writer(false);
    CapturedLines quiet;
    std::set<std::string> keywords = kReserved;
    KeywordLists lists = Lists();
    lists.IgnoreReservedWords = {"__weird"};
    const KeywordFindings found = ConductKWTests(run.Context, writer, keywords, lists, Suite());
    EXPECT_EQ(found.Lines.count("-sd \"__published=public\""), 1u);
    EXPECT_EQ(found.Lines.count("-sd vmt_ignore_paren=_ignore_paren"), 1u);
    EXPECT_EQ(found.Lines.count("-sd __weird="), 0u) << "reserved words of C++ are not classified";
    EXPECT_EQ(found.TypeKeywords.count("__flash"), 1u);
}
