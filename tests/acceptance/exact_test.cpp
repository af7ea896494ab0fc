// The fast methods (many answers from one compile) against -exact (one question per compile) give the same
// personality, byte for byte, for candidates a header the test writes: few enough for plain runs on every commit.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

#include "common/DeploymentLayout.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxtest;

struct Subject {
    std::string Name;
    std::vector<std::string> Args;        // the positional arguments and options, -i excepted
    std::vector<std::string> MacroQuery;  // the command that lists the predefined macros of a source
    std::string SourceExt;
    int PlainNames = 10;            // ordinary names among the candidates
    std::size_t KeywordNames = 24;  // how many of kKeywordCandidates
};

// Words that some compiler reserves, or that look as if one did.
const char* const kKeywordCandidates[] = {
    "__attribute__", "__asm__", "__extension__", "__inline__", "__restrict", "__typeof__", "__label__",
    "__int128", "__int24", "__flash", "__memx", "__sfr", "__sbit", "__xdata", "__interrupt", "__using",
    "__critical", "__naked", "__at", "__builtin_va_list", "__real__", "__thread", "__published", "__null",
};
// Names that the probes of macros must get through.
const char* const kTroublesomeNames[] = {"__has_include", "__has_include_next", "__has_attribute", "__has_builtin",
                                         "__COUNTER__", "__FILE__", "__LINE__", "__DATE__", "defined", "main"};

// Of the predefined macros, in the order of their names: two of each kind, one in 128 others.
std::string CandidateHeader(const Subject& subject, const std::string& dir)
{
    const std::string source = dir + "/empty" + subject.SourceExt;
    WriteFile(source, "");
    std::vector<std::string> argv = subject.MacroQuery;
    argv.push_back(source);
    std::map<std::string, std::string> macros;  // name (with its parameter list, if any) to value
    for (const std::string& line : Lines(RunProgram(argv, dir).Stdout)) {
        const std::size_t nameEnd = line.find(' ', 8);
        if (line.rfind("#define ", 0) == 0)
            macros[line.substr(8, nameEnd - 8)] = nameEnd == std::string::npos ? "" : line.substr(nameEnd + 1);
    }
    std::filesystem::remove(source);
    std::string text;
    int taken[5] = {};  // function-like, string, empty and blank-holding values, others
    for (const auto& [name, value] : macros) {
        const std::size_t paren = name.find('(');
        const int kind = paren != std::string::npos ? 0 : value.find('"') != std::string::npos ? 1 : value.empty() ? 2
                         : value.find(' ') != std::string::npos ? 3 : 4;
        if (kind == 4 ? taken[4]++ % 128 == 0 : taken[kind]++ < 2)
            text += name.substr(0, paren) + "\n";
    }
    for (std::size_t k = 0; k < subject.KeywordNames && k < std::size(kKeywordCandidates); ++k)
        text += std::string(kKeywordCandidates[k]) + "\n";
    for (const char* name : kTroublesomeNames)
        text += std::string(name) + "\n";
    for (int i = 0; i < subject.PlainNames; ++i)
        text += "kx_plain_name_" + std::to_string(i) + "\n";
    return text;
}

// The run's outcome and personality, the deployment's own directory (of the force-include file) made a placeholder.
std::pair<RunResult, std::string> Generate(const Subject& subject, const std::string& headers, bool exact)
{
    Deployment deployment;
    std::filesystem::remove(deployment.Work() + "/candidate_keywords.txt");
    WriteFile(deployment.Work() + "/candidate_keywords.txt", "");
    std::vector<std::string> args = subject.Args;
    // One compile at a time: the runs themselves go side by side.
    args.insert(args.end(), {"-i", headers, "-op", deployment.Personality(), "-j", "1"});
    if (exact)
        args.push_back("-exact");
    const RunResult run = deployment.Run(args);
    return {run, ReplaceAll(ReadFile(deployment.Personality()), deployment.Root(), "DEPLOYMENT")};
}

// Both runs of every installed subject, as many at once as there are cores, the slow plain ones first.
void ExpectSamePersonalities(const std::vector<Subject>& all)
{
    std::vector<Subject> subjects;
    std::string missing;
    for (const Subject& subject : all) {
        const std::string compiler = subject.Args[2].substr(0, subject.Args[2].find(' '));
        if (HaveCommand(subject.MacroQuery.front()) && HaveCommand(compiler))
            subjects.push_back(subject);
        else
            missing += " " + compiler;
    }
    const std::string headers = MakeTempDir("exact-headers");
    for (std::size_t s = 0; s < subjects.size(); ++s)
        WriteFile(headers + "/" + std::to_string(s) + "/kx_candidates.h",
                  CandidateHeader(subjects[s], headers + "/" + std::to_string(s)));
    std::vector<std::pair<RunResult, std::string>> outcomes(2 * subjects.size());
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(2u, std::thread::hardware_concurrency()); ++w)
        workers.emplace_back([&] {
            for (std::size_t run; (run = next++) < outcomes.size();)
                outcomes[run] = Generate(subjects[run % subjects.size()], headers + "/" + std::to_string(run % subjects.size()),
                                         run < subjects.size());
        });
    for (std::thread& thread : workers)
        thread.join();
    RemoveTree(headers);

    for (std::size_t s = 0; s < subjects.size(); ++s) {
        const auto& [plain, plainPersonality] = outcomes[s];
        const auto& [fast, fastPersonality] = outcomes[subjects.size() + s];
        SCOPED_TRACE(subjects[s].Name);
        EXPECT_EQ(plain.Status, 0) << plain.Stdout << plain.Stderr;
        EXPECT_EQ(fast.Status, plain.Status) << fast.Stdout << fast.Stderr;
        EXPECT_FALSE(plainPersonality.empty());
        EXPECT_EQ(fastPersonality, plainPersonality) << "the fast methods (left) against -exact (right)";
    }
    if (!missing.empty())
        GTEST_SKIP() << "not installed:" << missing;
}

Subject GccLike(const std::string& name, const std::string& product, const std::string& kind,
                const std::string& compiler, std::vector<std::string> options = {}, std::vector<std::string> query = {},
                const std::string& objExt = ".o")
{
    Subject subject{name, GccLikeArgs(product, kind, compiler, objExt), {}, product == "zanth" ? ".c" : ".cpp"};
    subject.Args.insert(subject.Args.end(), options.begin(), options.end());
    subject.MacroQuery = query.empty() ? std::vector<std::string>{compiler, "-dM", "-E"} : query;
    return subject;
}

// Compilers that make the fast methods fall back: gcc underneath, so a few keywords are enough.
Subject FakeSubject(const std::string& name, const std::string& fake, const std::string& kind,
                    std::vector<std::string> options = {}, const std::string& objExt = ".o", int plainNames = 10)
{
    Subject subject = GccLike(name, "zanth", kind, Fake(fake), std::move(options), {"gcc", "-dM", "-E"}, objExt);
    subject.KeywordNames = 6;
    subject.PlainNames = plainNames;
    return subject;
}

}  // namespace

// The catalogue's compilers and options: the host's and a small cross target on every run, the rest labelled "exact".
TEST(ExactRealCompilers, HostAndSmallCrossTarget)
{
    ExpectSamePersonalities({
        GccLike("gcc", "zanth", "cmp", "gcc"),
        // Warnings made errors: a probe whose source draws a warning of its own is rejected, whatever it asked.
        GccLike("gcc -Werror -Wall -Wextra -pedantic", "zanth", "cmp", "gcc", {"-xs", "-Werror,-Wall,-Wextra,-pedantic"}),
        GccLike("avr-gcc", "zanth", "ccmp", "avr-gcc", {"-xs", "-mmcu=atmega2560"}, {"avr-gcc", "-mmcu=atmega2560", "-dM", "-E"}),
    });
}

TEST(ExactRealCompilers, TheOtherCatalogueCompilers)
{
    ExpectSamePersonalities({
        GccLike("g++", "zanthpp", "cmp", "g++"),
        GccLike("clang", "zanth", "cmp", "clang", {"-xs", "-fno-builtin -ferror-limit=0"}),
        GccLike("arm-none-eabi-gcc", "zanth", "ccmp", "arm-none-eabi-gcc"),
        GccLike("sdcc", "zanth", "ccmp", "sdcc -mmcs51", {"-fi", std::string("../") + kxcommon::layout::ForceIncludesDir + "/sdcc_mcs51.h"},
                {"sdcc", "-mmcs51", "-dM", "-E"}, ".rel"),
        // long double aligned on 16 bytes, which both methods must measure alike.
        GccLike("mingw-w64-gcc", "zanth", "ccmp", "x86_64-w64-mingw32-gcc"),
        // Messages that tell less: sdcc stops at its first syntax error, writes text objects; cc65 gives up after a
        // dozen errors, cuts strings apart in objects; bcc's columns follow a dot; gcc 3.4 skips errors while it
        // recovers. cc65 and bcc list no macros: the host's names are candidates as good as any.
        GccLike("sdcc -mz80", "zanth", "ccmp", "sdcc -mz80", {}, {"sdcc", "-mz80", "-dM", "-E"}, ".rel"),
        GccLike("sdcc -mstm8", "zanth", "ccmp", "sdcc -mstm8", {}, {"sdcc", "-mstm8", "-dM", "-E"}, ".rel"),
        GccLike("cc65", "zanth", "ccmp", "cl65 -t none", {}, {"cpp", "-dM", "-E"}),
        GccLike("bcc", "zanth", "ccmp", "bcc -ansi", {}, {"cpp", "-dM", "-E"}),
        GccLike("h8300-hms-gcc", "zanth", "ccmp", "h8300-hms-gcc", {"-xs", "-mh"}, {"h8300-hms-gcc", "-mh", "-dM", "-E"}),
    });
}

// On every run: a compiler that stops at its first error, one that refuses large sources (-rfs, batches near it).
TEST(ExactFakeCompilers, EarlyStopsAndSmallSources)
{
    ExpectSamePersonalities({FakeSubject("first error only", "fake-first-error", "cmp"),
                             FakeSubject("small sources", "fake-small-sources", "cmp", {"-rfs"}, ".o", 3000)});
}

// Under the label "exact": one that does not know __has_include, and one that writes its objects as text.
TEST(ExactFakeCompilers, NoHasIncludeAndTextObjects)
{
    ExpectSamePersonalities({FakeSubject("no __has_include", "fake-no-has-include", "cmp"),
                             FakeSubject("text objects", "fake-text-object", "ccmp", {}, ".rel")});
}
