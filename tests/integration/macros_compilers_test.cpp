// Predefined macros and extension keywords measured against real compilers. The truth is
// the compiler's own list of predefined macros ("-dM -E" on an empty source): every
// object-like macro of that list whose name occurs in the scanned header trees must be in
// the personality with its value, written under the define rules. One full run per
// compiler; gcc runs the two phases directly through the engine because the keyword set is
// not written anywhere by itself.
#include "KestrixEngine.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

using kxtest::Deployment;

bool IsIdentifierStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentifierChar(char c)
{
    return IsIdentifierStart(c) || (c >= '0' && c <= '9');
}

// The compiler's object-like predefined macros, name to value.
std::map<std::string, std::string> CompilerMacroList(const std::string& command, const std::string& language)
{
    const kxtest::RunResult listed = kxtest::RunShell(command + " -dM -E -x " + language + " /dev/null");
    std::map<std::string, std::string> macros;
    static const std::regex define("#define ([A-Za-z_][A-Za-z0-9_]*)( (.*))?");
    for (const std::string& line : kxtest::Lines(listed.Stdout)) {
        std::smatch match;
        if (std::regex_match(line, match, define))   // a function-like macro has "(" after its name
            macros[match[1]] = match[3];
    }
    return macros;
}

// A listed value with the listed macros in it replaced by their values, as the compiler
// expands it before it stringifies it.
std::string Expand(const std::string& value, const std::map<std::string, std::string>& macros,
                   std::set<std::string> active = {})
{
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        if (!IsIdentifierStart(value[i]) || (i > 0 && IsIdentifierChar(value[i - 1]))) {
            out += value[i++];
            continue;
        }
        std::size_t end = i;
        while (end < value.size() && IsIdentifierChar(value[end]))
            ++end;
        const std::string word = value.substr(i, end - i);
        const auto macro = macros.find(word);
        if (macro != macros.end() && active.count(word) == 0) {
            std::set<std::string> inner = active;
            inner.insert(word);
            out += Expand(macro->second, macros, inner);
        } else {
            out += word;
        }
        i = end;
    }
    return out;
}

// The define entry the personality must hold for a macro with this value.
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

// Names with an entry that the compiler's list cannot show. Macros that change with the
// place or time of use (__FILE__, __LINE__, __DATE__, __COUNTER__, ...) are defined without
// being listed too, but must get no entry: it would freeze them at the probe's values.
const std::set<std::string> kUnlistedBuiltins{"_VMT_STRINGIFY(x)"};

struct Measure {
    std::size_t Expected = 0;
    std::vector<std::string> Missing;
    std::set<std::string> Extra;   // names with an entry that the compiler does not list
};

// The entries of the macro phase: the first block of define lines, right after the include
// directories (the keyword phases write define lines of their own further down).
std::vector<std::string> MacroPhaseEntries(const std::string& personality, const std::string& defineOption)
{
    std::vector<std::string> entries;
    for (const std::string& line : kxtest::Lines(personality)) {
        if (line.rfind(defineOption, 0) == 0)
            entries.push_back(line.substr(defineOption.size()));
        else if (!entries.empty())
            break;
    }
    return entries;
}

// Compares the macro phase's define lines with the compiler's list.
Measure Compare(const std::string& personality, const std::string& defineOption,
                const std::map<std::string, std::string>& listed, const std::set<std::string>& scanned)
{
    const std::vector<std::string> phase = MacroPhaseEntries(personality, defineOption);
    const std::set<std::string> entries(phase.begin(), phase.end());
    Measure measure;
    for (const auto& [name, value] : listed) {
        if (scanned.count(name) == 0)
            continue;
        ++measure.Expected;
        const std::string entry = ExpectedEntry(name, Expand(value, listed));
        if (entries.count(entry) == 0 && entries.count(ExpectedEntry(name, value)) == 0)
            measure.Missing.push_back(entry);
    }
    for (const std::string& entry : entries) {
        const std::size_t start = entry[0] == '"' ? 1 : 0;
        const std::string name = entry.substr(start, entry.find('=') - start);
        if (listed.count(name) == 0)
            measure.Extra.insert(name);
    }
    return measure;
}

void Report(const std::string& compiler, const Measure& measure)
{
    const std::size_t matched = measure.Expected - measure.Missing.size();
    std::ostringstream line;
    line << compiler << ": matched " << matched << " of " << measure.Expected << " listed macros found in the headers";
    if (measure.Expected > 0)
        line << " (" << (100.0 * static_cast<double>(matched) / static_cast<double>(measure.Expected)) << "%)";
    line << "; names beyond the list:";
    for (const std::string& name : measure.Extra)
        line << " " << name;
    std::cout << line.str() << std::endl;
    testing::Test::RecordProperty(compiler + "_matched", line.str());
}

void ExpectAllMatched(const std::string& compiler, const Measure& measure, const std::set<std::string>& alsoUnlisted = {})
{
    Report(compiler, measure);
    EXPECT_GT(measure.Expected, 0U) << compiler << ": no listed macro occurs in the headers";
    EXPECT_TRUE(measure.Missing.empty()) << compiler << " misses " << testing::PrintToString(measure.Missing);
    for (const std::string& name : measure.Extra)
        EXPECT_TRUE(kUnlistedBuiltins.count(name) != 0 || alsoUnlisted.count(name) != 0)
            << compiler << ": unexpected define " << name;
}

// Runs a function in a directory and comes back.
template <typename F>
void InDirectory(const std::string& directory, F&& run)
{
    char buffer[4096];
    const std::string old = getcwd(buffer, sizeof buffer) != nullptr ? buffer : ".";
    if (chdir(directory.c_str()) != 0)
        throw std::runtime_error("cannot enter " + directory);
    try {
        run();
    } catch (...) {
        [[maybe_unused]] const int back = chdir(old.c_str());
        throw;
    }
    [[maybe_unused]] const int back = chdir(old.c_str());
}

// The candidate names of a run: what the header scan harvests, minus the language keywords.
std::set<std::string> ScannedNames(const Deployment& deployment, const std::string& product,
                                   const std::vector<std::string>& dirs)
{
    KestrixEngine engine(product, "ccmp", "true", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s");
    InDirectory(deployment.Work(), [&] {
        testing::internal::CaptureStdout();
        engine.LoadKeywordLists();
        testing::internal::GetCapturedStdout();
    });
    for (const std::string& dir : dirs)
        engine.ScanDirectory(dir);
    std::set<std::string> names;
    for (const std::string& name : engine.PossibleDefines)
        if ((engine.IsC ? engine.CKeywords : engine.CppKeywords).count(name) == 0)
            names.insert(name);
    return names;
}

std::vector<std::string> ExistingDirs(const std::vector<std::string>& dirs)
{
    std::vector<std::string> existing;
    for (const std::string& dir : dirs)
        if (std::filesystem::is_directory(dir))
            existing.push_back(dir);
    return existing;
}

// Runs the built Kestrix for one compiler and measures its define lines.
void CheckThroughKestrix(const std::string& compiler, std::vector<std::string> args,
                         const std::vector<std::string>& dirs, const std::string& listCommand,
                         const std::string& language, const std::set<std::string>& alsoUnlisted = {})
{
    ASSERT_FALSE(dirs.empty()) << compiler << " has no header directories";
    Deployment deployment;
    for (const std::string& dir : dirs) {
        args.push_back("-i");
        args.push_back(dir);
    }
    args.push_back("-op");
    args.push_back(deployment.Personality());
    const kxtest::RunResult run = deployment.Run(args);
    ASSERT_EQ(run.Status, 0) << run.Stdout;
    const std::string personality = kxtest::ReadFile(deployment.Personality());
    const std::string defineOption = args[0] == "zanth" ? "-d " : "-sd ";
    const Measure measure = Compare(personality, defineOption, CompilerMacroList(listCommand, language),
                                    ScannedNames(deployment, args[0], dirs));
    ExpectAllMatched(compiler, measure, alsoUnlisted);

    // Where both cross methods read a value, they agree: no name has two entries.
    std::map<std::string, int> perName;
    for (std::string entry : MacroPhaseEntries(personality, defineOption)) {
        if (entry[0] == '"')
            entry.erase(0, 1);
        ++perName[entry.substr(0, entry.find('='))];
    }
    for (const auto& [name, count] : perName)
        EXPECT_EQ(count, 1) << compiler << ": " << name << " has " << count << " entries";
}

#define REQUIRE_COMMAND(name)                                                   \
    if (!kxtest::HaveCommand(name))                                             \
        GTEST_SKIP() << name << " is not installed";

TEST(MacrosCompilersTest, GppNative)
{
    REQUIRE_COMMAND("g++");
    // The C++ library's own directories and the compiler's: the C library's tree is measured
    // with gcc already, and would multiply the cost of this run by five.
    std::vector<std::string> dirs;
    for (const std::string& dir : ExistingDirs(kxtest::SearchList("g++", "c++")))
        if (dir.find("c++") != std::string::npos || dir.rfind("/usr/lib/gcc/", 0) == 0)
            dirs.push_back(dir);
    CheckThroughKestrix("g++", kxtest::GccLikeArgs("zanthpp", "cmp", "g++"), dirs, "g++", "c++");
}

TEST(MacrosCompilersTest, AvrGccCrossBothMethods)
{
    REQUIRE_COMMAND("avr-gcc");
    CheckThroughKestrix("avr-gcc", kxtest::GccLikeArgs("zanth", "ccmp", "avr-gcc"),
                        ExistingDirs(kxtest::SearchList("avr-gcc")), "avr-gcc", "c");
}

TEST(MacrosCompilersTest, ArmNoneEabiGccCross)
{
    REQUIRE_COMMAND("arm-none-eabi-gcc");
    CheckThroughKestrix("arm-none-eabi-gcc", kxtest::GccLikeArgs("zanth", "ccmp", "arm-none-eabi-gcc"),
                        ExistingDirs(kxtest::SearchList("arm-none-eabi-gcc")), "arm-none-eabi-gcc", "c");
}

TEST(MacrosCompilersTest, SdccMcs51CrossTextObjects)
{
    REQUIRE_COMMAND("sdcc");
    // sdcc's preprocessor answers "#ifdef __func__" as defined without listing it, and
    // expands it to garbage; the engine writes it as itself.
    CheckThroughKestrix("sdcc -mmcs51",
                        {"zanth", "ccmp", "sdcc", "-o ", "-c", "-D", ".rel", "%c -mmcs51 %d%j %o%e %s"},
                        ExistingDirs({"/usr/share/sdcc/include/mcs51", "/usr/share/sdcc/include"}),
                        "sdcc -mmcs51", "c", {"__func__"});
}

// gcc, C product, native: both phases on one engine, each directory of gcc's search list
// given as a search directory.
class GccPhasesTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!kxtest::HaveCommand("gcc"))
            return;
        Run = new PhaseRun;
        Run->Dirs = ExistingDirs(kxtest::SearchList("gcc"));
        const std::vector<std::string> args = kxtest::GccLikeArgs("zanth", "cmp", "gcc");
        Run->Engine = std::make_unique<KestrixEngine>(args[0], args[1], args[2], args[3], args[4], args[5],
                                                      args[6], args[7]);
        KestrixEngine& engine = *Run->Engine;
        InDirectory(Run->Scratch.Work(), [&] {
            testing::internal::CaptureStdout();
            engine.GetObjectFileExtension(S_OBJEXT, engine.ObjectFileExtension);
            engine.CheckExeFileRunWorks();
            engine.LoadKeywordLists();
            for (const std::string& dir : Run->Dirs)
                engine.ScanDirectory(dir);
            std::ostringstream personality;
            engine.FindPreDefines(personality);
            engine.FindExtensionKeywords();
            Run->Stdout = testing::internal::GetCapturedStdout();
            Run->Personality = personality.str();
        });
    }
    static void TearDownTestSuite()
    {
        delete Run;
        Run = nullptr;
    }
    void SetUp() override
    {
        if (Run == nullptr)
            GTEST_SKIP() << "gcc is not installed";
    }

    struct PhaseRun {
        Deployment Scratch;
        std::vector<std::string> Dirs;
        std::unique_ptr<KestrixEngine> Engine;
        std::string Personality;
        std::string Stdout;
    };
    static PhaseRun* Run;
};
GccPhasesTest::PhaseRun* GccPhasesTest::Run = nullptr;

TEST_F(GccPhasesTest, EveryListedMacroOfTheHeadersHasItsValue)
{
    KestrixEngine& engine = *Run->Engine;
    ASSERT_FALSE(engine.IsCrossCompiler) << Run->Stdout;
    std::set<std::string> scanned;
    for (const std::string& name : engine.PossibleDefines)
        if (engine.CKeywords.count(name) == 0)
            scanned.insert(name);
    ExpectAllMatched("gcc", Compare(Run->Personality, "-d ", CompilerMacroList("gcc", "c"), scanned));
    // The operators that only work inside #if are defined for #ifdef, but build no program.
    EXPECT_NE(Run->Stdout.find("deftest.c failed to compile! can't find value of: __has_include\n"),
              std::string::npos);
}

TEST_F(GccPhasesTest, ExtensionKeywordsAreTheGnuSpellingsTheHeadersUse)
{
    const KestrixEngine& engine = *Run->Engine;
    for (const char* keyword : {"__attribute__", "__asm__", "__extension__", "__inline", "__restrict",
                                "__typeof__", "__int128"}) {
        if (engine.PossibleKeywords.count(keyword) == 0)
            continue;   // the headers do not use it
        EXPECT_EQ(engine.ExtensionKeywords.count(keyword), 1U) << keyword;
    }
    for (const char* ordinary : {"printf", "size_t", "FILE", "errno", "int8_t", "__GNUC__", "__builtin_expect"})
        EXPECT_EQ(engine.ExtensionKeywords.count(ordinary), 0U) << ordinary;
    for (const std::string& keyword : engine.CKeywords)
        EXPECT_EQ(engine.ExtensionKeywords.count(keyword), 0U) << keyword;
    // Nothing the compiler takes as an ordinary identifier, and no macro: each one, declared
    // on its own, must fail. All are checked in one compiler run, one source each.
    ASSERT_FALSE(engine.ExtensionKeywords.empty());
    const std::string dir = kxtest::MakeTempDir("kwcheck");
    std::string command = "cd " + dir + " && gcc -fsyntax-only";
    std::vector<std::string> keywords(engine.ExtensionKeywords.begin(), engine.ExtensionKeywords.end());
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        kxtest::WriteFile(dir + "/k" + std::to_string(i) + ".c",
                          "#ifndef " + keywords[i] + "\nint " + keywords[i] + "[1];\n#endif\n");
        command += " k" + std::to_string(i) + ".c";
    }
    const std::string errors = kxtest::RunShell(command + " 2>&1").Stdout;
    kxtest::RemoveTree(dir);
    for (std::size_t i = 0; i < keywords.size(); ++i)
        EXPECT_NE(errors.find("k" + std::to_string(i) + ".c:2:"), std::string::npos)
            << keywords[i] << " is accepted as an ordinary identifier";
    std::cout << "gcc extension keywords (" << keywords.size() << "):";
    for (const std::string& keyword : keywords)
        std::cout << " " << keyword;
    std::cout << std::endl;
}

}  // namespace
