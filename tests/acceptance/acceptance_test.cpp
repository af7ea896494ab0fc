// The built programs against real compilers, one table row each, every fact held against
// the compiler's own answers: its #include <...> search list (-E -v), its list of predefined
// macros (-dM -E), and a source of assertions about sizes, alignments and signedness that
// the compiler itself compiles. Then fake compilers that each show one hostile behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "HeaderScan.h"
#include "KeywordLists.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using kxtest::RunResult;

namespace {

// How a keyword must come out.
enum class T {
    Alias,     // D "K=value": a spelling of a standard or extension keyword
    Drop,      // D "K=": a test accepted it as a word the analyser can leave out
    Paren,     // D "K=_ignore_paren"
    Asm,       // D "K=asm"
    IntType,   // D "K=[unsigned ]T", T an integer base type of at least `Value` bits
    FloatType, // D "K=T", T a floating base type
    AnyType,   // D "K=T" for some base type
    Builtin,   // D Value (from builtin_replace_keywords.txt)
    Replace,   // D K=Value (from the replace list)
    Nothing,   // D K=
};

struct Row {
    const char* Keyword;
    T How;
    const char* Value;
    bool Required;  // the run must find the keyword at all
};

// What a row expects beyond the compiler's own answers. The run itself is a fixture of
// tests/personalities, whose arguments (args.txt) say how the compiler was called.
struct Compiler {
    Compiler(std::string name, std::vector<Row> keywords, std::vector<std::string> suiteLines, bool compareJobs)
        : Name(std::move(name)), Keywords(std::move(keywords)), SuiteLines(std::move(suiteLines)),
          CompareJobs(compareJobs) {}
    std::string Name;
    std::vector<Row> Keywords;
    std::vector<std::string> SuiteLines;  // general suite lines the compiler must earn
    bool CompareJobs = false;             // -j1 must give the same bytes as the default
    // Filled from the fixture's arguments:
    std::string Command;
    bool IsC = true;
    bool Cross = false;
    std::vector<std::string> Args;
    std::vector<std::string> Dirs;
    std::vector<std::string> Switches;
};

void PrintTo(const Compiler& compiler, std::ostream* out)
{
    *out << compiler.Name;
}

std::vector<Row> GnuCRows(bool allRequired)
{
    std::vector<Row> rows{
        {"__inline", T::Alias, "inline", true}, {"__inline__", T::Alias, "inline", true},
        {"__restrict", T::Alias, "restrict", false}, {"__restrict__", T::Alias, "restrict", false},
        {"__const", T::Alias, "const", false}, {"__volatile__", T::Alias, "volatile", true},
        {"__signed__", T::Alias, "signed", false}, {"__typeof__", T::Alias, "typeof", true},
        {"__alignof__", T::Alias, "alignof", true}, {"__asm__", T::Alias, "asm", true},
        {"asm", T::Asm, "", true}, {"__attribute__", T::Paren, "", true},
        {"__extension__", T::Drop, "", true}, {"__thread", T::Drop, "", false},
        {"__real__", T::Drop, "", false}, {"__auto_type", T::Replace, "auto", true},
        {"__null", T::Replace, "((void*)0)", true}, {"__func__", T::Replace, "_VMT_STRINGIFY(__func__)", true},
        {"__builtin_va_list", T::Builtin, "__builtin_va_list=char*", true},
        {"__builtin_offsetof", T::Builtin, "\"__builtin_offsetof(t,m)=((unsigned long)&((t*)0)->m)\"", true},
    };
    for (Row& row : rows)
        row.Required = row.Required && allRequired;
    return rows;
}

std::vector<Row> With(std::vector<Row> rows, const std::vector<Row>& more)
{
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

std::vector<std::string> Plus(std::vector<std::string> lines, const std::string& more)
{
    lines.push_back(more);
    return lines;
}


std::vector<Compiler> CompilerTable()
{
    const std::vector<std::string> gnuC{"-slc+", "-ex longlong", "-bin+", "-dollar+", "-es+", "-zla+", "-anon+",
                                        "-cr+", "-se+"};
    return {
        {"gcc", With(GnuCRows(true), {{"__int128", T::IntType, "64", true}, {"_Float128", T::FloatType, "", true}}),
         Plus(gnuC, "-bitsu-"), true},
        {"gxx",
         {{"__inline__", T::Alias, "inline", true}, {"__restrict__", T::Alias, "restrict", true},
          {"__asm__", T::Alias, "asm", true}, {"__attribute__", T::Paren, "", true},
          {"__extension__", T::Drop, "", true}, {"__null", T::Replace, "0", true},
          {"__int128", T::IntType, "64", true}, {"__builtin_va_list", T::Builtin, "__builtin_va_list=char*", true}},
         {"-bin+", "-dollar+", "-zla+", "-cr+", "-se+", "-vla+", "-bitsu-"}, true},
        {"clang",
         With(GnuCRows(false), {{"__attribute__", T::Paren, "", true}, {"__inline__", T::Alias, "inline", true},
                                {"__extension__", T::Drop, "", true}, {"__int128", T::IntType, "64", true},
                                {"_Nonnull", T::Drop, "", false}}),
         gnuC, false},
        // Probed with its own directories only: the keywords that no header names come from
        // the shipped candidate list.
        {"avr-gcc",
         With(GnuCRows(false), {{"__flash", T::Drop, "", true}, {"__flash1", T::Drop, "", true},
                                {"__memx", T::Drop, "", true}, {"__int24", T::IntType, "16", true},
                                {"__uint24", T::IntType, "16", true}, {"__flash5", T::Nothing, "", true}}),
         {"-slc+", "-dollar-", "-cr+"}, true},
        // The register keywords are the force-include file's: no line classifies them.
        {"sdcc-mcs51",
         {{"__data", T::Drop, "", true}, {"__xdata", T::Drop, "", true}, {"__code", T::Drop, "", true},
          {"__at", T::Paren, "", true}, {"__interrupt", T::Paren, "", true}, {"__using", T::Paren, "", true},
          {"__critical", T::Drop, "", true}, {"__reentrant", T::Drop, "", true}, {"__asm", T::Asm, "", true}},
         {"-slc+", "-ex longlong", "-bin+", "-dollar-", "-es-", "-zla+", "-cr-", "-se-"}, true},
        {"arm-none-eabi-gcc", With(GnuCRows(true), {{"__int128", T::Nothing, "", false}}), {"-dollar+", "-cr+"}, true},
        {"m68k-linux-gnu-gcc", GnuCRows(false), {"-cr+"}, false},
    };
}

// One finished run of a row.
struct ProbeRun {
    RunResult Result;
    std::string Personality;
    std::vector<std::string> Lines;
    std::vector<std::string> Dirs;  // the include directories given
};

std::vector<std::string> WithoutRunDirLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (const std::string& line : kxtest::Lines(text))
        if (line.rfind("kestrix-run: run directory", 0) != 0)
            lines.push_back(line);
    return lines;
}

std::string FixtureDir(const Compiler& compiler)
{
    return std::string(KESTRIX_PERSONALITIES_DIR) + "/" + compiler.Name;
}

// Fills the row from the fixture's arguments.
void ReadArguments(Compiler& compiler)
{
    compiler.Args = kxtest::Lines(kxtest::ReadFile(FixtureDir(compiler) + "/args.txt"));
    ASSERT_GE(compiler.Args.size(), 8u);
    compiler.IsC = compiler.Args[0] == "zanth";
    compiler.Cross = compiler.Args[1] == "ccmp";
    compiler.Command = compiler.Args[2];
    for (std::size_t i = 8; i + 1 < compiler.Args.size(); ++i) {
        if (compiler.Args[i] == "-i")
            compiler.Dirs.push_back(compiler.Args[i + 1]);
        else if (compiler.Args[i] == "-xs")
            compiler.Switches.push_back(compiler.Args[i + 1]);
    }
}

ProbeRun FromFixture(const Compiler& compiler)
{
    ProbeRun run;
    run.Result.Status = 0;  // the fixture fails when the run does
    run.Result.Stdout = kxtest::ReadFile(FixtureDir(compiler) + "/run.log");
    run.Personality = kxtest::ReadFile(FixtureDir(compiler) + "/personality.p_c");
    run.Lines = kxtest::Lines(run.Personality);
    run.Dirs = compiler.Dirs;
    return run;
}

// The same run again in a directory of its own, with more options; its run directory is
// written as RUN in the personality and the messages, so that runs compare.
ProbeRun Again(const Compiler& compiler, const std::vector<std::string>& more)
{
    const std::string root = kxtest::MakeTempDir("again");
    std::vector<std::string> argv{KESTRIX_RUN_SCRIPT, "--run-dir", root + "/run"};
    argv.insert(argv.end(), compiler.Args.begin(), compiler.Args.end());
    argv.insert(argv.end(), more.begin(), more.end());
    ProbeRun run;
    run.Result = kxtest::RunProgram(argv, root);
    run.Personality = kxtest::ReadFile(root + "/run/personality.p_c");
    kxtest::RemoveTree(root);
    for (std::string* text : {&run.Personality, &run.Result.Stdout})
        for (std::size_t at = text->find(root + "/run"); at != std::string::npos; at = text->find(root + "/run"))
            text->replace(at, root.size() + 4, "RUN");
    return run;
}

std::string WithRunDir(std::string text, const Compiler& compiler)
{
    const std::string dir = FixtureDir(compiler);
    for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir))
        text.replace(at, dir.size(), "RUN");
    return text;
}

bool Has(const ProbeRun& run, const std::string& line)
{
    return std::find(run.Lines.begin(), run.Lines.end(), line) != run.Lines.end();
}

// The values of the lines "PREFIX NAME=N".
std::map<std::string, int> Values(const ProbeRun& run, const std::string& prefix)
{
    std::map<std::string, int> values;
    for (const std::string& line : run.Lines)
        if (line.rfind(prefix, 0) == 0 && line.find('=') != std::string::npos)
            values[line.substr(prefix.size(), line.find('=') - prefix.size())] = std::stoi(line.substr(line.find('=') + 1));
    return values;
}

// ---- include directories ------------------------------------------------------------------

std::vector<std::string> IncludeLines(const ProbeRun& run)
{
    std::vector<std::string> dirs;
    for (const std::string& line : run.Lines)
        for (const char* prefix : {"-i \"", "-si \""})
            if (line.rfind(prefix, 0) == 0)
                dirs.push_back(line.substr(std::string(prefix).size(), line.size() - std::string(prefix).size() - 1));
    return dirs;
}

std::vector<std::string> SdccSearchList(const std::string& command)
{
    std::vector<std::string> dirs;
    bool inIncludes = false;
    for (const std::string& line : kxtest::Lines(kxtest::RunShell(command + " --print-search-dirs").Stdout)) {
        if (!line.empty() && line.back() == ':') {
            inIncludes = line == "includedir:";
            continue;
        }
        std::error_code ec;
        const fs::path dir = fs::canonical(line, ec);
        if (inIncludes && !ec && std::find(dirs.begin(), dirs.end(), dir.string()) == dirs.end())
            dirs.push_back(dir.string());
    }
    return dirs;
}

// A directory matters for the search only when a file below it has content.
bool HoldsFiles(const std::string& dir)
{
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec) && it->file_size(ec) > 0)
            return true;
    return false;
}

void CheckIncludeDirectories(const Compiler& compiler, const ProbeRun& run)
{
    const std::vector<std::string> own = compiler.Command.rfind("sdcc", 0) == 0
                                             ? SdccSearchList(compiler.Command)
                                             : kxtest::SearchList(compiler.Command, compiler.IsC ? "c" : "c++");
    // What the compiler searches among the directories given that hold files, in its order,
    // each real directory once.
    std::vector<std::string> expected;
    for (const std::string& dir : own) {
        const bool given = std::any_of(run.Dirs.begin(), run.Dirs.end(), [&](const std::string& d) {
            std::error_code ec;
            return fs::equivalent(d, dir, ec);
        });
        if (given && HoldsFiles(dir))
            expected.push_back(dir);
    }
    std::vector<std::string> written;
    for (const std::string& dir : IncludeLines(run)) {
        std::error_code ec;
        written.push_back(fs::canonical(dir, ec).string());
    }
    EXPECT_EQ(written, expected) << "the include directories in the compiler's search order";
}

// ---- predefined macros --------------------------------------------------------------------

bool IsIdentifierChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The compiler's object-like predefined macros, name to value.
std::map<std::string, std::string> MacroList(const Compiler& compiler)
{
    const std::string language = compiler.IsC ? "c" : "c++";
    std::string switches;
    for (const std::string& sw : compiler.Switches)
        for (char c : sw)
            switches += c == ',' ? ' ' : c;
    const RunResult listed = kxtest::RunShell(compiler.Command + " " + switches + " -dM -E -x " + language + " /dev/null");
    std::map<std::string, std::string> macros;
    static const std::regex define("#define ([A-Za-z_][A-Za-z0-9_]*)( (.*))?");
    for (const std::string& line : kxtest::Lines(listed.Stdout)) {
        std::smatch match;
        if (std::regex_match(line, match, define))
            macros[match[1]] = match[3];
    }
    return macros;
}

// A listed value with the listed macros in it expanded, as the compiler does before it
// stringifies the value.
std::string Expand(const std::string& value, const std::map<std::string, std::string>& macros,
                   std::set<std::string> active = {})
{
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        if (!IsIdentifierChar(value[i]) || std::isdigit(static_cast<unsigned char>(value[i])) ||
            (i > 0 && IsIdentifierChar(value[i - 1]))) {
            out += value[i++];
            continue;
        }
        std::size_t end = i;
        while (end < value.size() && IsIdentifierChar(value[end]))
            ++end;
        const std::string word = value.substr(i, end - i);
        const auto macro = macros.find(word);
        if (macro != macros.end() && active.insert(word).second) {
            out += Expand(macro->second, macros, active);
            active.erase(word);
        } else {
            out += word;
        }
        i = end;
    }
    return out;
}

std::string ExpectedEntry(const std::string& name, std::string value)
{
    const std::size_t first = value.find('"');
    if (first != std::string::npos) {
        value.replace(first, 1, "_VMT_STRINGIFY(");
        value.replace(value.rfind('"'), 1, ")");
    }
    const std::string entry = name + "=" + value;
    return value.find(' ') == std::string::npos ? entry : "\"" + entry + "\"";
}

void CheckMacros(const Compiler& compiler, const ProbeRun& run)
{
    const std::string define = compiler.IsC ? "-d " : "-sd ";
    std::set<std::string> entries;
    for (const std::string& line : run.Lines) {
        if (line.rfind(define, 0) == 0)
            entries.insert(line.substr(define.size()));
        else if (!entries.empty())
            break;  // the macro phase's block ends; the keyword phase writes defines of its own
    }
    // Every listed object-like macro that the headers name must have its entry.
    const KeywordLists lists = LoadKeywordLists(compiler.IsC, std::string(KESTRIX_DATA_DIR) + "/lists");
    HeaderScanner scanner(lists.IgnoreKeywords);
    for (const std::string& dir : run.Dirs)
        scanner.ScanDirectory(dir);
    const std::map<std::string, std::string> listed = MacroList(compiler);
    std::size_t expected = 0;
    for (const auto& [name, value] : listed) {
        if (scanner.Trees().Identifiers.count(name) == 0 || lists.LanguageKeywords.count(name) != 0)
            continue;
        ++expected;
        EXPECT_TRUE(entries.count(ExpectedEntry(name, Expand(value, listed))) != 0 ||
                    entries.count(ExpectedEntry(name, value)) != 0)
            << "no entry for " << name << "=" << value;
    }
    EXPECT_GT(expected, 0u);
    // And nothing the compiler does not define, each name once.
    std::set<std::string> names;
    for (const std::string& entry : entries) {
        const std::size_t start = entry[0] == '"' ? 1 : 0;
        const std::string name = entry.substr(start, entry.find('=') - start);
        EXPECT_TRUE(name == "_VMT_STRINGIFY(x)" || listed.count(name) != 0 || name == "__func__")
            << "unexpected define " << entry;
        EXPECT_TRUE(names.insert(name).second || name == "_VMT_STRINGIFY(x)") << name << " has two entries";
    }
}

// ---- types --------------------------------------------------------------------------------

void CheckTypes(const Compiler& compiler, const ProbeRun& run)
{
    struct Spelling {
        const char* Name;
        const char* CType;
        const char* Member;
    };
    static const Spelling kSpellings[] = {
        {"char", "char", "char d"}, {"int", "int", "int d"}, {"short", "short", "short d"},
        {"long", "long", "long d"}, {"longlong", "long long", "long long d"}, {"float", "float", "float d"},
        {"double", "double", "double d"}, {"ldouble", "long double", "long double d"},
        {"dataptr", "int*", "int* d"}, {"codeptr", "void (*)()", "void (*d)()"},
    };
    const std::map<std::string, int> sizes = Values(run, "-s ");
    const std::map<std::string, int> aligns = Values(run, "-a ");
    // The object-size method of cross compilers reports at most 8.
    const std::string cap = compiler.Cross ? "8" : "1024";
    std::string source = "#include <stddef.h>\n";
    int n = 0;
    auto assertion = [&](const std::string& condition) {
        source += "typedef char check_" + std::to_string(++n) + "[(" + condition + ") ? 1 : -1];\n";
    };
    for (const Spelling& type : kSpellings) {
        // A type the compiler does not have (sdcc's long double) keeps its default size.
        if (sizes.count(type.Name) == 0 ||
            run.Result.Stdout.find("Couldn't determine size of " + std::string(type.CType) + " ") != std::string::npos)
            continue;
        const std::string offset = "offsetof(struct s_" + std::string(type.Name) + ", d)";
        source += "struct s_" + std::string(type.Name) + " { char c; " + type.Member + "; };\n";
        assertion("sizeof(" + std::string(type.CType) + ") * 8 == " + std::to_string(sizes.at(type.Name)));
        assertion("(" + offset + " > " + cap + " ? " + cap + " : " + offset + ") == " + std::to_string(aligns.at(type.Name)));
    }
    EXPECT_GE(sizes.size(), 9u);
    if (compiler.IsC) {
        assertion(std::string("((char)-1 < 0) == ") + (Has(run, "-u-") ? "1" : "0"));
        EXPECT_TRUE(Has(run, "-u-") != Has(run, "-u+"));
    }
    for (const std::string& line : run.Lines) {
        static const std::regex intrinsic("-it \"(\\w+)=(unsigned )?(.+)\"");
        std::smatch match;
        if (!std::regex_match(line, match, intrinsic) || (match[1] == "wchar_t" && !compiler.IsC))
            continue;
        const auto spelling = std::find_if(std::begin(kSpellings), std::end(kSpellings),
                                           [&](const Spelling& s) { return s.Name == match[3]; });
        ASSERT_NE(spelling, std::end(kSpellings)) << line;
        assertion("sizeof(" + match[1].str() + ") == sizeof(" + spelling->CType + ")");
        assertion("((" + match[1].str() + ")-1 < 0) == " + (match[2].matched ? "0" : "1"));
    }
    const std::string dir = kxtest::MakeTempDir("types");
    kxtest::WriteFile(dir + "/check.c", source);
    std::string switches;
    for (const std::string& sw : compiler.Switches)
        if (sw.find("mmcu") != std::string::npos)
            switches = " " + sw;
    const RunResult check = kxtest::RunShell(compiler.Command + switches + " -c -x " + (compiler.IsC ? "c" : "c++") +
                                             " check.c 2>&1", dir);
    kxtest::RemoveTree(dir);
    EXPECT_EQ(check.Status, 0) << "the compiler disagrees:\n" << source << check.Stdout;
}

// ---- keywords -----------------------------------------------------------------------------

int IntegerBits(std::string type)
{
    if (type.rfind("unsigned ", 0) == 0)
        type.erase(0, 9);
    static const std::map<std::string, int> minimum{{"char", 8}, {"short", 16}, {"int", 16}, {"long", 32}, {"long long", 64}};
    const auto it = minimum.find(type);
    return it == minimum.end() ? -1 : it->second;
}

void CheckKeywords(const Compiler& compiler, const ProbeRun& run)
{
    const std::string d = compiler.IsC ? "-d " : "-sd ";
    auto quoted = [&](const std::string& text) { return d + "\"" + text + "\""; };
    for (const Row& row : compiler.Keywords) {
        SCOPED_TRACE(row.Keyword);
        const std::string k = row.Keyword;
        std::vector<std::string> lines;
        for (const std::string& line : run.Lines)
            for (const std::string& start : {d + "\"" + k + "=", d + k + "=", d + "\"" + k + "(", d + k + "("})
                if (line.rfind(start, 0) == 0) {
                    lines.push_back(line);
                    break;
                }
        if (lines.empty()) {
            EXPECT_FALSE(row.Required) << k << " has no line";
            continue;
        }
        ASSERT_EQ(lines.size(), 1u) << "more than one line defines " << k;
        const std::string& line = lines.front();
        const std::string typePrefix = d + "\"" + k + "=";
        const std::string type = line.rfind(typePrefix, 0) == 0 && line.back() == '"'
                                     ? line.substr(typePrefix.size(), line.size() - typePrefix.size() - 1)
                                     : std::string();
        switch (row.How) {
        case T::Alias: EXPECT_EQ(line, quoted(k + "=" + row.Value)); break;
        case T::Drop: EXPECT_EQ(line, quoted(k + "=")); break;
        case T::Paren: EXPECT_EQ(line, quoted(k + "=_ignore_paren")); break;
        case T::Asm: EXPECT_EQ(line, quoted(k + "=asm")); break;
        case T::Builtin: EXPECT_EQ(line, d + row.Value); break;
        case T::Replace: EXPECT_EQ(line, d + k + "=" + row.Value); break;
        case T::Nothing: EXPECT_EQ(line, d + k + "="); break;
        case T::IntType: EXPECT_GE(IntegerBits(type), std::stoi(row.Value)) << line; break;
        case T::FloatType: EXPECT_TRUE(type == "float" || type == "double" || type == "long double") << line; break;
        case T::AnyType: EXPECT_FALSE(type.empty()) << line; break;
        }
    }
    for (const std::string& line : compiler.SuiteLines)
        EXPECT_TRUE(Has(run, line)) << line;
    for (const std::string& line : run.Lines) {
        if (compiler.Cross) {
            EXPECT_EQ(line.find("-bitsu"), std::string::npos) << "a cross compiler's programs never run";
        }
    }
}

class Compilers : public testing::TestWithParam<Compiler> {};

std::string RowName(const testing::TestParamInfo<Compiler>& info)
{
    std::string name = info.param.Name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

std::vector<std::string> Listing(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_P(Compilers, PersonalityHoldsTheCompilersOwnAnswers)
{
    Compiler compiler = GetParam();
    if (kxtest::FileExists(FixtureDir(compiler) + "/missing.txt"))
        GTEST_SKIP() << kxtest::ReadFile(FixtureDir(compiler) + "/missing.txt") << "(CI installs it)";
    ReadArguments(compiler);
    const ProbeRun run = FromFixture(compiler);
    ASSERT_FALSE(run.Lines.empty()) << run.Result.Stdout;
    {
        SCOPED_TRACE("include directories");
        CheckIncludeDirectories(compiler, run);
    }
    {
        SCOPED_TRACE("macros");
        CheckMacros(compiler, run);
    }
    {
        SCOPED_TRACE("types");
        CheckTypes(compiler, run);
    }
    {
        SCOPED_TRACE("keywords and general suite");
        CheckKeywords(compiler, run);
    }
    if (compiler.CompareJobs) {
        // The suites are only read: the second run must not find anything of the first.
        const std::vector<std::string> suitesBefore = Listing(KESTRIX_DATA_DIR);
        const ProbeRun one = Again(compiler, {"-j", "1"});
        EXPECT_EQ(Listing(KESTRIX_DATA_DIR), suitesBefore) << "the suites are only read";
        EXPECT_EQ(one.Personality, WithRunDir(run.Personality, compiler))
            << "-j1 and the default jobs give the same personality";
        EXPECT_EQ(WithoutRunDirLines(one.Result.Stdout), WithoutRunDirLines(WithRunDir(run.Result.Stdout, compiler)))
            << "and the same messages";
    }
}

INSTANTIATE_TEST_SUITE_P(Acceptance, Compilers, testing::ValuesIn(CompilerTable()), RowName);

// ---- fake compilers -----------------------------------------------------------------------

namespace {

class Fakes : public testing::Test {
protected:
    void SetUp() override
    {
        if (!kxtest::HaveCommand("gcc"))
            GTEST_SKIP() << "the fakes wrap gcc";
        kxtest::WriteFile(Deploy.Personality(), "previous\n");
    }
    std::vector<std::string> Args(const std::string& fake, std::vector<std::string> more = {})
    {
        std::vector<std::string> args = kxtest::GccLikeArgs("zanth", "cmp", kxtest::Fake(fake));
        args.insert(args.end(), {"-op", Deploy.Personality()});
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    kxtest::Deployment Deploy;
};

}  // namespace

TEST_F(Fakes, AProbeThatNeverEndsIsStoppedAndTheRunCompletes)
{
    const RunResult run = Deploy.Run(Args("fake-hang", {"-timeout", "2"}));
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    EXPECT_NE(run.Stdout.find("did not finish within 2 s; it was stopped, and the probe counts as failed."),
              std::string::npos) << run.Stdout;
    EXPECT_NE(kxtest::ReadFile(Deploy.Personality()), "previous\n");
}

TEST_F(Fakes, AProgramThatReadsItsInputFindsItEmpty)
{
    const RunResult run = Deploy.Run(Args("fake-program-reads-stdin", {"-timeout", "20"}));
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    EXPECT_EQ(run.Stdout.find("did not finish"), std::string::npos);
    EXPECT_EQ(run.Stdout.find("Cross Compiler mode"), std::string::npos) << "its programs ran here";
}

TEST_F(Fakes, InterruptedAndFailedRunsKeepThePreviousPersonality)
{
    for (int signal : {SIGINT, SIGTERM}) {
        const auto started = std::chrono::steady_clock::now();
        const RunResult run = kxtest::RunProgram([&] {
            std::vector<std::string> argv{KESTRIX_BINARY};
            for (const std::string& arg : Args("fake-hang"))
                argv.push_back(arg);
            return argv;
        }(), Deploy.Work(), signal, 1500);
        EXPECT_EQ(run.Status, 128 + signal) << run.Stderr;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
        EXPECT_NE(run.Stderr.find("previous personality is left as it was"), std::string::npos);
    }
    const RunResult crash = Deploy.Run(Args("fake-crash"));
    EXPECT_EQ(crash.Status, 1);
    EXPECT_NE(kxtest::ReadFile(Deploy.Work() + "/compile.sh").find("fake-crash"), std::string::npos)
        << "the failing compile is kept for the user";
    EXPECT_EQ(kxtest::ReadFile(Deploy.Personality()), "previous\n");
    EXPECT_EQ(kxtest::Lines(kxtest::RunShell("ls -A " + Deploy.Root() + " | grep p_c\\$").Stdout),
              std::vector<std::string>{"out.p_c"})
        << "no half-written file is left beside it";

    const RunResult unwritable = Deploy.Run(Args("fake-crash", {"-op", Deploy.Root() + "/missing/x.p_c"}));
    EXPECT_EQ(unwritable.Status, 1);
    EXPECT_EQ(unwritable.Stdout, "");
    EXPECT_NE(unwritable.Stderr.find(Deploy.Root() + "/missing/x.p_c"), std::string::npos) << unwritable.Stderr;
}

TEST_F(Fakes, IdentifierSignificanceIsTheCompilersExactCount)
{
    for (const std::string length : {"63", "31"}) {
        setenv("FAKE_IDENT_LENGTH", length.c_str(), 1);
        const RunResult run = Deploy.Run(Args("fake-ident-truncate"));
        unsetenv("FAKE_IDENT_LENGTH");
        EXPECT_EQ(run.Status, 0) << run.Stderr;
        const std::vector<std::string> lines = kxtest::Lines(kxtest::ReadFile(Deploy.Personality()));
        for (const std::string& line : {"-xn " + length, "-na " + length})
            EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
}
