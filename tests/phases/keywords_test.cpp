// Extension keyword discovery and classification against compilers with a table of the words they reserve.
#include <gtest/gtest.h>

#include <map>

#include "engine/app/Generation.h"
#include "engine/phases/keywords/ExtensionKeywords.h"
#include "tests/support/FakeProbe.h"
#include "tests/support/TestSupport.h"
#include "engine/phases/keywords/KeywordTests.h"
#include "engine/core/Reporter.h"

namespace {

using namespace kxtest;

const std::set<std::string> kReserved{"__flash", "__sfr", "__attribute__", "__inline__", "__weird", "__null",
                                      "__builtin_va_list", "__published"};

// What its messages tell: line 2 for the first reserved word, or that word's own line, or every error's line.
enum class Told { LineTwoAndStops, FirstErrorOnly, EveryLine };

// A word that opens assembly: the rest of the source is taken for it, with one error at the end of the input.
const std::string kSwallower = "__asmblock";

// It declares printf and __fsneq itself; "#ifndef" skips __GNUC__; arrays declared "extern" are judged as those defined.
CompileResult KeywordCompiler(const CompileJob& job, Told told, std::size_t readsBytes = 0)
{
    std::string messages, file = job.FileName;
    long line = 0;
    // A compiler that silently reads no more than its first bytes of a source.
    const std::vector<std::string> lines = Lines(readsBytes != 0 ? job.Source.substr(0, readsBytes) : job.Source);
    for (const std::string& text : lines) {
        ++line;
        if (text.rfind("#line 1 \"", 0) == 0) {
            file = text.substr(9, text.size() - 10);
            line = 0;
        }
        if (text.rfind("#error", 0) == 0)
            messages += file + ":" + std::to_string(line) + ":2: error: #error\n";
        const std::size_t open = text.find('[');
        const std::size_t type = text.rfind("extern int ", 0) == 0 ? 11 : 4;
        if (text.compare(type - 4, 4, "int ") != 0 || open == std::string::npos)
            continue;
        const std::string name = text.substr(type, open - type);
        if (name == "__GNUC__")
            continue;
        const std::string at = file + ":" + std::to_string(told == Told::LineTwoAndStops ? 2 : line) + ":5: error: ";
        if (name == kSwallower) {
            const long left = static_cast<long>(lines.size()) - static_cast<long>(&text - lines.data()) - 1;
            messages += file + ":" + std::to_string(line + left + 1) + ":1: error: unexpected end of input\n";
            break;
        }
        if (kReserved.count(name) != 0) {
            messages += at + "expected identifier before '" + name + "'\n";
            if (told != Told::EveryLine)
                break;
        } else if (name == "printf" || name == "__fsneq") {  // as gcc and as sdcc say it
            messages += at + (name == "printf" ? "redefinition of '" : "Duplicate symbol '") + name + "'\n";
        }
    }
    return messages.empty() ? Accept() : Reject(messages);
}

// The keyword suite, and the one keyword that each of its sources accepts in place of XXX.
const std::vector<SuiteTest> kSuite{
    {"", "kw02_type.c", "XXX x;\n", "", "type", false},
    {"", "kw04_qualifier.c", "int XXX x;\n", "", "", false},
    {"", "kw06_paren.c", "int XXX((a)) x;\n", "", "_ignore_paren", false},
    {"", "kw15_decl.c", "XXX = 1;\n", "", "decl", false},
};
const std::map<std::string, std::string> kTakes{
    {"XXX x;\n", "__flash"}, {"int XXX x;\n", "__inline__"}, {"int XXX((a)) x;\n", "__attribute__"}, {"XXX = 1;\n", "__sfr"}};

bool Takes(const std::string& source, const std::string& keyword)
{
    return kTakes.count(source) != 0 && kTakes.at(source) == keyword;
}

// One keyword's test (XXX defined on the command line), or many copies, each in a #line file with XXX defined
// before it; a rejected copy is an error on its first line. One that spills, as gcc after a keyword behind a
// parameter list, errs in every file after it up to the first old-style definition (ToBody) or to the end (ToEnd).
enum class Spill { None, ToBody, ToEnd };
CompileResult SuiteCompiler(const CompileJob& job, Spill spills = Spill::None)
{
    if (job.Source.find("#line ") == std::string::npos) {
        const std::string& define = job.ExtraDefine;
        const std::string keyword = define.size() > 5 ? define.substr(4, define.size() - 5) : std::string();
        if (Takes(job.Source, keyword))
            return Accept();
        // C++ access specifiers: only "__published" behaves as "public".
        if (job.Source.find("class X {__published:") == 0 && job.Source.find("class Y") == std::string::npos)
            return Accept();
        return Reject();
    }
    std::string messages, file, first, keyword, copy;  // first: the number of the file's first line
    bool lost = false;
    auto judge = [&] {
        if (file.rfind("kxcopy", 0) == 0 && !Takes(copy, keyword)) {
            messages += file + ":" + first + ":1: error: syntax error\n";
            lost = spills != Spill::None;
        }
    };
    long physical = 0;  // #line keeps every line's number
    for (const std::string& line : Lines(job.Source)) {
        ++physical;
        if (line.rfind("#line ", 0) == 0) {
            judge();
            first = line.substr(6, line.find(' ', 6) - 6);
            file = line.substr(line.find('"') + 1, line.size() - line.find('"') - 2);
            copy.clear();
            if (lost && file.rfind("kxcopy", 0) != 0)
                messages += file + ":" + first + ":1: error: expected ';' before '{'\n";
        } else if (lost && spills == Spill::ToBody && line.find("(kxp) int kxp; {") != std::string::npos) {
            lost = false;
        } else if (line.rfind("#error", 0) == 0) {
            messages += file + ":" + std::to_string(physical) + ":2: error: #error\n";
        } else if (line.rfind("#define XXX ", 0) == 0) {
            keyword = line.substr(12);
        } else if (line != "#undef XXX" && file.rfind("kxcopy", 0) == 0) {
            copy += line + "\n";
        }
    }
    judge();
    return messages.empty() ? Accept() : Reject(messages);
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
    identifiers.insert({"printf", "__fsneq", "__GNUC__", "int"});
    for (int i = 0; i < 3000; ++i)
        identifiers.insert("plain" + std::to_string(i));
    // The most compiles the fast method may cost, in quarters of the plain one's: where the lines tell nothing, where
    // each compile tells the first keyword (a word that swallows the rest of its source spoils ever smaller batches),
    // where every line is told; and a compiler that reads only a source's first 4 KB, so a batch it accepts unread is
    // split until read to its end (the names that sort first, "AA...", fill them).
    const struct {
        Told Messages;
        bool Swallower;
        long FastRunsPerFour;
        std::size_t ReadsBytes = 0;
    } cases[] = {{Told::LineTwoAndStops, false, 6}, {Told::FirstErrorOnly, false, 2}, {Told::FirstErrorOnly, true, 4},
                 {Told::EveryLine, false, 1}, {Told::EveryLine, false, 4, 4096}};
    for (const auto& c : cases) {
        std::set<std::string> names = identifiers;
        std::set<std::string> reserved = kReserved;
        if (c.Swallower) {
            names.insert(kSwallower);
            reserved.insert(kSwallower);
        }
        for (int i = 0; c.ReadsBytes != 0 && i < 200; ++i)
            names.insert("AA" + std::to_string(i));
        long plainRuns = 0;
        for (const auto& [jobs, exact] : {std::pair{1u, true}, {3u, false}, {1u, false}}) {
            Options options = FakeOptions(true, jobs);
            options.ReduceFileSize = true;
            options.Exact = exact;
            FakeRun run([&](const CompileJob& job) { return KeywordCompiler(job, c.Messages, c.ReadsBytes); }, {}, false,
                        options);
            const std::string what = std::to_string(static_cast<int>(c.Messages)) + (c.Swallower ? " swallows" : "") +
                                     (c.ReadsBytes != 0 ? " reads 4 KB" : "");
            EXPECT_EQ(FindExtensionKeywords(run.Context, names, {"int"}), reserved) << what << exact;
            if (exact)
                plainRuns = run.Fake.Runs();
            else
                EXPECT_LE(run.Fake.Runs() * 4, plainRuns * c.FastRunsPerFour) << what << ", plain " << plainRuns;
        }
    }

    // A force-include file that handles a keyword takes it out.
    const std::string dir = MakeTempDir("fi");
    WriteFile(dir + "/fi.h", "#if 0\nAny other items\nint __sfr; /* __flashy */\n#else\n__weird\n#endif\n");
    std::set<std::string> keywords = kReserved, expected = kReserved;
    RemoveAlreadyHandledKWsInFInc(dir + "/fi.h", keywords);
    expected.erase("__sfr");  // not __flash, of which __flashy is longer, nor __weird, outside the section
    EXPECT_EQ(keywords, expected);
    RemoveTree(dir);
}

TEST(KeywordClassification, EachKeywordByTheFirstTestThatTakesIt)
{
    long plainRuns = 0;
    for (const auto& [jobs, exact, spills] : {std::tuple{1u, true, Spill::None}, {3u, true, Spill::None},
                                              {1u, false, Spill::None}, {3u, false, Spill::None},
                                              {3u, false, Spill::ToBody}, {1u, false, Spill::ToEnd}}) {
        Options options = FakeOptions(true, jobs);
        options.Exact = exact;
        FakeRun run([spills = spills](const CompileJob& job) { return SuiteCompiler(job, spills); }, {}, false, options);
        PersonalityWriter writer(true);
        const KeywordFindings found = ConductKWTests(run.Context, kReserved, Lists(), kSuite);
        EXPECT_EQ(KeywordLines(writer, found.Treatments), (std::set<std::string>{
                                   "-d \"__attribute__=_ignore_paren\"", "-d \"__inline__=inline\"",
                                   "-d __builtin_va_list=char*", "-d __null=((void*)0)", "-d __weird=",
                                   "-d __published="}));
        EXPECT_EQ(found.TypeKeywords, (std::set<std::string>{"__flash"}));
        EXPECT_EQ(found.ForceIncludeEntries, (std::set<std::string>{"__sfr"}));
        EXPECT_TRUE(found.NeedForceInclude);
        EXPECT_EQ(found.DroppedKeywords, (std::vector<std::string>{"__published=", "__weird="}));
        for (const CompileJob& job : run.Fake.Jobs())
            EXPECT_EQ((job.ExtraDefine + job.Source).find("__builtin"), std::string::npos) << "built-ins are never tested";
        if (exact) {
            plainRuns = run.Fake.Runs();
        } else {
            EXPECT_TRUE(spills == Spill::ToEnd || run.Fake.Runs() < plainRuns) << "copies judged together";
        }
    }
}

TEST(KeywordClassification, CppAccessSpecifiersAndAnalyserExtensions)
{
    FakeRun run([](const CompileJob& job) { return SuiteCompiler(job); }, {}, false, FakeOptions(false));
    PersonalityWriter writer(false);
    KeywordLists lists = Lists();
    lists.IgnoreReservedWords = {"__weird"};
    const KeywordFindings found = ConductKWTests(run.Context, kReserved, lists, kSuite);
    const std::set<std::string> lines = KeywordLines(writer, found.Treatments);
    EXPECT_EQ(lines.count("-sd \"__published=public\""), 1u);
    EXPECT_EQ(lines.count("-sd vmt_ignore_paren=_ignore_paren"), 1u);
    EXPECT_EQ(lines.count("-sd __weird="), 0u) << "reserved words of C++ are not classified";
    EXPECT_EQ(found.TypeKeywords.count("__flash"), 1u);
}
