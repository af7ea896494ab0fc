// The start of a run (object extension, host execution check) and the generation sequence
// as a whole: what it leaves behind when it completes, fails or is interrupted.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <filesystem>

#include "common/DeploymentLayout.h"
#include "tests/support/FakeProbe.h"
#include "tests/support/TestSupport.h"
#include "engine/app/Generation.h"
#include "engine/probe/Interrupt.h"
#include "engine/phases/target/ObjectExtension.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"

namespace {

using namespace kxtest;

CompileResult Leaves(std::map<std::string, std::string> files, int signal = 0)
{
    CompileResult result = Accept();
    result.Files = std::move(files);
    if (signal != 0) {
        result.Exited = false;
        result.Signal = signal;
    }
    return result;
}

// A compiler that takes everything and whose programs print a size of 4.
CompileResult Anything(const CompileJob& job)
{
    return Leaves({{job.FileName.substr(0, job.FileName.rfind('.')) + ".o", "\x7f" "ELF"}});
}
std::string Prints(const CompileJob& job)
{
    return job.FileName.rfind("hello_world", 0) == 0 ? "hello world" : "4";
}

class Generation : public testing::Test {
protected:
    void SetUp() override
    {
        Root = MakeTempDir("gen");
        namespace layout = kxcommon::layout;
        Work = Root + "/" + layout::WorkDir;
        std::filesystem::create_directories(Work);
        for (const char* suite : {layout::GeneralSuite(true), layout::KeywordSuite(true)})
            std::filesystem::create_directories(Root + "/" + suite);
        for (const char* list : {layout::ReplaceList(true), layout::IgnoreList, layout::IgnoreReservedList,
                                 layout::ExtensionList, layout::BuiltinReplaceList, layout::KeywordList(true),
                                 layout::CandidateList})
            WriteFile(Work + "/" + list, "");
        Opts = FakeOptions(true, 2);
        Opts.PersonalityFile = Root + "/out.p_c";
        WriteFile(Opts.PersonalityFile, "previous\n");
    }
    void TearDown() override { RemoveTree(Root); }
    int Generate(Probe& probe)
    {
        CapturedLines quiet;
        return GenPersonality(Opts, probe, Work);
    }
    std::vector<std::string> Listing() { return Lines(RunShell("ls -A " + Root).Stdout); }

    std::string Root;
    std::string Work;  // the engine's working directory in Root
    Options Opts;
};

}  // namespace

TEST(ObjectExtension, TheObjectTheCompilerWrote)
{
    Options options = FakeOptions();
    options.ObjectFileExtension = "";
    const struct {
        std::map<std::string, std::string> Files;
        std::string Expected;
        const char* Extension;
        bool Binary;
    } cases[] = {
        {{{"typetest.o", "\x7f" "ELF"}}, "", ".o", true},
        {{{"typetest.asm", "; text"}, {"typetest.rel", "XL2\n"}, {"typetest.sym", ""}}, "", ".rel", false},
        {{{"typetest.lst", ""}, {"typetest.rel", std::string("XL2\0", 4)}}, ".rel", ".rel", true},
    };
    for (const auto& c : cases) {
        options.ObjectFileExtension = c.Expected;
        FakeProbe probe([&](const CompileJob& job) {
            EXPECT_EQ(job.ExtraDefine, "XXX");
            return Leaves(c.Files);
        });
        const TargetFacts facts = GetObjectFileExtension(probe, options);
        EXPECT_EQ(facts.ObjectExtension, c.Extension);
        EXPECT_EQ(facts.ObjectIsBinary, c.Binary);
    }
    options.ObjectFileExtension = ".obj";
    for (const CompileResult& answer : {Leaves({{"typetest.o", "x"}}), Leaves({{"typetest.obj", "x"}}, SIGSEGV)}) {
        FakeProbe probe([&](const CompileJob&) { return answer; });
        CapturedLines said;
        EXPECT_THROW(GetObjectFileExtension(probe, options), KestrixExit);
        EXPECT_EQ(said.Take().size(), 2u);
    }
}

TEST(ObjectExtension, ProgramsRunHereOnlyWhenTheyGreet)
{
    const Options options = FakeOptions();
    FakeProbe greets(Anything, Prints);
    EXPECT_TRUE(CheckExeFileRunWorks(greets, options));
    CapturedLines said;
    FakeProbe silent(Anything, [](const CompileJob&) { return std::string("?"); });
    EXPECT_FALSE(CheckExeFileRunWorks(silent, options));
    FakeProbe cannotLink(Anything);
    EXPECT_FALSE(CheckExeFileRunWorks(cannotLink, options));
    EXPECT_EQ(said.Take().size(), 4u);
}

TEST_F(Generation, AFailedOrInterruptedRunLeavesThePreviousPersonality)
{
    FakeProbe noObject([](const CompileJob&) { return Accept(); });
    EXPECT_THROW(Generate(noObject), KestrixExit);
    int compiles = 0;
    FakeProbe interrupted([&](const CompileJob& job) {
        if (++compiles == 20)
            throw RunInterrupted{SIGTERM};
        return Anything(job);
    }, Prints);
    EXPECT_THROW(Generate(interrupted), RunInterrupted);
    EXPECT_EQ(ReadFile(Opts.PersonalityFile), "previous\n");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"c_keyword_tests", "c_tests", "out.p_c", "work"}))
        << "no half-written file is left";
}

TEST_F(Generation, AMissingListOrSuiteCompletesWithMissingData)
{
    std::filesystem::remove(Root + "/work/ignore_keywords.txt");
    std::filesystem::remove(Root + "/c_tests");
    FakeProbe probe(Anything, Prints);
    EXPECT_EQ(Generate(probe), kStatusMissingData);
    EXPECT_NE(ReadFile(Opts.PersonalityFile), "previous\n");
}

TEST_F(Generation, ACompletedRunReplacesThePersonalityAndTestsCandidateKeywordsLikeHeaderNames)
{
    // No header names them; the compiler reserves only the first two.
    WriteFile(Root + "/work/candidate_keywords.txt", "__flash\n__memx\n__sfr\n");
    FakeProbe probe([](const CompileJob& job) {
        for (const char* reserved : {"int __flash[1]", "int __memx[1]"})
            if (job.Source.find(reserved) != std::string::npos)
                return Reject("exttest.c:2:5: error: expected identifier\n");
        return Anything(job);
    }, Prints);
    EXPECT_EQ(Generate(probe), kStatusDone);
    const std::vector<std::string> lines = Lines(ReadFile(Opts.PersonalityFile));
    for (const char* line : {"-d __flash=", "-d __memx="})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    EXPECT_EQ(lines.front(), "-s char=32");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("__sfr") != std::string::npos; }), 0);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"c_keyword_tests", "c_tests", "out.p_c", "work"}));
}

TEST_F(Generation, DeploymentFilesOfTheWrongKindNeitherHangNorPassAsComplete)
{
    // A list file that is a folder or a named pipe, and a suite source that is a named pipe:
    // reading any of them must not wait, and the run completes with missing data.
    std::filesystem::remove(Root + "/work/ignore_keywords.txt");
    std::filesystem::create_directory(Root + "/work/ignore_keywords.txt");
    std::filesystem::remove(Root + "/work/c_keywords.txt");
    ASSERT_EQ(mkfifo((Root + "/work/c_keywords.txt").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((Root + "/c_tests/t.c").c_str(), 0600), 0);
    FakeProbe probe(Anything, Prints);
    EXPECT_EQ(Generate(probe), kStatusMissingData);
}

TEST_F(Generation, ATemplateThatCannotBeMergedAtTheEndFailsTheRun)
{
    // Checked when the run started, the template is changed or removed before the merge.
    Opts.TemplatePersonality = Root + "/t.tpl";
    for (const char* content : {"<add>\n-u+\n", static_cast<const char*>(nullptr)}) {
        if (content != nullptr)
            WriteFile(Opts.TemplatePersonality, content);
        else
            std::filesystem::remove(Opts.TemplatePersonality);
        FakeProbe probe(Anything, Prints);
        EXPECT_EQ(Generate(probe), kStatusFailed);
        EXPECT_EQ(ReadFile(Opts.PersonalityFile), "previous\n");
    }
}
