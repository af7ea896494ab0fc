// The built programs against real compilers: each fact of a probed personality against the compiler's own answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "common/DeploymentLayout.h"
#include "engine/phases/includes/HeaderScan.h"
#include "engine/phases/keywords/KeywordLists.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using namespace kxtest;

namespace {

// How a keyword must come out: quoted "K=Value", "K=", "K=_ignore_paren", "K=asm", "K=T" (an integer
// type of at least Value bits, or a floating one); unquoted Value (builtin list), K=Value, K=.
enum class T { Alias, Drop, Paren, Asm, IntType, FloatType, Builtin, Replace, Nothing };

// Required: the run must find the keyword at all.
struct Row { const char* Keyword; T How; const char* Value; bool Required; };

// What a row expects beyond the compiler's own answers, and the fixture's run of it.
struct Compiler {
    std::string Name;
    std::vector<Row> Keywords;
    std::vector<std::string> SuiteLines;  // general suite lines the compiler must earn
    // Listed macros the compiler pastes from pieces that no rule of the candidate names puts together.
    std::string Unspelled{};
    std::vector<std::string> Args{};  // the fixture's args.txt
    std::string Command{}, Personality{}, Log{};
    bool IsC = true, Cross = false;
    std::vector<std::string> Dirs{}, Switches{}, Lines{};

    std::string FixtureDir() const { return std::string(KESTRIX_PERSONALITIES_DIR) + "/" + Name; }
    bool Has(const std::string& line) const { return std::find(Lines.begin(), Lines.end(), line) != Lines.end(); }
};

void PrintTo(const Compiler& compiler, std::ostream* out) { *out << compiler.Name; }

template <class V>
V Join(V items, const V& more)
{
    items.insert(items.end(), more.begin(), more.end());
    return items;
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

std::vector<Row> Reclassified(std::vector<Row> rows, const std::string& keyword, T how)
{
    for (Row& row : rows)
        if (row.Keyword == keyword)
            row.How = how;
    return rows;
}

std::vector<Compiler> CompilerTable()
{
    using S = std::vector<std::string>;
    const S gnuC{"-slc+", "-ex longlong", "-bin+", "-dollar+", "-es+", "-zla+", "-anon+", "-cr+", "-se+"};
    return {
        {"gcc", Join(GnuCRows(true), {{"__int128", T::IntType, "64", true}, {"_Float128", T::FloatType, "", true}}),
         Join(gnuC, S{"-bitsu-"})},
        {"gxx",
         {{"__inline__", T::Alias, "inline", true}, {"__restrict__", T::Alias, "restrict", true},
          {"__asm__", T::Alias, "asm", true}, {"__attribute__", T::Paren, "", true},
          {"__extension__", T::Drop, "", true}, {"__null", T::Replace, "0", true},
          {"__int128", T::IntType, "64", true}, {"__builtin_va_list", T::Builtin, "__builtin_va_list=char*", true}},
         {"-bin+", "-dollar+", "-zla+", "-cr+", "-se+", "-vla+", "-bitsu-"}},
        {"clang",
         Join(GnuCRows(false), {{"__attribute__", T::Paren, "", true}, {"__inline__", T::Alias, "inline", true},
                                {"__extension__", T::Drop, "", true}, {"__int128", T::IntType, "64", true},
                                {"_Nonnull", T::Drop, "", false}}),
         gnuC},
        // Probed with its own directories only: the keywords that no header names come from
        // the shipped candidate list.
        {"avr-gcc",
         Join(GnuCRows(false), {{"__flash", T::Drop, "", true}, {"__flash1", T::Drop, "", true},
                                {"__memx", T::Drop, "", true}, {"__int24", T::IntType, "16", true},
                                {"__uint24", T::IntType, "16", true}, {"__flash5", T::Nothing, "", true}}),
         {"-slc+", "-dollar-", "-cr+"}},
        // The register keywords are the force-include file's: no line classifies them.
        {"sdcc-mcs51",
         {{"__data", T::Drop, "", true}, {"__xdata", T::Drop, "", true}, {"__code", T::Drop, "", true},
          {"__at", T::Paren, "", true}, {"__interrupt", T::Paren, "", true}, {"__using", T::Paren, "", true},
          {"__critical", T::Drop, "", true}, {"__reentrant", T::Drop, "", true}, {"__asm", T::Asm, "", true}},
         {"-slc+", "-ex longlong", "-bin+", "-dollar-", "-es-", "-zla+", "-cr-", "-se-"}},
        {"arm-none-eabi-gcc", Join(GnuCRows(true), {{"__int128", T::Nothing, "", false}}), {"-dollar+", "-cr+"}},
        {"m68k-linux-gnu-gcc", GnuCRows(false), {"-cr+"}},
        // No -dM list; long long and long double are no types of it.
        {"cc65", {{"asm", T::Asm, "", true}, {"__asm__", T::Alias, "asm", true}, {"__inline__", T::Alias, "inline", false}},
         {"-cr-", "-se-", "-es-"}},
        // Its complaint about a missing header does not name it.
        {"bcc", {{"asm", T::Asm, "", true}}, {"-cr-", "-se-", "-bin-", "-anon-"}},
        // The calling conventions of the other ports, which no header spells.
        {"sdcc-z80",
         {{"__z88dk_fastcall", T::Drop, "", true}, {"__z88dk_callee", T::Drop, "", true}, {"__sdcccall", T::Paren, "", true},
          {"__smallc", T::Drop, "", true}, {"__naked", T::Drop, "", true}, {"__critical", T::Drop, "", true},
          {"__banked", T::Drop, "", true}, {"__interrupt", T::Paren, "", true}, {"__at", T::Paren, "", true},
          {"__asm", T::Asm, "", true}},
         {"-slc+", "-bin+", "-cr-", "-se-"}},
        {"sdcc-stm8",
         {{"__raisonance", T::Drop, "", true}, {"__iar", T::Drop, "", true}, {"__cosmic", T::Drop, "", true},
          {"__sdcccall", T::Paren, "", true}, {"__trap", T::Drop, "", true}, {"__interrupt", T::Paren, "", true},
          {"__at", T::Paren, "", true}, {"__asm", T::Asm, "", true}},
         {"-slc+", "-bin+", "-cr-", "-se-"}},
        {"mingw-w64-gcc", Join(GnuCRows(false), {{"__int128", T::IntType, "64", true}}), {"-cr+", "-se+"}},
        // The compiler pastes the "x" of its extended float types after a number: no table
        // entry spells "F32x".
        {"riscv64-unknown-elf-gcc", Join(GnuCRows(false), {{"__int128", T::IntType, "64", true}}), {"-cr+", "-se+"},
         "__FP_FAST_FMAF32x"},
        // gcc 3.4 has no thread-local storage for the target.
        {"h8300-hms-gcc", Reclassified(GnuCRows(false), "__thread", T::Nothing), {"-cr+", "-se+"}},
    };
}

void Load(Compiler& compiler)
{
    compiler.Args = kxtest::Lines(ReadFile(compiler.FixtureDir() + "/args.txt"));
    ASSERT_GE(compiler.Args.size(), 8u);
    compiler.IsC = compiler.Args[0] == "zanth";
    compiler.Cross = compiler.Args[1] == "ccmp";
    compiler.Command = compiler.Args[2];
    for (std::size_t i = 8; i + 1 < compiler.Args.size(); ++i)
        if (compiler.Args[i] == "-i" || compiler.Args[i] == "-xs")
            (compiler.Args[i] == "-i" ? compiler.Dirs : compiler.Switches).push_back(compiler.Args[i + 1]);
    compiler.Personality = ReadFile(compiler.FixtureDir() + "/personality.p_c");
    compiler.Lines = kxtest::Lines(compiler.Personality);
    compiler.Log = ReadFile(compiler.FixtureDir() + "/run.log");
}

std::map<std::string, int> Values(const Compiler& run, const std::string& prefix)
{
    std::map<std::string, int> values;
    for (const std::string& line : run.Lines)
        if (line.rfind(prefix, 0) == 0 && line.find('=') != std::string::npos)
            values[line.substr(prefix.size(), line.find('=') - prefix.size())] = std::stoi(line.substr(line.find('=') + 1));
    return values;
}

// The compiler with the run's switches in a scratch directory; some write -E output only to kx.i.
RunResult InScratch(const Compiler& compiler, const std::string& name, const std::string& source, const std::string& args)
{
    const std::string dir = MakeTempDir("compile");
    WriteFile(dir + "/" + name, source);
    std::string command = compiler.Command;
    for (const std::string& sw : compiler.Switches)
        command += " " + ReplaceAll(sw, ",", " ");
    RunResult result = RunShell(command + args, dir);
    result.Stdout += FileExists(dir + "/kx.i") ? ReadFile(dir + "/kx.i") : "";
    RemoveTree(dir);
    return result;
}

bool CompilesSource(const Compiler& compiler, const std::string& name, const std::string& source, std::string* output = nullptr)
{
    const RunResult result = InScratch(compiler, name, source, (compiler.IsC ? " -c " : " -x c++ -c ") + name + " 2>&1");
    if (output != nullptr)
        *output = result.Stdout;
    return result.Status == 0;
}

std::string Preprocessed(const Compiler& compiler, const std::string& source)
{
    return InScratch(compiler, "kx.c", source, " -E -o kx.i kx.c 2>/dev/null").Stdout;
}

// Compilers differ in which impossible size they reject, and not all fold ?: in a constant expression.
std::string Assertion(int n, const std::string& condition)
{
    const std::string tag = "check_" + std::to_string(n);
    const std::string width = "2 * (" + condition + ") - 1";
    return "typedef char " + tag + "[" + width + "];\nstruct " + tag + "_w { unsigned int b : " + width + "; };\n";
}


std::vector<std::string> SdccSearchList(const std::string& command)
{
    std::vector<std::string> dirs;
    bool inIncludes = false;
    for (const std::string& line : kxtest::Lines(RunShell(command + " --print-search-dirs").Stdout)) {
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

void CheckIncludeDirectories(const Compiler& compiler)
{
    std::vector<std::string> own = compiler.Command.rfind("sdcc", 0) == 0
                                       ? SdccSearchList(compiler.Command)
                                       : SearchList(compiler.Command, compiler.IsC ? "c" : "c++");
    // A compiler that lists no search path: the given directories it takes a header of their own from.
    if (own.empty()) {
        for (const std::string& dir : compiler.Dirs) {
            std::error_code ec;
            for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
                const std::string header = it->path().filename().string();
                if (!it->is_regular_file(ec) || it->path().extension() != ".h" || it->file_size(ec) == 0 ||
                    std::count_if(compiler.Dirs.begin(), compiler.Dirs.end(),
                                  [&](const std::string& d) { return FileExists(d + "/" + header); }) != 1)
                    continue;
                if (CompilesSource(compiler, "kx_include.c", "#include <" + header + ">\nint kx_include;\n")) {
                    own.push_back(fs::canonical(dir).string());
                    break;
                }
            }
        }
    }
    // The given directories that hold files, in the compiler's order, each real directory once.
    std::vector<std::string> expected;
    for (const std::string& dir : own) {
        const bool given = std::any_of(compiler.Dirs.begin(), compiler.Dirs.end(), [&](const std::string& d) {
            std::error_code ec;
            return fs::equivalent(d, dir, ec);
        });
        if (given && HoldsFiles(dir))
            expected.push_back(dir);
    }
    std::vector<std::string> written;
    static const std::regex include("-s?i \"(.*)\"");
    for (const std::string& line : compiler.Lines) {
        std::smatch match;
        std::error_code ec;
        if (std::regex_match(line, match, include))
            written.push_back(fs::canonical(match[1].str(), ec).string());
    }
    EXPECT_EQ(written, expected) << "the include directories in the compiler's search order";
    // Copies of one header are told apart by what they define, never by the command line's order.
    EXPECT_EQ(compiler.Log.find("may need to be reviewed"), std::string::npos);
}


// The compiler's -dM list, or where it has none, its preprocessor's answer to #ifdef for each name.
std::map<std::string, std::string> MacroList(const Compiler& compiler, const std::set<std::string>& names)
{
    const RunResult listed =
        InScratch(compiler, "kx.c", "", std::string(" -dM -E -x ") + (compiler.IsC ? "c" : "c++") + " /dev/null 2>/dev/null");
    std::map<std::string, std::string> macros;
    static const std::regex define("#define ([A-Za-z_][A-Za-z0-9_]*)( (.*))?");
    for (const std::string& line : kxtest::Lines(listed.Stdout)) {
        std::smatch match;
        if (std::regex_match(line, match, define))
            macros[match[1]] = match[3];
    }
    if (!macros.empty())
        return macros;
    const std::vector<std::string> ordered(names.begin(), names.end());
    std::string source;
    for (std::size_t i = 0; i < ordered.size(); ++i)
        source += "#ifdef " + ordered[i] + "\nkx_m_" + std::to_string(i) + " = " + ordered[i] + " ;\n#endif\n";
    static const std::regex kept("kx_m_([0-9]+) = ?(.*?) ?;");
    for (const std::string& line : kxtest::Lines(Preprocessed(compiler, source))) {
        std::smatch match;
        if (std::regex_match(line, match, kept) && std::stoul(match[1]) < ordered.size())
            macros[ordered[std::stoul(match[1])]] = match[2];
    }
    return macros;
}

// A listed value with the listed macros in it expanded, as the compiler does before it stringifies
// (a number's suffix is no name).
std::string Expand(const std::string& value, const std::map<std::string, std::string>& macros,
                   std::set<std::string> active = {})
{
    static const std::regex token("[A-Za-z_]\\w*|[0-9]\\w*|[\\s\\S]");
    std::string out;
    for (std::sregex_iterator it(value.begin(), value.end(), token), end; it != end; ++it) {
        const std::string word = it->str();
        const auto macro = macros.find(word);
        if (macro != macros.end() && active.insert(word).second) {
            out += Expand(macro->second, macros, active);
            active.erase(word);
        } else {
            out += word;
        }
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

void CheckMacros(const Compiler& compiler)
{
    const std::string define = compiler.IsC ? "-d " : "-sd ";
    std::set<std::string> entries;
    for (const std::string& line : compiler.Lines) {
        if (line.rfind(define, 0) == 0)
            entries.insert(line.substr(define.size()));
        else if (!entries.empty())
            break;  // the macro phase's block ends; the keyword phase writes defines of its own
    }
    // Every macro the compiler lists has its entry.
    MemoryReporter quiet;
    const KeywordLists lists = LoadKeywordLists(compiler.IsC, quiet, std::string(KESTRIX_DATA_DIR) + "/" + kxcommon::layout::ListsDir);
    HeaderScanner scanner(lists.IgnoreKeywords, quiet);
    for (const std::string& dir : compiler.Dirs)
        scanner.ScanDirectory(dir);
    std::set<std::string> candidates = scanner.Trees().Identifiers;
    for (const std::string& entry : entries)
        candidates.insert(entry.substr(entry[0] == '"' ? 1 : 0, entry.find('=') - (entry[0] == '"' ? 1 : 0)));
    candidates.erase("_VMT_STRINGIFY(x)");
    candidates.erase("defined");  // no preprocessor takes it for a macro name
    const std::map<std::string, std::string> listed = MacroList(compiler, candidates);
    const std::regex unspelled(compiler.Unspelled.empty() ? "$^" : compiler.Unspelled);
    std::size_t found = 0;
    for (const auto& [name, value] : listed) {
        const bool entry = entries.count(ExpectedEntry(name, Expand(value, listed))) != 0 ||
                           entries.count(ExpectedEntry(name, value)) != 0;
        found += entry ? 1 : 0;
        EXPECT_TRUE(entry || std::regex_match(name, unspelled)) << "no entry for " << name << "=" << value;
    }
    EXPECT_GT(listed.size(), 0u);
    testing::Test::RecordProperty("macro_recall", std::to_string(found) + " of " + std::to_string(listed.size()));
    // The preprocessor's own names come from the analyser, and no probe of them fails.
    EXPECT_EQ(compiler.Log.find("can't find value of"), std::string::npos);
    // And nothing the compiler does not define, each name once.
    std::set<std::string> names;
    for (const std::string& entry : entries) {
        const std::size_t start = entry[0] == '"' ? 1 : 0;
        const std::string name = entry.substr(start, entry.find('=') - start);
        // Old compilers leave __STDC__ out of their list: their preprocessor is asked.
        EXPECT_TRUE(name == "_VMT_STRINGIFY(x)" || listed.count(name) != 0 || name == "__func__" ||
                    Preprocessed(compiler, "#ifdef " + name + "\nkx_defined\n#endif\n").find("kx_defined") != std::string::npos)
            << "unexpected define " << entry;
        EXPECT_TRUE(names.insert(name).second || name == "_VMT_STRINGIFY(x)") << name << " has two entries";
    }
}


void CheckTypes(const Compiler& compiler)
{
    struct Spelling { const char *Name, *CType, *Member; };
    static const Spelling kSpellings[] = {
        {"char", "char", "char d"}, {"int", "int", "int d"}, {"short", "short", "short d"},
        {"long", "long", "long d"}, {"longlong", "long long", "long long d"}, {"float", "float", "float d"},
        {"double", "double", "double d"}, {"ldouble", "long double", "long double d"},
        {"dataptr", "int*", "int* d"}, {"codeptr", "void (*)()", "void (*d)()"},
    };
    const std::map<std::string, int> sizes = Values(compiler, "-s ");
    const std::map<std::string, int> aligns = Values(compiler, "-a ");
    // Not every C library's stddef.h has offsetof.
    std::string source = "#include <stddef.h>\n#ifndef offsetof\n#define offsetof(t, m) ((size_t) & ((t*)0)->m)\n#endif\n";
    int n = 0;
    auto assertion = [&](const std::string& condition) { source += Assertion(++n, condition); };
    for (const Spelling& type : kSpellings) {
        // A type the personality leaves out must be one the compiler rejects.
        if (sizes.count(type.Name) == 0) {
            EXPECT_EQ(aligns.count(type.Name), 0u) << type.Name << " has an alignment but no size";
            EXPECT_FALSE(CompilesSource(compiler, "kx_absent.c", "int kx_absent[sizeof(" + std::string(type.CType) + ")];\n"))
                << type.CType << " is left out, but the compiler sizes it";
            continue;
        }
        const std::string offset = "offsetof(struct s_" + std::string(type.Name) + ", d)";
        source += "struct s_" + std::string(type.Name) + " { char c; " + type.Member + "; };\n";
        assertion("sizeof(" + std::string(type.CType) + ") * 8 == " + std::to_string(sizes.at(type.Name)));
        EXPECT_EQ(aligns.count(type.Name), 1u) << type.Name << " has a size but no alignment";
        if (aligns.count(type.Name) != 0)
            assertion(offset + " == " + std::to_string(aligns.at(type.Name)));
    }
    EXPECT_GE(sizes.size(), 7u);
    if (compiler.IsC) {
        assertion(std::string("((char)-1 < 0) == ") + (compiler.Has("-u-") ? "1" : "0"));
        EXPECT_TRUE(compiler.Has("-u-") != compiler.Has("-u+"));
    }
    for (const std::string& line : compiler.Lines) {
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
    std::string output;
    EXPECT_TRUE(CompilesSource(compiler, "check.c", source, &output)) << "the compiler disagrees:\n" << source << output;
    // A false assertion must fail, or the source proves nothing.
    EXPECT_FALSE(CompilesSource(compiler, "check.c", source + Assertion(++n, "sizeof(char) == 2")))
        << "the compiler takes a false assertion";
}

// The exported check source, compiled by the compiler; C89 compilers get numbered macros instead of
// _Static_assert. Where it rejects the keyword uses (written for analysers), the facts before them hold.
void CheckExportedCheckSource(const Compiler& compiler)
{
    const std::string dir = MakeTempDir("check");
    WriteFile(dir + "/kx.p_c", compiler.Personality);
    const RunResult exported = RunProgram({KESTRIX_EXPORT, "check", dir + "/kx.p_c"}, dir);
    ASSERT_EQ(exported.Status, 0) << exported.Stderr;
    const std::string name = compiler.IsC ? "kx.check.c" : "kx.check.cpp";
    std::string source = ReadFile(dir + "/" + name);
    RemoveTree(dir);
    // One compiler takes the assertion for an old-style declaration: it must reject a false one.
    if (compiler.IsC && (!CompilesSource(compiler, "kx_sa.c", "_Static_assert(1, \"x\");\nint kx_sa;\n") ||
                         CompilesSource(compiler, "kx_sa.c", "_Static_assert(0, \"x\");\nint kx_sa;\n"))) {
        std::string numbered = "#define KX_SA(n, c, m) struct kx_sa_##n { unsigned int b : 2 * !!(c) - 1; }; "
                               "extern char kx_sb_##n[2 * !!(c) - 1]\n";
        // Nor does every one fold && in a constant expression: the product of the parts holds the same.
        int n = 0;
        for (const std::string& line : kxtest::Lines(source)) {
            const std::size_t message = line.rfind(", \"");
            if (line.rfind("_Static_assert(", 0) != 0 || message == std::string::npos) {
                numbered += line + "\n";
                continue;
            }
            const std::string condition = ReplaceAll(line.substr(15, message - 15), " && ", ") * (");
            numbered += "KX_SA(" + std::to_string(++n) + ", (" + condition + ")" + line.substr(message) + "\n";
        }
        source = numbered;
    }
    std::string output;
    if (CompilesSource(compiler, name, source, &output))
        return;
    const std::size_t keywords = source.find("/* One use of each keyword");
    ASSERT_NE(keywords, std::string::npos) << source << output;
    EXPECT_TRUE(CompilesSource(compiler, name, source.substr(0, keywords), &output)) << source << output;
}


int IntegerBits(std::string type)
{
    if (type.rfind("unsigned ", 0) == 0)
        type.erase(0, 9);
    static const std::map<std::string, int> minimum{{"char", 8}, {"short", 16}, {"int", 16}, {"long", 32}, {"long long", 64}};
    const auto it = minimum.find(type);
    return it == minimum.end() ? -1 : it->second;
}

void CheckKeywords(const Compiler& compiler)
{
    const std::string d = compiler.IsC ? "-d " : "-sd ";
    auto quoted = [&](const std::string& text) { return d + "\"" + text + "\""; };
    for (const Row& row : compiler.Keywords) {
        SCOPED_TRACE(row.Keyword);
        const std::string k = row.Keyword;
        const std::regex own(d + "\"?" + k + "[=(].*");
        std::vector<std::string> lines;
        std::copy_if(compiler.Lines.begin(), compiler.Lines.end(), std::back_inserter(lines),
                     [&](const std::string& line) { return std::regex_match(line, own); });
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
        }
    }
    for (const std::string& line : compiler.SuiteLines)
        EXPECT_TRUE(compiler.Has(line)) << line;
    for (const std::string& line : compiler.Lines)
        EXPECT_TRUE(!compiler.Cross || line.find("-bitsu") == std::string::npos) << "a cross compiler's programs never run";
}


std::vector<std::string> Listing(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The text with the run directory written as RUN and without the launcher's lines that name it.
std::string Comparable(const std::string& text, const std::string& runDir)
{
    std::string kept;
    for (const std::string& line : kxtest::Lines(ReplaceAll(text, runDir, "RUN")))
        if (line.rfind("kestrix-run: run directory", 0) != 0)
            kept += line + "\n";
    return kept;
}

// The fixture's run again at one compile at a time: the same bytes, and the suites only read.
void CheckOneJobAtATime(const Compiler& compiler)
{
    const std::vector<std::string> suitesBefore = Listing(KESTRIX_DATA_DIR);
    const std::string root = MakeTempDir("again");
    std::vector<std::string> argv{KESTRIX_RUN_SCRIPT, "--run-dir", root + "/run"};
    argv.insert(argv.end(), compiler.Args.begin(), compiler.Args.end());
    argv.insert(argv.end(), {"-j", "1"});
    const RunResult again = RunProgram(argv, root);
    const std::string personality = ReadFile(root + "/run/personality.p_c");
    RemoveTree(root);
    EXPECT_EQ(Listing(KESTRIX_DATA_DIR), suitesBefore) << "the suites are only read";
    EXPECT_EQ(Comparable(personality, root + "/run"), Comparable(compiler.Personality, compiler.FixtureDir()))
        << "-j1 and the default jobs give the same personality";
    EXPECT_EQ(Comparable(again.Stdout, root + "/run"), Comparable(compiler.Log, compiler.FixtureDir()))
        << "and the same messages";
}

class Compilers : public testing::TestWithParam<Compiler> {};

std::string RowName(const testing::TestParamInfo<Compiler>& info) { return ReplaceAll(info.param.Name, "-", "_"); }

}  // namespace

TEST_P(Compilers, PersonalityHoldsTheCompilersOwnAnswers)
{
    Compiler compiler = GetParam();
    if (FileExists(compiler.FixtureDir() + "/missing.txt"))
        GTEST_SKIP() << ReadFile(compiler.FixtureDir() + "/missing.txt") << "(CI installs it)";
    ASSERT_NO_FATAL_FAILURE(Load(compiler));
    ASSERT_FALSE(compiler.Lines.empty()) << compiler.Log;
    const std::pair<const char*, void (*)(const Compiler&)> checks[] = {
        {"include directories", CheckIncludeDirectories}, {"macros", CheckMacros}, {"types", CheckTypes},
        {"keywords and general suite", CheckKeywords}, {"exported check source", CheckExportedCheckSource}};
    for (const auto& [what, check] : checks) {
        SCOPED_TRACE(what);
        check(compiler);
    }
    // One compiler with include order, macros and keywords shows that the number of jobs changes nothing.
    if (compiler.Name == "avr-gcc")
        CheckOneJobAtATime(compiler);
}

INSTANTIATE_TEST_SUITE_P(Acceptance, Compilers, testing::ValuesIn(CompilerTable()), RowName);
