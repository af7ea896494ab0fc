// The type phase against real compilers: every size and alignment the engine writes must be
// what the compiler itself says (sizeof and offsetof of a member after a char, checked by
// compiling one source of assertions with the same compiler), plus the facts each target
// is known for. One engine run per test, since each costs a few hundred compiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

#include "KestrixEngine.h"
#include "TestSupport.h"

namespace {

using Phase = std::function<void(KestrixEngine&, std::ostream&)>;

struct PhaseResult {
    std::vector<std::string> Lines;   // what the phase wrote to the personality
    std::string Messages;             // what it said on standard output
    bool Cross = false;
};

struct Target {
    Target(std::string product, std::string kind, std::string compiler, std::string objExt = ".o",
           std::vector<std::string> switches = {})
        : Product(std::move(product)), Kind(std::move(kind)), Compiler(std::move(compiler)),
          ObjExt(std::move(objExt)), Switches(std::move(switches)) {}
    std::string Product;
    std::string Kind;        // "cmp" native, "ccmp" cross
    std::string Compiler;
    std::string ObjExt;
    std::vector<std::string> Switches;
};

// The engine works in its working directory and talks on standard output: both are moved
// into a scratch directory and a buffer for the life of this object.
class ScratchRun {
public:
    ScratchRun()
        : Dir(kxtest::MakeTempDir("types"))
    {
        if (getcwd(Previous, sizeof Previous) == nullptr || chdir(Dir.c_str()) != 0)
            throw std::runtime_error("cannot enter " + Dir);
        CoutBuffer = std::cout.rdbuf(Output.rdbuf());
    }
    ~ScratchRun()
    {
        std::cout.rdbuf(CoutBuffer);
        [[maybe_unused]] const int back = chdir(Previous);
        if (std::getenv("KESTRIX_KEEP_TEST_DIRS") == nullptr)
            kxtest::RemoveTree(Dir);
    }
    ScratchRun(const ScratchRun&) = delete;
    ScratchRun& operator=(const ScratchRun&) = delete;
    std::string Said() const { return Output.str(); }

private:
    std::string Dir;
    char Previous[4096];
    std::ostringstream Output;
    std::streambuf* CoutBuffer = nullptr;
};

// Runs one phase as the generation sequence would after its object-extension probe and
// host execution check.
PhaseResult RunPhase(const Target& target, const Phase& phase)
{
    ScratchRun scratch;
    const std::vector<std::string> a =
        kxtest::GccLikeArgs(target.Product, target.Kind, target.Compiler, target.ObjExt);
    KestrixEngine engine(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
    engine.ImplicitSwitches = target.Switches;
    engine.GetObjectFileExtension(S_OBJEXT, engine.ObjectFileExtension);
    if (!engine.IsCrossCompiler)
        engine.CheckExeFileRunWorks();
    engine.BaseTypes = KestrixEngine::MakeBaseTypes();
    std::ostringstream personality;
    phase(engine, personality);

    PhaseResult result;
    result.Lines = kxtest::Lines(personality.str());
    result.Messages = scratch.Said();
    result.Cross = engine.IsCrossCompiler;
    return result;
}

void BaseTypes(KestrixEngine& engine, std::ostream& personality)
{
    engine.ConductBaseTypeTests(personality);
}

// "-s name=N" and "-a name=N" lines, by personality name.
std::map<std::string, int> Values(const std::vector<std::string>& lines, const std::string& option)
{
    std::map<std::string, int> values;
    for (const std::string& line : lines) {
        if (line.rfind(option, 0) != 0)
            continue;
        const std::size_t eq = line.find('=');
        values[line.substr(option.size(), eq - option.size())] = std::stoi(line.substr(eq + 1));
    }
    return values;
}

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.rfind(prefix, 0) == 0;
    }));
}

struct BaseSpelling {
    const char* PersonalityName;
    const char* CType;        // as sizeof takes it
    const char* Member;       // as a structure member named d
};

constexpr BaseSpelling kSpellings[] = {
    {"char", "char", "char d"},
    {"int", "int", "int d"},
    {"short", "short", "short d"},
    {"long", "long", "long d"},
    {"longlong", "long long", "long long d"},
    {"float", "float", "float d"},
    {"double", "double", "double d"},
    {"ldouble", "long double", "long double d"},
    {"dataptr", "int*", "int* d"},
    {"codeptr", "void (*)()", "void (*d)()"},
};

// Compiles one source of assertions about the written sizes and alignments with the
// compiler itself; returns its complaints (empty when every assertion holds). Alignments
// are compared capped at alignCap, the largest alignment the object-size method reports.
std::string CompilerDisagreements(const Target& target, const std::vector<std::string>& lines,
                                  int alignCap, const std::set<std::string>& skip = {})
{
    const std::map<std::string, int> sizes = Values(lines, "-s ");
    const std::map<std::string, int> aligns = Values(lines, "-a ");
    std::string source = "#include <stddef.h>\n";
    for (const BaseSpelling& base : kSpellings) {
        const std::string name = base.PersonalityName;
        if (skip.count(name) != 0)
            continue;
        if (sizes.count(name) == 0 || aligns.count(name) == 0)
            return "no size or alignment line for " + name;
        const std::string offset = "offsetof(struct s_" + name + ", d)";
        source += "struct s_" + name + " { char c; " + base.Member + "; };\n";
        source += "typedef char size_of_" + name + "[(sizeof(" + base.CType + ") * 8 == " +
                  std::to_string(sizes.at(name)) + ") ? 1 : -1];\n";
        source += "typedef char align_of_" + name + "[((" + offset + " > " + std::to_string(alignCap) +
                  " ? " + std::to_string(alignCap) + " : " + offset + ") == " +
                  std::to_string(aligns.at(name)) + ") ? 1 : -1];\n";
    }
    const std::string dir = kxtest::MakeTempDir("typecheck");
    kxtest::WriteFile(dir + "/check.c", source);
    std::string command = target.Compiler;
    for (const std::string& sw : target.Switches)
        command += " " + sw;
    const kxtest::RunResult run = kxtest::RunShell(command + " -c check.c 2>&1", dir);
    kxtest::RemoveTree(dir);
    return run.Status == 0 ? std::string() : source + run.Stdout;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

#define REQUIRE_COMPILER(name)                                                    \
    if (!kxtest::HaveCommand(name))                                               \
    GTEST_SKIP() << name << " is not installed (CI installs it)"

}  // namespace

TEST(TypesOnCompilers, GccNativeC)
{
    REQUIRE_COMPILER("gcc");
    const Target gcc{"zanth", "cmp", "gcc", ".o", {}};
    std::ostringstream keywordLines;
    const PhaseResult run = RunPhase(gcc, [&](KestrixEngine& engine, std::ostream& out) {
        engine.ConductBaseTypeTests(out);
        engine.ConductKWTypeTests({"__int128", "__uint128_t", "__float128"}, keywordLines);
    });
    std::cout << "gcc, C, native:\n" << Joined(run.Lines) << keywordLines.str();
    ASSERT_FALSE(run.Cross) << run.Messages;
    EXPECT_EQ(CompilerDisagreements(gcc, run.Lines, 1 << 20), "");

    const std::map<std::string, int> sizes = Values(run.Lines, "-s ");
    const std::map<std::string, int> aligns = Values(run.Lines, "-a ");
    EXPECT_EQ(sizes.at("ldouble"), 128);
    EXPECT_EQ(aligns.at("ldouble"), 16);
    EXPECT_EQ(sizes.at("codeptr"), 64);
    EXPECT_EQ(aligns.at("codeptr"), 8);

    // Size and alignment pairs in table order, plain char's line right after char's pair,
    // then the three typedefs.
    ASSERT_EQ(run.Lines.size(), 24u) << Joined(run.Lines);
    EXPECT_EQ(run.Lines[0], "-s char=8");
    EXPECT_EQ(run.Lines[1], "-a char=1");
    EXPECT_EQ(run.Lines[2], "-u-");
    EXPECT_EQ(run.Lines[3], "-s int=32");
    EXPECT_EQ(run.Lines[19], "-s codeptr=64");
    EXPECT_EQ(run.Lines[21], "-it \"size_t=unsigned long\"");
    EXPECT_EQ(run.Lines[22], "-it \"ptrdiff_t=long\"");
    EXPECT_EQ(run.Lines[23], "-it \"wchar_t=int\"");

    // A 128-bit integer maps onto the widest integer, long long (later of the two 64-bit
    // entries); the unsigned keyword keeps its signedness although "unsigned" cannot
    // precede it.
    EXPECT_EQ(keywordLines.str(),
              "-d \"__float128=long double\"\n"
              "-d \"__int128=long long\"\n-ex longlong\n"
              "-d \"__uint128_t=unsigned long long\"\n-ex longlong\n");
    EXPECT_EQ(run.Messages.find("Couldn't determine size of int"), std::string::npos) << run.Messages;
}

TEST(TypesOnCompilers, GxxNativeCpp)
{
    REQUIRE_COMPILER("g++");
    const Target gxx{"zanth++", "cmp", "g++", ".o", {}};
    std::ostringstream keywordLines;
    const PhaseResult run = RunPhase(gxx, [&](KestrixEngine& engine, std::ostream& out) {
        engine.ConductBaseTypeTests(out);
        engine.ConductKWTypeTests({"__int128"}, keywordLines);
    });
    std::cout << "g++, C++, native:\n" << Joined(run.Lines) << keywordLines.str();
    ASSERT_FALSE(run.Cross) << run.Messages;
    EXPECT_EQ(CompilerDisagreements(gxx, run.Lines, 1 << 20), "");
    EXPECT_EQ(CountPrefix(run.Lines, "-u"), 0);
    EXPECT_TRUE(Has(run.Lines, "-it \"size_t=unsigned long\""));
    EXPECT_TRUE(Has(run.Lines, "-it \"ptrdiff_t=long\""));
    EXPECT_EQ(CountPrefix(run.Lines, "-it \"wchar_t"), 0) << Joined(run.Lines);
    EXPECT_EQ(run.Lines.size(), 22u);
    // C++ keyword types are defined with the C++ option and bring no "-ex" line.
    EXPECT_EQ(keywordLines.str(), "-sd \"__int128=long long\"\n");
}

TEST(TypesOnCompilers, GccAsCrossCompiler)
{
    // The compile-only methods against a compiler whose answers are known: the host's.
    REQUIRE_COMPILER("gcc");
    const Target gcc{"zanth", "ccmp", "gcc", ".o", {}};
    const PhaseResult run = RunPhase(gcc, BaseTypes);
    std::cout << "gcc, C, as a cross compiler:\n" << Joined(run.Lines);
    ASSERT_TRUE(run.Cross);
    EXPECT_EQ(CompilerDisagreements(gcc, run.Lines, 8), "");
    // Extended precision padded to 16 bytes is not mistaken for the 12-byte form.
    EXPECT_TRUE(Has(run.Lines, "-s ldouble=128"));
    EXPECT_TRUE(Has(run.Lines, "-a ldouble=8")) << "the object-size method reports at most 8";
    EXPECT_TRUE(Has(run.Lines, "-u-"));
    EXPECT_TRUE(Has(run.Lines, "-it \"size_t=unsigned long\""));
    EXPECT_TRUE(Has(run.Lines, "-it \"ptrdiff_t=long\""));
    EXPECT_TRUE(Has(run.Lines, "-it \"wchar_t=int\""));
}

TEST(TypesOnCompilers, AvrGcc)
{
    REQUIRE_COMPILER("avr-gcc");
    const Target avr{"zanth", "ccmp", "avr-gcc", ".o", {}};
    std::ostringstream keywordLines;
    const PhaseResult run = RunPhase(avr, [&](KestrixEngine& engine, std::ostream& out) {
        engine.ConductBaseTypeTests(out);
        engine.ConductKWTypeTests({"__int24", "__uint24"}, keywordLines);
    });
    std::cout << "avr-gcc, C, cross:\n" << Joined(run.Lines) << keywordLines.str();
    EXPECT_EQ(CompilerDisagreements(avr, run.Lines, 8), "");
    const std::map<std::string, int> sizes = Values(run.Lines, "-s ");
    for (const char* name : {"int", "short", "codeptr", "dataptr"})
        EXPECT_EQ(sizes.at(name), 16) << name;
    for (const char* name : {"long", "float", "double"})
        EXPECT_EQ(sizes.at(name), 32) << name;
    EXPECT_EQ(sizes.at("longlong"), 64);
    for (const auto& [name, align] : Values(run.Lines, "-a "))
        EXPECT_EQ(align, 1) << name;
    EXPECT_TRUE(Has(run.Lines, "-u-"));
    EXPECT_TRUE(Has(run.Lines, "-it \"size_t=unsigned int\""));
    EXPECT_TRUE(Has(run.Lines, "-it \"ptrdiff_t=int\""));
    EXPECT_TRUE(Has(run.Lines, "-it \"wchar_t=int\""));
    // 24 bits lie 8 from short's and from long's 16 and 32: the larger wins the tie.
    EXPECT_EQ(keywordLines.str(), "-d \"__int24=long\"\n-d \"__uint24=unsigned long\"\n");
}

TEST(TypesOnCompilers, ArmNoneEabiGcc)
{
    REQUIRE_COMPILER("arm-none-eabi-gcc");
    const Target arm{"zanth", "ccmp", "arm-none-eabi-gcc", ".o", {}};
    const PhaseResult run = RunPhase(arm, BaseTypes);
    std::cout << "arm-none-eabi-gcc, C, cross:\n" << Joined(run.Lines);
    EXPECT_EQ(CompilerDisagreements(arm, run.Lines, 8), "");
    for (const char* name : {"int", "long", "float", "dataptr", "codeptr"}) {
        EXPECT_TRUE(Has(run.Lines, std::string("-s ") + name + "=32")) << name;
        EXPECT_TRUE(Has(run.Lines, std::string("-a ") + name + "=4")) << name;
    }
    for (const char* name : {"longlong", "double"}) {
        EXPECT_TRUE(Has(run.Lines, std::string("-s ") + name + "=64")) << name;
        EXPECT_TRUE(Has(run.Lines, std::string("-a ") + name + "=8")) << name;
    }
    EXPECT_TRUE(Has(run.Lines, "-u+"));
}

TEST(TypesOnCompilers, M68kBigEndian)
{
    REQUIRE_COMPILER("m68k-linux-gnu-gcc");
    const Target m68k{"zanth", "ccmp", "m68k-linux-gnu-gcc", ".o", {}};
    const PhaseResult run = RunPhase(m68k, BaseTypes);
    std::cout << "m68k-linux-gnu-gcc, C, cross:\n" << Joined(run.Lines);
    EXPECT_EQ(CompilerDisagreements(m68k, run.Lines, 8), "");
    EXPECT_TRUE(Has(run.Lines, "-s float=32"));
    EXPECT_TRUE(Has(run.Lines, "-s double=64"));
    EXPECT_TRUE(Has(run.Lines, "-s ldouble=96"));
    EXPECT_EQ(run.Messages.find("Couldn't determine size of"), std::string::npos) << run.Messages;
}

TEST(TypesOnCompilers, SdccMcs51TextObjects)
{
    REQUIRE_COMPILER("sdcc");
    // sdcc writes assembler text and relocatable text objects (.rel) beside it.
    const Target sdcc{"zanth", "ccmp", "sdcc", ".asm", {"-mmcs51"}};
    const PhaseResult run = RunPhase(sdcc, BaseTypes);
    std::cout << "sdcc -mmcs51, C, cross:\n" << Joined(run.Lines) << run.Messages;
    ASSERT_FALSE(S_OBJ_IS_BINARY);
    ASSERT_EQ(S_OBJEXT, ".rel");
    // sdcc has no long double: its declaration fails and the default stands.
    EXPECT_EQ(CompilerDisagreements(sdcc, run.Lines, 8, {"ldouble"}), "");
    EXPECT_TRUE(Has(run.Lines, "-s int=16"));
    EXPECT_TRUE(Has(run.Lines, "-s long=32"));
    EXPECT_TRUE(Has(run.Lines, "-s longlong=64"));
    EXPECT_TRUE(Has(run.Lines, "-s float=32"));
    EXPECT_TRUE(Has(run.Lines, "-u+"));
    // A generic data pointer carries a memory-space byte after its two address bytes.
    EXPECT_TRUE(Has(run.Lines, "-s dataptr=24"));
    EXPECT_TRUE(Has(run.Lines, "-s codeptr=16"));
    EXPECT_NE(run.Messages.find("Couldn't determine size of long double"), std::string::npos);
}

namespace {

// Measures one base type (from the default table) the way the base type driver does.
DataType MeasureOne(const Target& target, const std::string& personalityName, PhaseResult& run)
{
    std::vector<DataType> table = KestrixEngine::MakeBaseTypes();
    DataType type = *std::find_if(table.begin(), table.end(), [&](const DataType& t) {
        return t.PersonalityName == personalityName;
    });
    run = RunPhase(target, [&](KestrixEngine& engine, std::ostream&) {
        engine.TestType("", type);
        engine.TestTypeAlignment(type);
    });
    return type;
}

}  // namespace

TEST(TypesOnFakes, NativeOutputThatIsNoNumber)
{
    PhaseResult run;
    const DataType type = MeasureOne({"zanth", "cmp", kxtest::Fake("fake-type-nonnumeric")}, "int", run);
    ASSERT_FALSE(run.Cross) << run.Messages;
    // The size keeps its default and says so; the alignment comes from the object sizes,
    // which grow with every longer leading array here.
    EXPECT_EQ(type.SizeBits, 32);
    EXPECT_EQ(type.AlignBytes, 1);
    EXPECT_EQ(run.Messages, "Couldn't determine size of int - using the default value\n");
}

TEST(TypesOnFakes, NoFreeMarkerBytes)
{
    PhaseResult binary;
    const DataType fromBinary = MeasureOne({"zanth", "ccmp", kxtest::Fake("fake-type-crowded")}, "long", binary);
    EXPECT_EQ(fromBinary.SizeBits, 32);
    EXPECT_EQ(binary.Messages, "Couldn't determine size of long - using the default value\n");

    PhaseResult text;
    const DataType fromText =
        MeasureOne({"zanth", "ccmp", kxtest::Fake("fake-type-crowded"), ".asm"}, "long", text);
    EXPECT_EQ(fromText.SizeBits, 32);
    EXPECT_EQ(text.Messages, "Couldn't find 8 unique bytes!\n");
    // Objects that never grow put every member on the largest alignment.
    EXPECT_EQ(fromText.AlignBytes, 8);
}

TEST(TypesOnFakes, NoConstantSurvives)
{
    // Not even the one-byte constant compiles: the size is unknown, not zero, so the
    // default and its lines stay.
    PhaseResult run;
    const DataType type = MeasureOne({"zanth", "ccmp", kxtest::Fake("fake-type-noconst")}, "short", run);
    EXPECT_EQ(type.SizeBits, 16);
    EXPECT_EQ(run.Messages, "Couldn't determine size of short - using the default value\n");
}

TEST(TypesOnFakes, NoLongLongSuffix)
{
    // Without the long long suffix, integer constants carry "L" alone and still measure.
    const Target target{"zanth", "ccmp", kxtest::Fake("fake-type-nolonglong")};
    PhaseResult intRun;
    EXPECT_EQ(MeasureOne(target, "int", intRun).SizeBits, 16);
    PhaseResult longRun;
    EXPECT_EQ(MeasureOne(target, "long", longRun).SizeBits, 32);
    EXPECT_EQ(intRun.Messages + longRun.Messages, "");
}

TEST(TypesOnCompilers, IntrinsicTypesWithoutMatchingBaseType)
{
    REQUIRE_COMPILER("gcc");
    const PhaseResult run = RunPhase({"zanth", "cmp", "gcc"}, [](KestrixEngine& engine, std::ostream& out) {
        // A table in which no integer is 64 bits wide.
        for (DataType& base : engine.BaseTypes)
            if (base.Kind == DataType::Integer && base.SizeBits == 64)
                base.SizeBits = 32;
        engine.ConductIntrinsicTypeTests(out);

        // A typedef that only <stdio.h> offers to the test still gets measured, although
        // the header's printf clashes with the test program's own declaration.
        DataType fromStdio(S_SIZE_T, 0, 0, 0, false, S_SIZE_T);
        engine.TestType(S_INCLUDE_STDIO, fromStdio);
        out << "stdio " << fromStdio.SizeBits << " " << fromStdio.IsUnsigned << "\n";

        // No type keywords: nothing but the progress line.
        engine.ConductKWTypeTests({}, out);
    });
    ASSERT_FALSE(run.Cross);
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"-it \"wchar_t=int\"", "stdio 64 1"}));
    EXPECT_NE(run.Messages.find("size_t is an integer type of 64 bits, which matches no base type; "
                                "no intrinsic type line is written for it"),
              std::string::npos)
        << run.Messages;
    EXPECT_NE(run.Messages.find("ptrdiff_t is an integer type of 64 bits"), std::string::npos);
    EXPECT_NE(run.Messages.find("Conducting Keyword Type Tests ...\n"), std::string::npos);
}
