// The fast methods (many answers read from one compile) against the plain ones (-exact, one
// question per compile): the same compiler and the same candidates must give the same
// personality, byte for byte.
//
// The candidates are those of a header the test writes, and no others (the shipped candidate
// keyword list is left empty): a choice of the compiler's own predefined macros (its "-dM -E"
// answer: string, empty, blank-holding and function-like values, and a sample of the rest),
// names that are keywords on one compiler or another, names that trouble the probes
// (__has_include, __COUNTER__) and ordinary names. That keeps the plain runs short enough for
// every commit.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <thread>

#include "tests/support/TestSupport.h"

namespace {

using namespace kxtest;

struct Subject {
    std::string Name;
    std::vector<std::string> Args;       // the positional arguments and options, -i excepted
    std::vector<std::string> MacroQuery; // the command that lists the predefined macros of a source
    std::string SourceExt;
    int PlainNames = 10;                  // ordinary names among the candidates
    std::size_t KeywordNames = 24;        // how many of kKeywordCandidates
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

// The predefined macros of the compiler: name (with its parameter list, if any) and value.
std::map<std::string, std::string> PredefinedMacros(const Subject& subject, const std::string& dir)
{
    const std::string source = dir + "/empty" + subject.SourceExt;
    WriteFile(source, "");
    std::vector<std::string> argv = subject.MacroQuery;
    argv.push_back(source);
    std::map<std::string, std::string> macros;
    for (const std::string& line : Lines(RunProgram(argv, dir).Stdout)) {
        if (line.rfind("#define ", 0) != 0)
            continue;
        const std::size_t nameEnd = line.find(' ', 8);
        macros[line.substr(8, nameEnd - 8)] = nameEnd == std::string::npos ? "" : line.substr(nameEnd + 1);
    }
    return macros;
}

std::string CandidateHeader(const Subject& subject, const std::string& dir)
{
    std::string text;
    std::map<std::string, int> taken;
    int other = 0;
    for (const auto& [name, value] : PredefinedMacros(subject, dir)) {
        const std::size_t paren = name.find('(');
        const std::string kind = paren != std::string::npos              ? "function-like"
                                 : value.find('"') != std::string::npos ? "string"
                                 : value.empty()                         ? "empty"
                                 : value.find(' ') != std::string::npos  ? "blank"
                                                                         : "other";
        const bool wanted = kind == "other" ? other++ % 128 == 0 : taken[kind]++ < 2;
        if (wanted)
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

struct Outcome {
    RunResult Run;
    std::string Personality;  // the deployment's own directory replaced by a placeholder
    double Seconds = 0;
};

Outcome Generate(const Subject& subject, const std::string& headers, bool exact)
{
    Deployment deployment;
    std::filesystem::remove(deployment.Work() + "/candidate_keywords.txt");
    WriteFile(deployment.Work() + "/candidate_keywords.txt", "");
    std::vector<std::string> args = subject.Args;
    // One compile at a time: the runs themselves go side by side.
    args.insert(args.end(), {"-i", headers, "-op", deployment.Personality(), "-j", "1"});
    if (exact)
        args.push_back("-exact");
    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    outcome.Run = deployment.Run(args);
    outcome.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The force-include file lies beside the personality, in the deployment.
    if (FileExists(deployment.Personality()))
        outcome.Personality = ReplaceAll(ReadFile(deployment.Personality()), deployment.Root(), "DEPLOYMENT");
    return outcome;
}

// The lines of one text that the other lacks, for the failure message.
std::string LinesOnlyIn(const std::string& text, const std::string& other)
{
    const std::vector<std::string> otherLines = Lines(other);
    std::string only;
    for (const std::string& line : Lines(text))
        if (std::find(otherLines.begin(), otherLines.end(), line) == otherLines.end())
            only += "  " + line + "\n";
    return only;
}

// Both runs of every subject, as many at once as there are cores (the plain ones, which take
// longest, first), then the comparisons.
void ExpectSamePersonalities(const std::vector<Subject>& subjects)
{
    const std::string headers = MakeTempDir("exact-headers");
    std::vector<std::string> dirs;
    for (std::size_t s = 0; s < subjects.size(); ++s) {
        dirs.push_back(headers + "/" + std::to_string(s));
        std::filesystem::create_directories(dirs.back());
        const std::string text = CandidateHeader(subjects[s], dirs.back());
        std::filesystem::remove(dirs.back() + "/empty" + subjects[s].SourceExt);
        WriteFile(dirs.back() + "/kx_candidates.h", text);
    }
    std::vector<Outcome> outcomes(2 * subjects.size());
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t run; (run = next++) < outcomes.size();) {
            const bool exact = run < subjects.size();
            const std::size_t s = run % subjects.size();
            outcomes[run] = Generate(subjects[s], dirs[s], exact);
        }
    };
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(2u, std::thread::hardware_concurrency()); ++w)
        workers.emplace_back(worker);
    for (std::thread& thread : workers)
        thread.join();
    RemoveTree(headers);

    for (std::size_t s = 0; s < subjects.size(); ++s) {
        const Outcome& plain = outcomes[s];
        const Outcome& fast = outcomes[subjects.size() + s];
        const std::string& name = subjects[s].Name;
        std::printf("%-20s plain %6.1f s, fast %6.1f s\n", name.c_str(), plain.Seconds, fast.Seconds);
        EXPECT_EQ(plain.Run.Status, 0) << name << ": " << plain.Run.Stdout << plain.Run.Stderr;
        EXPECT_EQ(fast.Run.Status, plain.Run.Status) << name << ": " << fast.Run.Stdout << fast.Run.Stderr;
        EXPECT_FALSE(plain.Personality.empty()) << name;
        EXPECT_TRUE(fast.Personality == plain.Personality)
            << name << ": only with -exact:\n" << LinesOnlyIn(plain.Personality, fast.Personality)
            << "only without:\n" << LinesOnlyIn(fast.Personality, plain.Personality);
    }
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

}  // namespace

// The real compilers of the catalogue, with the catalogue's options: the host's and a small
// cross target's on every run, the others under the label "exact" (they take minutes).
static void ExpectSameOnInstalled(const std::vector<Subject>& subjects)
{
    std::vector<Subject> installed;
    std::string missing;
    for (const Subject& subject : subjects) {
        if (HaveCommand(subject.MacroQuery.front()))
            installed.push_back(subject);
        else
            missing += " " + subject.MacroQuery.front();
    }
    ExpectSamePersonalities(installed);
    if (!missing.empty())
        GTEST_SKIP() << "not installed:" << missing;
}

TEST(ExactRealCompilers, HostAndSmallCrossTarget)
{
    ExpectSameOnInstalled({
        GccLike("gcc", "zanth", "cmp", "gcc"),
        GccLike("avr-gcc", "zanth", "ccmp", "avr-gcc", {"-xs", "-mmcu=atmega2560"},
                {"avr-gcc", "-mmcu=atmega2560", "-dM", "-E"}),
    });
}

TEST(ExactRealCompilers, TheOtherCatalogueCompilers)
{
    ExpectSameOnInstalled({
        GccLike("g++", "zanthpp", "cmp", "g++"),
        GccLike("clang", "zanth", "cmp", "clang", {"-xs", "-fno-builtin"}),
        GccLike("arm-none-eabi-gcc", "zanth", "ccmp", "arm-none-eabi-gcc"),
        GccLike("sdcc", "zanth", "ccmp", "sdcc -mmcs51", {"-fi", "../ForceIncludeFiles/sdcc_mcs51.h"},
                {"sdcc", "-mmcs51", "-dM", "-E"}, ".rel"),
        // long double aligned on 16 bytes, which both methods must measure alike.
        GccLike("mingw-w64-gcc", "zanth", "ccmp", "x86_64-w64-mingw32-gcc"),
    });
}

// Compilers that make the fast methods fall back. They are all gcc underneath, whose keywords
// the real compilers' comparison covers: a few keywords exercise the batched keyword tests.
static Subject FakeSubject(const std::string& name, const std::string& fake, const std::string& kind,
                    std::vector<std::string> options = {}, const std::string& objExt = ".o")
{
    Subject subject = GccLike(name, "zanth", kind, Fake(fake), std::move(options), {"gcc", "-dM", "-E"}, objExt);
    subject.KeywordNames = 6;
    return subject;
}

// On every run: one that stops at its first error, and one that refuses large sources (run
// with -rfs), with enough names for batches near the size limit.
TEST(ExactFakeCompilers, EarlyStopsAndSmallSources)
{
    if (!HaveCommand("gcc"))
        GTEST_SKIP() << "gcc is not installed; the fake compilers wrap it.";
    std::vector<Subject> subjects{FakeSubject("first error only", "fake-first-error", "cmp"),
                                  FakeSubject("small sources", "fake-small-sources", "cmp", {"-rfs"})};
    subjects.back().PlainNames = 3000;
    ExpectSamePersonalities(subjects);
}

// Under the label "exact": one that does not know __has_include, and one that writes its
// objects as text.
TEST(ExactFakeCompilers, NoHasIncludeAndTextObjects)
{
    if (!HaveCommand("gcc"))
        GTEST_SKIP() << "gcc is not installed; the fake compilers wrap it.";
    ExpectSamePersonalities({FakeSubject("no __has_include", "fake-no-has-include", "cmp"),
                             FakeSubject("text objects", "fake-text-object", "ccmp", {}, ".rel")});
}
