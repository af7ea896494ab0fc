// kestrix-export with the real tools: cppcheck and clang read the files exported from
// personalities of real compilers (tests/personalities) and answer as the compilers do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "export/ClangTargets.h"
#include "export/PersonalityReader.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxexport;
using kxtest::RunResult;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
std::string Output(const RunResult& r) { return r.Stdout + r.Stderr; }

// cppcheck with the exported files of a probed personality, or without them: whether it reports the finding.
struct CppcheckRun {
    const char* Source;
    std::vector<std::string> Args;
    bool Exported;
    const char* Finding;
    bool Found;
};
struct Probed {
    std::string Fixture, Name;
    std::vector<CppcheckRun> Runs;
};
void PrintTo(const Probed& probed, std::ostream* out) { *out << probed.Fixture; }

const std::map<std::string, std::string> kSources{
    {"plain_char.c", "int kx_over(void)\n{\n    char c = (char)200;\n    if (c > 100)\n        return 1;\n    return 0;\n}\n"},
    // 4 + 4 + 4 with 32-bit int, long and pointers.
    {"sizes.c", "void kx_sizes(void)\n{\n    char buf[12];\n    buf[sizeof(int) + sizeof(long) + sizeof(void *)] = 0;\n}\n"},
    // A timer interrupt that reads a port into a buffer one element too far.
    {"isr.c", "__sfr __at(0x80) P0;\nstatic unsigned char buffer[4];\nvoid timer0_isr(void) __interrupt(1)\n{\n"
              "    unsigned char i;\n    for (i = 0; i <= 4; i++)\n        buffer[i] = P0;\n}\n"}};
const char* const kOutOfBounds = "Array 'buffer[4]' accessed at index 4, which is out of bounds";

// (The check source is compiled by the compiler in the acceptance test, and by clang with the
// exported flags in the analysers' header set.)
const Probed kProbed[] = {
    {"avr-gcc", "AvrGcc", {{"plain_char.c", {}, true, "Condition 'c>100' is always false", true},
                           {"plain_char.c", {"--platform=avr8"}, false, "Condition 'c>100' is always true", true}}},
    // The forced-include header alone carries the keywords too; without it cppcheck skips the function in silence.
    {"sdcc-mcs51", "SdccMcs51", {{"isr.c", {}, true, kOutOfBounds, true},
                                 {"isr.c", {"--include=personality.h", "--includes-file=personality.includes.txt"}, false,
                                  kOutOfBounds, true},
                                 {"isr.c", {}, false, kOutOfBounds, false}}},
    {"arm-none-eabi-gcc", "ArmNoneEabiGcc", {{"plain_char.c", {}, true, "Condition 'c>100' is always true", true},
                                             {"sizes.c", {}, true, "accessed at index 12", true}}},
};

class Exported : public ::testing::TestWithParam<Probed> {
protected:
    void TearDown() override
    {
        if (!Dir.empty())
            kxtest::RemoveTree(Dir);
    }
    std::string Dir;
};

TEST_P(Exported, CppcheckAnswersAsTheCompilerDoes)
{
    const std::string name = GetParam().Fixture;
    if (!kxtest::HaveCommand("cppcheck"))
        GTEST_SKIP() << "cppcheck is not installed.";
    const char* root = std::getenv("KESTRIX_PERSONALITIES");
    const std::string probed = std::string(root ? root : "") + "/" + name;
    if (kxtest::FileExists(probed + "/missing.txt"))
        GTEST_SKIP() << kxtest::ReadFile(probed + "/missing.txt");
    if (!root || !kxtest::FileExists(probed + "/personality.p_c"))
        GTEST_SKIP() << "No personality at " << probed << "; ctest probes it first (fixture personality_" << name << ").";
    Dir = kxtest::MakeTempDir("kx-export-" + name);
    for (const char* file : {"personality.p_c", "personality.facts"})
        if (kxtest::FileExists(probed + "/" + file))
            kxtest::WriteFile(Dir + "/" + file, kxtest::ReadFile(probed + "/" + file));
    for (const char* format : {"cppcheck", "header"}) {
        const RunResult r = kxtest::RunProgram({KESTRIX_EXPORT, format, Dir + "/personality.p_c"}, Dir);
        ASSERT_EQ(r.Status, 0) << r.Stderr;
    }
    for (const CppcheckRun& run : GetParam().Runs) {
        kxtest::WriteFile(Dir + "/" + run.Source, kSources.at(run.Source));
        std::vector<std::string> argv{"cppcheck", "--enable=style"};
        if (run.Exported) {
            argv.insert(argv.end(), {"--platform=personality.platform.xml", "--library=personality.cfg",
                                     "--includes-file=personality.includes.txt"});
            for (const std::string& file : ReadPersonality(Dir + "/personality.p_c").ForceIncludes)
                argv.push_back("--include=" + file);
        }
        argv.insert(argv.end(), run.Args.begin(), run.Args.end());
        argv.push_back(run.Source);
        const RunResult r = kxtest::RunProgram(argv, Dir);
        EXPECT_EQ(Has(Output(r), run.Finding), run.Found) << run.Source << " " << testing::PrintToString(run.Args) << Output(r);
    }
}

INSTANTIATE_TEST_SUITE_P(Probed, Exported, testing::ValuesIn(kProbed),
                         [](const testing::TestParamInfo<Probed>& info) { return info.param.Name; });

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

}  // namespace
