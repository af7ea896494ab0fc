// Include directory discovery on header trees on disk, against a modelled compiler that searches its own list of
// directories, follows #include_next, and reports an error in a header with its "included from" chain in either layout.
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

    // The first directory from `from` on that holds the header.
    std::optional<std::size_t> Find(const std::string& header, std::size_t from) const
    {
        for (std::size_t i = from; i < Search.size(); ++i)
            if (fs::is_regular_file(Search[i] + "/" + header))
                return i;
        return std::nullopt;
    }
    // The header that an include line names, and where the search for it starts.
    std::optional<std::pair<std::string, std::size_t>> Included(const std::string& line, std::size_t dir) const
    {
        for (const std::string directive : {"#include_next <", "#include <"})
            if (line.rfind(directive, 0) == 0)
                return std::pair(line.substr(directive.size(), line.find('>') - directive.size()),
                                 directive == "#include <" ? 0 : dir + 1);
        return std::nullopt;
    }

    struct Place { std::string File; int Line; };

    // Reads each file once (include guards); the error comes at its first line that is no directive.
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
            const auto next = Included(line, dir);
            const std::optional<std::size_t> at = next ? Find(next->first, next->second) : std::nullopt;
            if (next && !at)
                return file + ":" + std::to_string(number) + ":10: fatal error: " + next->first +
                       ": No such file or directory\n";
            chain.push_back({file, number});
            if (std::optional<std::string> error = at ? Read(*at, next->first, chain, seen) : std::nullopt)
                return error;
            chain.pop_back();
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
            if (const auto next = Included(line, dir))
                if (const auto at = Find(next->first, next->second))
                    Defines(*at, next->first, seen, names);
        }
    }

    // "#if A && !B", "#elif B && !A", "#elif !A && !B", A and B "(defined(X) || ...)" or "(0)", each followed by the
    // include of a missing header.
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
        // The caret line is as wide as the name's columns (a letter of two bytes is one, a tab goes on to the next
        // stop); a trigraph draws a warning of its own.
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
        // The compiler's own: a wrapper going on to the C library's copy, and a header of directives that libc has too.
        WriteFile(Root + "/cc/stdint.h", "#ifndef CC_STDINT\n#define CC_STDINT\n#include_next <stdint.h>\n#endif\n");
        WriteFile(Root + "/cc/limits.h", "#define CC_LIMITS 1\n");
        WriteFile(Root + "/cc/stddef.h", "typedef unsigned long size_t;\n");
        // The target's own: nothing in common with the compiler's.
        WriteFile(Root + "/arch/bits/wordsize.h", "#define WORDSIZE 64\n");
        WriteFile(Root + "/arch/config.h", "#define LIBC_CONFIG 2\n");
        // The C library.
        WriteFile(Root + "/libc/stdint.h", "#include <bits/wordsize.h>\ntypedef int int32_t;\n");
        WriteFile(Root + "/libc/limits.h", "#define LIBC_LIMITS 1\n");
        WriteFile(Root + "/libc/config.h", "#define LIBC_CONFIG 1\n");
        // Shared by arch and libc: only the library's copy surely defines a name.
        WriteFile(Root + "/arch/atomic.h", "#ifdef NEVER\n#define ARCH_ATOMIC 1\n#endif\n");
        WriteFile(Root + "/libc/atomic.h", "#define LIBC_ATOMIC 1\n");
        WriteFile(Root + "/libc/stdio.h", "int printf(const char *, ...);\n");
        // Not searched: a copy of a library header, and a header of a long path, each component short enough.
        WriteFile(Root + "/copy/stdio.h", "int printf(const char *, ...);\n");
        const std::string deep = std::string(120, 'd') + "/" + std::string(120, 'e') + "/";
        WriteFile(Root + "/unused/" + deep + "header_of_a_long_relative_path.h", "int unused;\n");
        fs::create_directory_symlink(Root + "/cc", Root + "/cc_link");
    }
    void TearDown() override { RemoveTree(Root); }

    struct Outcome {
        std::vector<std::string> Directories, Said;
        long Runs;
    };
    // The compiler's directories and those given are named below Root.
    Outcome Discover(ModelCompiler compiler, const std::vector<std::string>& given, bool exact = false, unsigned jobs = 1)
    {
        for (std::string& dir : compiler.Search)
            dir = Root + "/" + dir;
        Options options = FakeOptions(true, jobs);
        options.Exact = exact;
        for (const std::string& dir : given)
            options.SearchDirs.push_back(Root + "/" + dir);
        static const std::set<std::string> noIgnored;
        MemoryReporter walked;
        HeaderScanner scanner(noIgnored, walked);
        scanner.ScanSearchDirectories(options.SearchDirs);
        FakeRun run([&](const CompileJob& job) { return compiler(job); }, {}, true, options);
        Outcome outcome{GetIncludes(run.Context, scanner.Take()), run.Said.Take(), run.Fake.Runs()};
        for (std::string& dir : outcome.Directories)
            dir = dir.substr(Root.size() + 1);
        return outcome;
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
    // The wrapper's chain puts cc before libc; arch and libc share atomic.h and config.h, both of directives only.
    // Only libc's atomic.h surely defines a name: defined after the include exactly when the compiler read that copy.
    for (const std::vector<std::string>& searched : {std::vector<std::string>{"cc", "arch", "libc"},
                                                     std::vector<std::string>{"cc", "libc", "arch"}})
        for (bool innermostFirst : {true, false}) {
            ModelCompiler compiler{searched, innermostFirst};
            for (const auto& given : {std::vector<std::string>{"cc", "arch", "libc", "unused", "copy"},
                                      std::vector<std::string>{"copy", "unused", "libc", "cc", "arch"}}) {
                const Outcome outcome = Discover(compiler, given);
                EXPECT_EQ(outcome.Directories, searched) << innermostFirst;
                EXPECT_TRUE(reviews(outcome).empty()) << reviews(outcome)[0];
            }
        }
    // Without atomic.h nothing shows the order: the command line's is kept, and the pair named for review.
    fs::remove(Root + "/arch/atomic.h");
    for (const auto& given : {std::vector<std::string>{"cc", "arch", "libc"}, std::vector<std::string>{"libc", "cc", "arch"}}) {
        const Outcome outcome = Discover(ModelCompiler{{"cc", "arch", "libc"}}, given);
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
    ModelCompiler compiler{{"cc", "arch", "libc"}};
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
    // The compiler reaches its directory by a link, the user names the real one, another link lies in a given tree.
    fs::create_directory_symlink(Root + "/cc", Root + "/libc/cc_again");
    ModelCompiler compiler{{"cc_link", "arch", "libc"}};
    const Outcome outcome = Discover(compiler, {"libc", "arch", "cc"});
    // arch and cc share no header: the user's order for them, each before libc.
    EXPECT_EQ(outcome.Directories, (std::vector<std::string>{"arch", "cc", "libc"}));
}

TEST_F(IncludeOrder, HeadersOfOddNamesInUnsearchedDirectoriesAreNotFound)
{
    // A made-up reference name that drew another message than these (too long a component, other columns than
    // bytes, a trigraph, a ">" ending the include early) made each such header look found.
    for (const char* name : {"\xc3\xbc.h", "t\tab.h", "tri?\?=.h", "a>b.h"})
        WriteFile(Root + "/odd/" + std::to_string(static_cast<unsigned char>(name[1])) + "/" + name, "int odd;\n");
    for (bool exact : {true, false}) {
        ModelCompiler compiler{{"libc"}};
        EXPECT_EQ(Discover(compiler, {"unused", "odd", "libc"}, exact).Directories, std::vector<std::string>{"libc"});
    }
    // A compiler that searches nothing the user gives: said, not passed over.
    const Outcome none = Discover(ModelCompiler{}, {"cc", "libc"});
    EXPECT_TRUE(none.Directories.empty());
    EXPECT_EQ(std::count(none.Said.begin(), none.Said.end(), "Couldn't determine compiler include paths."), 1);
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
        // One answer moves a directory just before the one it must precede; an undecided pair keeps its order, named.
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
