// Include directory discovery on header trees written to disk, against a compiler modelled
// in the test: it searches its own list of directories, follows #include_next, and reports
// an error inside a header with the chain of "included from" lines, in either of the two
// usual layouts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <algorithm>

#include "tests/support/FakeProbe.h"
#include "engine/phases/includes/HeaderScan.h"
#include "engine/phases/includes/IncludeOrder.h"
#include "engine/phases/includes/IncludePaths.h"
#include "engine/core/Reporter.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

struct ModelCompiler {
    std::vector<std::string> Search;  // its own include directories, spelt as it prints them
    bool InnermostFirst = true;       // "In file included from" lines innermost first, or outermost first
    bool HasInclude = true;

    // The index of the first directory from `from` on that holds the header.
    std::optional<std::size_t> Find(const std::string& header, std::size_t from) const
    {
        for (std::size_t i = from; i < Search.size(); ++i)
            if (fs::is_regular_file(Search[i] + "/" + header))
                return i;
        return std::nullopt;
    }

    struct Place { std::string File; int Line; };

    // Reads the file as a preprocessor would, each file once (include guards); the error
    // comes at its first line that is not a directive. The chain holds the includers.
    std::optional<std::string> Read(std::size_t dir, const std::string& header, std::vector<Place>& chain,
                                    std::set<std::string>& seen) const
    {
        const std::string file = Search[dir] + "/" + header;
        if (!seen.insert(file).second)
            return std::nullopt;
        std::ifstream in(file);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (line.empty())
                continue;
            if (line[0] != '#')
                return Error(chain, file, number);
            for (const char* directive : {"#include_next <", "#include <"}) {
                if (line.rfind(directive, 0) != 0)
                    continue;
                const std::string next = line.substr(std::strlen(directive), line.find('>') - std::strlen(directive));
                const std::optional<std::size_t> at = Find(next, std::string(directive) == "#include <" ? 0 : dir + 1);
                if (!at)
                    return file + ":" + std::to_string(number) + ":10: fatal error: " + next + ": No such file or directory\n";
                chain.push_back({file, number});
                if (std::optional<std::string> error = Read(*at, next, chain, seen))
                    return error;
                chain.pop_back();
            }
        }
        return std::nullopt;
    }

    std::string Error(std::vector<Place> chain, const std::string& file, int line) const
    {
        chain.insert(chain.begin(), {"inctest.c", 2});
        if (InnermostFirst)
            std::reverse(chain.begin(), chain.end());
        std::string text;
        for (std::size_t i = 0; i < chain.size(); ++i)
            text += (i == 0 || !InnermostFirst ? "In file included from " : "                 from ") + chain[i].File +
                    ":" + std::to_string(chain[i].Line) + (InnermostFirst && i + 1 < chain.size() ? ",\n" : ":\n");
        return text + file + ":" + std::to_string(line) + ":1: error: expected expression\n";
    }

    static bool TooLong(const std::string& name)
    {
        const fs::path path(name);
        return std::any_of(path.begin(), path.end(), [](const fs::path& part) { return part.native().size() > 255; });
    }

    // The names defined once the header is read, following its includes.
    void Defines(std::size_t dir, const std::string& header, std::set<std::string>& seen, std::set<std::string>& names) const
    {
        const std::string file = Search[dir] + "/" + header;
        if (!seen.insert(file).second)
            return;
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("#define ", 0) == 0)
                names.insert(line.substr(8, line.find(' ', 8) - 8));
            for (const char* directive : {"#include_next <", "#include <"})
                if (line.rfind(directive, 0) == 0) {
                    const std::string next = line.substr(std::strlen(directive), line.find('>') - std::strlen(directive));
                    if (const auto at = Find(next, std::string(directive) == "#include <" ? 0 : dir + 1))
                        Defines(*at, next, seen, names);
                }
        }
    }

    // "#if A && !B", "#elif B && !A", "#elif !A && !B", A and B "(defined(X) || ...)" or
    // "(0)", each followed by the include of a missing header.
    CompileResult DefinedNamesTest(const std::string& source, std::size_t at) const
    {
        std::set<std::string> names, seen;
        const std::size_t open = source.find('<');
        Defines(at, source.substr(open + 1, source.find('>') - open - 1), seen, names);
        const std::vector<std::string> lines = Lines(source);
        auto any = [&](const std::string& list) {
            for (std::size_t p = list.find("defined("); p != std::string::npos; p = list.find("defined(", p + 1))
                if (names.count(list.substr(p + 8, list.find(')', p) - p - 8)) != 0)
                    return true;
            return false;
        };
        for (std::size_t i = 1; i + 1 < lines.size(); i += 2) {
            std::string condition = lines[i].substr(lines[i].find(' ') + 1);
            bool holds = true;
            for (std::size_t from = 0; from <= condition.size();) {
                std::size_t to = condition.find(" && ", from);
                if (to == std::string::npos)
                    to = condition.size();
                const std::string term = condition.substr(from, to - from);
                holds = holds && (term[0] == '!' ? !any(term) : any(term));
                from = to + 4;
            }
            if (holds) {
                const std::string missing = lines[i + 1].substr(10, lines[i + 1].size() - 11);
                return Reject("inctest.c:" + std::to_string(i + 2) + ":10: fatal error: " + missing + ": No such file or directory\n");
            }
        }
        return Accept();
    }

    CompileResult operator()(const CompileJob& job) const
    {
        const std::string& source = job.Source;
        if (source.find("__has_include") != std::string::npos) {
            if (!HasInclude)
                return Accept();
            std::string object = "\x7f" "ELF";
            for (std::size_t at = source.find("#if __has_include("); at != std::string::npos;
                 at = source.find("#if __has_include(", at + 1)) {
                const std::size_t open = at + 18;
                const std::size_t close = source.find(')', open);
                const std::string name = source.substr(open + 1, close - open - 2);
                const bool found = source[open] == '"' ? name == job.FileName : !TooLong(name) && Find(name, 0);
                const std::size_t var = source.find("int ", close) + 4;
                if (found)
                    object += source.substr(var, source.find(' ', var) - var) + '\0';
            }
            return Accept(object);
        }
        const std::size_t open = source.find('<');
        const std::string header = source.substr(open + 1, source.find('>') - open - 1);
        const std::optional<std::size_t> at = TooLong(header) ? std::nullopt : Find(header, 0);
        // The caret line is as wide as the name's columns: a letter of two bytes is one, a
        // tab goes on to the next stop; a trigraph draws a warning of its own.
        std::size_t columns = 0;
        for (const char c : header)
            columns = c == '\t' ? columns / 8 * 8 + 8 : columns + ((static_cast<unsigned char>(c) & 0xC0) != 0x80);
        const std::string trigraph = header.find("??") != std::string::npos ? "inctest.c:1:12: warning: trigraph ignored\n" : "";
        if (!at)
            return Reject(trigraph + "inctest.c:1:10: fatal error: " + header + ": " +
                          (TooLong(header) ? "File name too long" : "No such file or directory") + "\n    1 | #include <" +
                          header + ">\n      |          ^" + std::string(columns + 1, '~') + "\n");
        const std::size_t where = *at;
        if (source.find("\n#if (") != std::string::npos)
            return DefinedNamesTest(source, where);
        if (source.rfind("int x[", 0) != 0)
            return Reject("inctest.c:2:1: error: unknown type name 'this'\n");
        std::vector<Place> chain;
        std::set<std::string> seen;
        return Reject(Read(where, header, chain, seen).value_or("inctest.c:3: error: expected expression at end of input\n"));
    }
};

class IncludeOrder : public testing::Test {
protected:
    void SetUp() override
    {
        Root = MakeTempDir("order");
        // A compiler's own directory: a wrapper that goes on to the C library's copy, and a
        // header of preprocessor lines only that the library has too.
        WriteFile(Root + "/cc/stdint.h", "#ifndef CC_STDINT\n#define CC_STDINT\n#include_next <stdint.h>\n#endif\n");
        WriteFile(Root + "/cc/limits.h", "#define CC_LIMITS 1\n");
        WriteFile(Root + "/cc/stddef.h", "typedef unsigned long size_t;\n");
        // The target's own directory: nothing in common with the compiler's.
        WriteFile(Root + "/arch/bits/wordsize.h", "#define WORDSIZE 64\n");
        WriteFile(Root + "/arch/config.h", "#define LIBC_CONFIG 2\n");
        // The C library.
        WriteFile(Root + "/libc/stdint.h", "#include <bits/wordsize.h>\ntypedef int int32_t;\n");
        WriteFile(Root + "/libc/limits.h", "#define LIBC_LIMITS 1\n");
        WriteFile(Root + "/libc/config.h", "#define LIBC_CONFIG 1\n");
        // The first header they share: only the library's copy surely defines a name.
        WriteFile(Root + "/arch/atomic.h", "#ifdef NEVER\n#define ARCH_ATOMIC 1\n#endif\n");
        WriteFile(Root + "/libc/atomic.h", "#define LIBC_ATOMIC 1\n");
        WriteFile(Root + "/libc/stdio.h", "int printf(const char *, ...);\n");
        // Not searched: a copy of a library header, and headers of a long relative path,
        // each component short enough.
        WriteFile(Root + "/copy/stdio.h", "int printf(const char *, ...);\n");
        const std::string deep = std::string(120, 'd') + "/" + std::string(120, 'e') + "/";
        WriteFile(Root + "/unused/" + deep + "header_of_a_long_relative_path.h", "int unused;\n");
        fs::create_directory_symlink(Root + "/cc", Root + "/cc_link");
    }
    void TearDown() override { RemoveTree(Root); }

    struct Outcome {
        std::vector<std::string> Directories;
        std::vector<std::string> Said;
        long Runs;
    };
    Outcome Discover(const ModelCompiler& compiler, const std::vector<std::string>& given, bool exact = false,
                     unsigned jobs = 1)
    {
        Options options = FakeOptions(true, jobs);
        options.Exact = exact;
        for (const std::string& dir : given)
            options.SearchDirs.push_back(Root + "/" + dir);
        static const std::set<std::string> noIgnored;
        MemoryReporter walked;
        HeaderScanner scanner(noIgnored, walked);
        scanner.ScanSearchDirectories(options.SearchDirs);
        FakeRun run([&](const CompileJob& job) { return compiler(job); }, {}, true, options);
        Outcome outcome{GetIncludes(run.Context, scanner.Take()), {}, 0};
        outcome.Said = run.Said.Take();
        outcome.Runs = run.Fake.Runs();
        for (std::string& dir : outcome.Directories)
            dir = dir.substr(Root.size() + 1);
        return outcome;
    }
    std::vector<std::string> Searching(const std::vector<std::string>& dirs) const
    {
        std::vector<std::string> paths;
        for (const std::string& dir : dirs)
            paths.push_back(Root + "/" + dir);
        return paths;
    }

    std::string Root;
};

}  // namespace

TEST_F(IncludeOrder, TheCompilersSearchOrderWhateverTheOrderGiven)
{
    auto reviews = [](const Outcome& outcome) {
        std::vector<std::string> lines;
        std::copy_if(outcome.Said.begin(), outcome.Said.end(), std::back_inserter(lines),
                     [](const std::string& line) { return line.find("may need to be reviewed") != std::string::npos; });
        return lines;
    };
    // The wrapper's chain puts cc before libc; arch and libc share atomic.h and config.h,
    // whose copies hold preprocessor lines only. The copies of config.h define the same
    // name; of atomic.h only the library's defines one for sure, which is defined after the
    // include exactly when the compiler read that copy, whichever it searches first.
    for (const std::vector<std::string>& searched : {std::vector<std::string>{"cc", "arch", "libc"},
                                                     std::vector<std::string>{"cc", "libc", "arch"}})
        for (bool innermostFirst : {true, false}) {
            ModelCompiler compiler{Searching(searched), innermostFirst};
            for (const auto& given : {std::vector<std::string>{"cc", "arch", "libc", "unused", "copy"},
                                      std::vector<std::string>{"copy", "unused", "libc", "cc", "arch"}}) {
                const Outcome outcome = Discover(compiler, given);
                EXPECT_EQ(outcome.Directories, searched) << innermostFirst;
                EXPECT_TRUE(reviews(outcome).empty()) << reviews(outcome)[0];
            }
        }
    // Without atomic.h nothing shows the order: the command line's is kept, and the pair
    // is named for review with the header.
    fs::remove(Root + "/arch/atomic.h");
    for (const auto& given : {std::vector<std::string>{"cc", "arch", "libc"}, std::vector<std::string>{"libc", "cc", "arch"}}) {
        const Outcome outcome = Discover(ModelCompiler{Searching({"cc", "arch", "libc"})}, given);
        const std::vector<std::string> inGivenOrder =
            given[0] == "cc" ? given : std::vector<std::string>{"cc", "libc", "arch"};
        EXPECT_EQ(outcome.Directories, inGivenOrder);
        ASSERT_EQ(reviews(outcome).size(), 1u);
        EXPECT_NE(reviews(outcome)[0].find("\"" + Root + "/" + inGivenOrder[1] + "\" or \"" + Root + "/" + inGivenOrder[2] +
                                           "\" first, and both hold \"config.h\";"),
                  std::string::npos)
            << reviews(outcome)[0];
    }
}

TEST_F(IncludeOrder, BatchesAndJobsGiveThePlainAnswerWithFewerCompiles)
{
    ModelCompiler compiler{Searching({"cc", "arch", "libc"})};
    const std::vector<std::string> given{"libc", "unused", "arch", "cc"};
    const Outcome plain = Discover(compiler, given, true);
    for (unsigned jobs : {1u, 3u}) {
        const Outcome fast = Discover(compiler, given, false, jobs);
        EXPECT_EQ(fast.Directories, plain.Directories);
        EXPECT_LT(fast.Runs, plain.Runs);
    }
    ModelCompiler without = compiler;
    without.HasInclude = false;
    const Outcome fallback = Discover(without, given);
    EXPECT_EQ(fallback.Directories, plain.Directories);
    EXPECT_EQ(fallback.Runs, plain.Runs + 1) << "one compile finds that __has_include is missing";
}

TEST_F(IncludeOrder, ADirectoryIsKnownByItsFileNotItsName)
{
    // The compiler reaches its own directory through a link; the user names the real one,
    // and another link to it lies in a tree the user gives too.
    fs::create_directory_symlink(Root + "/cc", Root + "/libc/cc_again");
    ModelCompiler compiler{Searching({"cc_link", "arch", "libc"})};
    const Outcome outcome = Discover(compiler, {"libc", "arch", "cc"});
    // arch and cc share no header: the user's order for them, each before libc.
    EXPECT_EQ(outcome.Directories, (std::vector<std::string>{"arch", "cc", "libc"}));
}

TEST_F(IncludeOrder, HeadersOfOddNamesInUnsearchedDirectoriesAreNotFound)
{
    // The made-up reference name had only the length of the header's path: as one component
    // of more than 255 bytes it drew "File name too long", and a name that the compiler shows
    // in other columns than bytes (a letter of two bytes, a tab), with a trigraph, or with a
    // ">" that ends the include early drew another message; each such header looked found.
    for (const char* name : {"\xc3\xbc.h", "t\tab.h", "tri?\?=.h", "a>b.h"})
        WriteFile(Root + "/odd/" + std::to_string(static_cast<unsigned char>(name[1])) + "/" + name, "int odd;\n");
    for (bool exact : {true, false}) {
        ModelCompiler compiler{Searching({"libc"})};
        EXPECT_EQ(Discover(compiler, {"unused", "odd", "libc"}, exact).Directories, std::vector<std::string>{"libc"});
    }
}

TEST_F(IncludeOrder, NoDirectorySearchedIsSaid)
{
    const Outcome outcome = Discover(ModelCompiler{}, {"cc", "libc"});
    EXPECT_TRUE(outcome.Directories.empty());
    EXPECT_NE(std::find(outcome.Said.begin(), outcome.Said.end(), "Couldn't determine compiler include paths."),
              outcome.Said.end());
}

TEST(SearchOrder, DecidedPairsFirstThenTheCommandLine)
{
    using Pairs = std::vector<DirectoryPair>;
    const struct {
        std::size_t Count;
        std::vector<std::size_t> Ranks;
        Pairs Decided, Matters;
        std::vector<std::size_t> Order;
        Pairs Undecided;
    } cases[] = {
        // Nothing decided: the command line's order, equal ranks by index.
        {3, {2, 0, 0}, {}, {}, {1, 2, 0}, {}},
        // A chain of answers against the command line; the pair 0-2 follows from 0-1 and 1-2.
        {3, {0, 1, 2}, {{2, 1}, {1, 0}}, {{0, 1}, {1, 2}, {0, 2}}, {2, 1, 0}, {}},
        // One answer moves a directory just before the one it must precede; the pair that
        // nothing decides keeps the command line's order and is named.
        {3, {0, 1, 2}, {{2, 0}}, {{2, 0}, {1, 0}}, {2, 0, 1}, {{0, 1}}},
        // Answers that contradict each other count for nothing; their pairs are named.
        {3, {0, 1, 2}, {{1, 0}, {2, 1}, {0, 2}}, {{0, 1}}, {0, 1, 2}, {{0, 1}, {0, 2}, {1, 2}}},
    };
    for (const auto& c : cases) {
        const SearchOrder order = OrderSearchDirectories(c.Count, c.Ranks, c.Decided, c.Matters);
        EXPECT_EQ(order.Order, c.Order);
        EXPECT_EQ(order.Undecided, c.Undecided);
    }
}
