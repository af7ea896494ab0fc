// The start of a run (object extension, host execution check) and the whole generation: the status and personality
// it leaves. (That a failed or interrupted run leaves no half-written file is proven by the hostile tests.)
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>

#include "common/DeploymentLayout.h"
#include "engine/app/Generation.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"
#include "engine/phases/target/ObjectExtension.h"
#include "tests/support/FakeProbe.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

CompileResult Leaves(std::map<std::string, std::string> files, int signal = 0)
{
    CompileResult result = Accept();
    result.Files = std::move(files);
    result.Exited = signal == 0;
    result.Signal = signal;
    return result;
}

// A compiler that takes everything and whose programs print a size of 4.
CompileResult Anything(const CompileJob& job)
{
    return Leaves({{job.FileName.substr(0, job.FileName.rfind('.')) + ".o", "\x7f" "ELF"}});
}
std::string Prints(const CompileJob& job) { return job.FileName.rfind("hello_world", 0) == 0 ? "hello world" : "4"; }

class Generation : public testing::Test {
protected:
    void SetUp() override
    {
        Root = Deployed.emplace(false).Root();
        Work = Deployed->Work();
        Opts = FakeOptions(true, 2);
        Opts.PersonalityFile = Root + "/out.p_c";
        WriteFile(Opts.PersonalityFile, "previous\n");
    }
    void TearDown() override { Deployed.reset(); }
    int Generate(FakeProbe::Compiler compiler = Anything)
    {
        FakeProbe probe(std::move(compiler), Prints);
        MemoryReporter quiet;
        try {
            return GenPersonality(Opts, probe, quiet, Work);
        } catch (const RunFailure&) {
            return kStatusFailed;  // as the engine's main ends it
        }
    }

    std::optional<Deployment> Deployed;
    std::string Root;
    std::string Work;  // the engine's working directory in Root
    Options Opts;
};

}  // namespace

TEST(ObjectExtension, TheObjectTheCompilerWrote)
{
    Options options = FakeOptions();
    // The files written, the extension given, and the object found.
    const std::tuple<std::map<std::string, std::string>, std::string, const char*, bool> cases[] = {
        {{{"typetest.o", "\x7f" "ELF"}}, "", ".o", true},
        {{{"typetest.asm", "; text"}, {"typetest.rel", "XL2\n"}, {"typetest.sym", ""}}, "", ".rel", false},
        {{{"typetest.lst", ""}, {"typetest.rel", std::string("XL2\0", 4)}}, ".rel", ".rel", true},
    };
    for (const auto& [files, given, extension, binary] : cases) {
        options.ObjectFileExtension = given;
        FakeProbe probe([&](const CompileJob& job) {
            EXPECT_EQ(job.ExtraDefine, "XXX");
            return Leaves(files);
        });
        MemoryReporter quiet;
        const TargetFacts facts = GetObjectFileExtension(probe, options, quiet);
        EXPECT_EQ(std::tie(facts.ObjectExtension, facts.ObjectIsBinary), std::tie(extension, binary));
    }
    // Not the extension given, or the compiler was killed: the run cannot go on.
    options.ObjectFileExtension = ".obj";
    for (const CompileResult& answer : {Leaves({{"typetest.o", "x"}}), Leaves({{"typetest.obj", "x"}}, SIGSEGV)}) {
        FakeProbe probe([&](const CompileJob&) { return answer; });
        MemoryReporter said;
        EXPECT_THROW(GetObjectFileExtension(probe, options, said), KestrixExit);
        EXPECT_EQ(said.Take().size(), 2u);
    }
}

TEST_F(Generation, ACompletedRunReplacesThePersonalityAndLeavesNothingElse)
{
    const std::string before = RunShell("ls -AR " + Root).Stdout;
    EXPECT_EQ(Generate(), kStatusDone);
    EXPECT_EQ(ReadFile(Opts.PersonalityFile).rfind("-s char=32\n", 0), 0u);
    EXPECT_EQ(RunShell("ls -AR " + Root).Stdout, before);
}

TEST_F(Generation, AMissingOrUnreadableInputCompletesWithMissingDataAndABrokenTemplateFails)
{
    const std::pair<std::function<void()>, int> cases[] = {
        {[&] { fs::remove(Work + "/" + kxcommon::layout::IgnoreList); }, kStatusMissingData},
        {[&] { fs::remove(Root + "/" + kxcommon::layout::GeneralSuite(true)); }, kStatusMissingData},
        // A list that is a folder or a named pipe, a suite source that is a pipe: reading must not wait, nor pass.
        {[&] { fs::remove(Work + "/" + kxcommon::layout::IgnoreList); fs::create_directory(Work + "/" + kxcommon::layout::IgnoreList); },
         kStatusMissingData},
        {[&] { fs::remove(Work + "/" + kxcommon::layout::KeywordList(true)); mkfifo((Work + "/" + kxcommon::layout::KeywordList(true)).c_str(), 0600); },
         kStatusMissingData},
        {[&] { mkfifo((Root + "/c_tests/t.c").c_str(), 0600); }, kStatusMissingData},
        // Checked when the run started, the template is changed or removed before the merge.
        {[&] { WriteFile(Opts.TemplatePersonality = Root + "/t.tpl", "<add>\n-u+\n"); }, kStatusFailed},
        {[&] { Opts.TemplatePersonality = Root + "/t.tpl"; }, kStatusFailed},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        if (i > 0)
            TearDown(), SetUp();
        cases[i].first();
        EXPECT_EQ(Generate(), cases[i].second) << i;
        EXPECT_EQ(ReadFile(Opts.PersonalityFile) == "previous\n", cases[i].second == kStatusFailed) << i;
    }
}
