// Acceptance of kestrix-export with the real tools: clang, clang-tidy and cppcheck read the
// exported files for personalities that Kestrix probed of real compilers (the fixtures of
// tests/personalities), and their answers are held against the compilers' own.
#include <gtest/gtest.h>

#include <cstdlib>

#include "export/ClangKeywords.h"
#include "export/ClangTargets.h"
#include "export/PersonalityReader.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxexport;
using kxtest::RunResult;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
std::string Output(const RunResult& r) { return r.Stdout + r.Stderr; }

// The exported files of one probed personality, in a scratch directory of their own.
class Exported : public ::testing::Test {
protected:
    // Skips (with the reason) when the personality or a tool is missing.
    void Prepare(const std::string& name, const std::vector<std::string>& tools)
    {
        for (const std::string& tool : tools)
            if (!kxtest::HaveCommand(tool))
                GTEST_SKIP() << tool << " is not installed.";
        const char* root = std::getenv("KESTRIX_PERSONALITIES");
        const std::string probed = std::string(root ? root : "") + "/" + name;
        if (kxtest::FileExists(probed + "/missing.txt"))
            GTEST_SKIP() << kxtest::ReadFile(probed + "/missing.txt");
        if (!root || !kxtest::FileExists(probed + "/personality.p_c"))
            GTEST_SKIP() << "No personality at " << probed << "; ctest probes it first (fixture personality_" << name << ").";
        Dir = kxtest::MakeTempDir("kx-export-" + name);
        const std::string personality = Dir + "/personality.p_c";
        kxtest::WriteFile(personality, kxtest::ReadFile(probed + "/personality.p_c"));
        if (kxtest::FileExists(probed + "/personality.facts"))
            kxtest::WriteFile(Dir + "/personality.facts", kxtest::ReadFile(probed + "/personality.facts"));
        Facts = ReadPersonality(personality);
        for (const char* format : {"clang", "cppcheck", "header", "check"}) {
            const RunResult r = Run({KESTRIX_EXPORT, format, personality});
            ASSERT_EQ(r.Status, 0) << r.Stderr;
        }
        CheckSource = Facts.IsCpp ? "personality.check.cpp" : "personality.check.c";
    }
    void TearDown() override
    {
        if (!Dir.empty())
            kxtest::RemoveTree(Dir);
    }

    std::string File(const std::string& name) const { return kxtest::ReadFile(Dir + "/" + name); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        kxtest::WriteFile(Dir + "/" + name, text);
        return name;
    }
    RunResult Run(const std::vector<std::string>& argv) const { return kxtest::RunProgram(argv, Dir); }

    // clang with the exported flags, once as clang reads @compile_flags.txt and once with
    // the lines as arguments, as clangd reads them.
    void ExpectClangAccepts(const std::string& source) const
    {
        const RunResult atFile = Run({"clang", "@compile_flags.txt", "-fsyntax-only", source});
        EXPECT_EQ(atFile.Status, 0) << atFile.Stderr;
        EXPECT_FALSE(Has(atFile.Stderr, "redefin")) << atFile.Stderr;
        std::vector<std::string> argv = kxtest::Lines(File("compile_flags.txt"));
        argv.insert(argv.begin(), "clang");
        argv.insert(argv.end(), {"-fsyntax-only", source});
        const RunResult asLines = Run(argv);
        EXPECT_EQ(asLines.Status, 0) << asLines.Stderr;
    }
    // The check source: the compiler itself agrees with every assertion, and so does clang
    // with the exported flags.
    void ExpectCheckHolds(std::vector<std::string> compiler) const
    {
        compiler.insert(compiler.end(), {"-c", CheckSource, "-o", "check.o"});
        const RunResult own = Run(compiler);
        EXPECT_EQ(own.Status, 0) << own.Stderr;
        ExpectClangAccepts(CheckSource);
    }
    RunResult Cppcheck(const std::string& source, std::vector<std::string> extra = {}, bool exported = true) const
    {
        std::vector<std::string> argv{"cppcheck", "--enable=style"};
        if (exported) {
            argv.insert(argv.end(), {"--platform=personality.platform.xml", "--library=personality.cfg",
                                     "--includes-file=personality.includes.txt"});
            for (const std::string& file : Facts.ForceIncludes)
                argv.push_back("--include=" + file);
        }
        argv.insert(argv.end(), extra.begin(), extra.end());
        argv.push_back(source);
        return Run(argv);
    }

    std::string Dir, CheckSource;
    kxexport::Personality Facts;
};

const char* const PlainCharTest = "int kx_over(void)\n{\n    char c = (char)200;\n    if (c > 100)\n        return 1;\n"
                                  "    return 0;\n}\n";

class AvrGcc : public Exported {
protected:
    void SetUp() override { Prepare("avr-gcc", {"clang", "cppcheck", "avr-gcc"}); }
};

TEST_F(AvrGcc, ClangAcceptsTheCheckOnlyWithTheExportedFlags)
{
    for (const char* fact : {"sizeof(int) == 2", "sizeof(double) == 4", "extern __flash int", "__int24 kx_value"})
        EXPECT_TRUE(Has(File(CheckSource), fact)) << fact;
    ExpectCheckHolds({"avr-gcc", "-mmcu=atmega2560"});
    const RunResult plain = Run({"clang", "--target=avr", "-fsyntax-only", CheckSource});
    EXPECT_TRUE(plain.Status != 0 && Has(plain.Stderr, "static_assert failed")) << plain.Stderr;
}

TEST_F(AvrGcc, CppcheckReadsPlainCharAsSigned)
{
    const std::string source = Write("plain_char.c", PlainCharTest);
    const RunResult exported = Cppcheck(source);
    EXPECT_TRUE(Has(Output(exported), "Condition 'c>100' is always false")) << Output(exported);
    const RunResult bundled = Cppcheck(source, {"--platform=avr8"}, false);
    EXPECT_TRUE(Has(Output(bundled), "Condition 'c>100' is always true")) << Output(bundled);
}

class SdccMcs51 : public Exported {
protected:
    void SetUp() override
    {
        Prepare("sdcc-mcs51", {"clang-tidy", "cppcheck"});
        // A timer interrupt that reads a port into a buffer one element too far.
        if (!Dir.empty())
            Source = Write("isr.c", "__sfr __at(0x80) P0;\nstatic unsigned char buffer[4];\n"
                                    "void timer0_isr(void) __interrupt(1)\n{\n    unsigned char i;\n"
                                    "    for (i = 0; i <= 4; i++)\n        buffer[i] = P0;\n}\n");
    }
    std::string Source;
};

TEST_F(SdccMcs51, CppcheckFindsTheWriteOutOfBounds)
{
    // With the exported files, and with the forced-include header alone (which carries the
    // keywords as well); without them cppcheck skips the function in silence.
    const std::pair<RunResult, bool> runs[] = {
        {Cppcheck(Source), true},
        {Cppcheck(Source, {"--include=personality.h", "--includes-file=personality.includes.txt"}, false), true},
        {Cppcheck(Source, {}, false), false},
    };
    for (const auto& [run, found] : runs)
        EXPECT_EQ(Has(Output(run), "Array 'buffer[4]' accessed at index 4, which is out of bounds"), found) << Output(run);
}

TEST_F(SdccMcs51, ClangTidyParsesTheSourceWithoutErrors)
{
    // clang-tidy finds compile_flags.txt beside the source, as clangd does.
    const RunResult tidy = Run({"clang-tidy", "--checks=-*,clang-analyzer-*", Source});
    EXPECT_TRUE(tidy.Status == 0 && !Has(Output(tidy), "error:")) << Output(tidy);
    const RunResult bare = Run({"clang-tidy", "--checks=-*,clang-analyzer-*", Source, "--"});
    EXPECT_TRUE(Has(Output(bare), "error:")) << Output(bare);
}

TEST_F(SdccMcs51, FactsNoFlagCanExpressAreListed)
{
    // sdcc's data pointers are 3 bytes; no clang target has such a pointer. (What the cppcheck
    // platform says of them is the formats' test.)
    ASSERT_EQ(Facts.Layout(BaseType::DataPtr).SizeBits, 24);
    for (const char* file : {"personality.clangd", "personality.h"})
        EXPECT_TRUE(Has(File(file), "The data pointer is 24 bits")) << file;
}

class ArmNoneEabiGcc : public Exported {
protected:
    void SetUp() override { Prepare("arm-none-eabi-gcc", {"clang", "cppcheck", "arm-none-eabi-gcc"}); }
};

TEST_F(ArmNoneEabiGcc, UnsignedPlainCharAndThirtyTwoBitSizesInEveryFormat)
{
    ASSERT_TRUE(Has(kxtest::RunShell("arm-none-eabi-gcc -dM -E -x c /dev/null").Stdout, "#define __CHAR_UNSIGNED__ 1"));
    // The check asserts the sign of plain char, and holds for the compiler and for clang.
    EXPECT_TRUE(Has(File(CheckSource), "_Static_assert((char)-1 > 0, \"plain char is unsigned\");"));
    ExpectCheckHolds({"arm-none-eabi-gcc"});
    EXPECT_TRUE(Has(File("personality.h"), "Plain char is unsigned."));
    // cppcheck reads plain char as unsigned, and counts 4 + 4 + 4 with 32-bit int, long and
    // pointers.
    const RunResult sign = Cppcheck(Write("plain_char.c", PlainCharTest));
    EXPECT_TRUE(Has(Output(sign), "Condition 'c>100' is always true")) << Output(sign);
    const RunResult sizes = Cppcheck(Write("sizes.c", "void kx_sizes(void)\n{\n    char buf[12];\n"
                                                      "    buf[sizeof(int) + sizeof(long) + sizeof(void *)] = 0;\n}\n"));
    EXPECT_TRUE(Has(Output(sizes), "accessed at index 12")) << Output(sizes);
}

// (gcc's check source is compiled by gcc in the acceptance test, and by clang with the
// exported flags in the analysers' header set.)
// The exporter's knowledge of clang held against clang itself.
class ClangTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!kxtest::HaveCommand("clang"))
            GTEST_SKIP() << "clang is not installed.";
    }
    static RunResult Clang(std::vector<std::string> flags, const std::string& source)
    {
        const std::string dir = kxtest::MakeTempDir("kx-clang-table");
        kxtest::WriteFile(dir + "/t.c", source);
        flags.insert(flags.begin(), "clang");
        flags.insert(flags.end(), {"-fsyntax-only", "-w", dir + "/t.c"});
        const RunResult r = kxtest::RunProgram(flags);
        kxtest::RemoveTree(dir);
        return r;
    }
};

TEST_F(ClangTables, TargetModelsAreClangs)
{
    for (const ClangTarget& target : ClangTargets()) {
        std::vector<std::pair<std::string, DataModel>> variants{{"", target.Model}};
        for (const TypeSwitch& typeSwitch : target.Switches) {
            variants.emplace_back(typeSwitch.Switch, target.Model);
            for (const auto& [type, layout] : typeSwitch.Changes)
                variants.back().second.Types[static_cast<std::size_t>(type)] = layout;
        }
        for (const auto& [flag, model] : variants) {
            SCOPED_TRACE(target.Triple + " " + flag);
            std::string source = "typedef void (*kx_code)(void);\n";
            auto check = [&](const std::string& condition) { source += "_Static_assert(" + condition + ", \"\");\n"; };
            for (std::size_t i = 0; i < BaseTypeCount; ++i) {
                const auto type = static_cast<BaseType>(i);
                const std::string spelled = type == BaseType::CodePtr ? "kx_code" : SourceSpelling(type);
                const std::string tag = std::string("s_") + PersonalityName(type);
                source += "struct " + tag + " { char c; " + spelled + " m; };\n";
                check("sizeof(" + spelled + ") * 8 == " + std::to_string(model.Types[i].SizeBits));
                check("sizeof(struct " + tag + ") - sizeof(" + spelled + ") == " + std::to_string(model.Types[i].AlignBytes));
            }
            check(model.CharUnsigned ? "(char)-1 > 0" : "(char)-1 < 0");
            check("sizeof(__WCHAR_TYPE__) * 8 == " + std::to_string(model.WcharBits));
            check(model.WcharUnsigned ? "(__WCHAR_TYPE__)-1 > 0" : "(__WCHAR_TYPE__)-1 < 0");
            check("sizeof(__SIZE_TYPE__) * 8 == " + std::to_string(model.SizeTypeBits));
            check("sizeof(__PTRDIFF_TYPE__) == sizeof(__SIZE_TYPE__)");
            check(std::string("__BYTE_ORDER__ == ") + (target.Order == ByteOrder::Big ? "__ORDER_BIG_ENDIAN__" : "__ORDER_LITTLE_ENDIAN__"));
            for (const std::string& type : target.ExtendedTypes)
                source += type + " kx_" + type + ";\n";
            std::vector<std::string> flags{"--target=" + target.Triple};
            if (!flag.empty())
                flags.push_back(flag);
            const RunResult r = Clang(flags, source);
            EXPECT_EQ(r.Status, 0) << r.Stderr;
        }
        // The macro that ties a personality to the target is the target's own.
        const RunResult macros = kxtest::RunShell("clang --target=" + target.Triple + " -dM -E -x c /dev/null");
        EXPECT_TRUE(Has(macros.Stdout, "#define " + target.ArchMacro + " ")) << target.Triple << ": " << target.ArchMacro;
    }
}

TEST_F(ClangTables, OwnKeywordsAreClangs)
{
    for (const bool cpp : {false, true}) {
        std::string source;
        for (const std::string& name : ClangOwnKeywords(cpp))
            // A keyword, a built-in function, or a built-in type (which only a use shows).
            source += "#if __is_identifier(" + name + ") && !__has_builtin(" + name + ")\n__typeof__(" + name + ") *kx_"
                      + name + ";\n#endif\n";
        const RunResult r = Clang({"-x", cpp ? "c++" : "c"}, source);
        EXPECT_EQ(r.Status, 0) << (cpp ? "C++: " : "C: ") << r.Stderr;
    }
}

}  // namespace
