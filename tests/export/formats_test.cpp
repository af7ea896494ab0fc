// The formats' pure logic: the clang target of a data model, each file's facts, the refusal of bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "export/ClangTargets.h"
#include "export/ExportCommandLine.h"
#include "export/Formats.h"
#include "export/PersonalityReader.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxexport;

std::string TypeLines(const std::vector<std::pair<int, int>>& layouts)
{
    const char* names[] = {"char", "int", "short", "long", "longlong", "float", "double", "ldouble", "dataptr", "codeptr"};
    std::string text;
    for (std::size_t i = 0; i < layouts.size(); ++i)
        text += std::string("-s ") + names[i] + "=" + std::to_string(layouts[i].first) + "\n-a " + names[i] + "="
                + std::to_string(layouts[i].second) + "\n";
    return text;
}

const std::string Avr = TypeLines({{8, 1}, {16, 1}, {16, 1}, {32, 1}, {64, 1}, {32, 1}, {32, 1}, {32, 1}, {16, 1}, {16, 1}});
const std::string Sdcc = TypeLines({{8, 1}, {16, 1}, {16, 1}, {32, 1}, {64, 1}, {32, 1}, {32, 1}, {64, 8}, {24, 1}, {16, 1}});
const std::string M68k = TypeLines({{8, 1}, {32, 2}, {16, 2}, {32, 2}, {64, 2}, {32, 2}, {64, 2}, {96, 2}, {32, 2}, {32, 2}});
const std::string Llp64 = TypeLines({{8, 1}, {32, 4}, {16, 2}, {32, 4}, {64, 8}, {32, 4}, {64, 8}, {128, 16}, {64, 8}, {64, 8}});
const std::string Ilp32Quad = TypeLines({{8, 1}, {32, 4}, {16, 2}, {32, 4}, {64, 8}, {32, 4}, {64, 8}, {128, 16}, {32, 4}, {32, 4}});
// A cross compiler's long double measured on at most 8 bytes of alignment.
const std::string Lp64Align8 = TypeLines({{8, 1}, {32, 4}, {16, 2}, {64, 8}, {64, 8}, {32, 4}, {64, 8}, {128, 8}, {64, 8}, {64, 8}});
const std::string X86_64 = TypeLines({{8, 1}, {32, 4}, {16, 2}, {64, 8}, {64, 8}, {32, 4}, {64, 8}, {128, 16}, {64, 8}, {64, 8}});

std::string FileOf(const std::vector<OutputFile>& files, const std::string& name)
{
    for (const OutputFile& file : files)
        if (file.Name == name)
            return file.Content;
    ADD_FAILURE() << "no file " << name;
    return "";
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ClangTarget, NearestDataModelWithCorrections)
{
    // Companion: the byte order, from the companion file.
    const struct { std::string Types; const char *Companion, *Triple; std::vector<std::string> Switches;
                   std::size_t Misses; } cases[] = {
        {Avr + "-u-\n", "", "avr", {"-fsigned-char", "-fpack-struct=1"}, 0},
        {M68k + "-u-\n", "", "i686-linux-gnu", {"-fsigned-char", "-fpack-struct=2"}, 0},
        // Big-endian, it keeps to m68k at the price of the long double's size.
        {M68k + "-u-\n", "byte-order big\n", "m68k-linux-gnu", {"-fsigned-char", "-fpack-struct=2"}, 1},
        {X86_64, "", "x86_64-linux-gnu", {}, 0},
        {Llp64 + "-u-\n-it \"wchar_t=unsigned short\"\n", "byte-order little\n", "x86_64-w64-windows-gnu", {"-fsigned-char"}, 0},
        {Lp64Align8 + "-u+\n-it \"wchar_t=int\"\n", "byte-order little\n", "riscv64-unknown-elf", {"-funsigned-char", "-fpack-struct=8"}, 0},
        {Ilp32Quad + "-u+\n", "byte-order little\n", "riscv32-unknown-elf", {"-funsigned-char"}, 0},
        {Ilp32Quad + "-u+\n", "byte-order big\n", "powerpc-linux-gnu", {"-funsigned-char"}, 0},
        // No target has a 24-bit data pointer nor a long double of 64 bits beside a double of 32.
        {Sdcc + "-u+\n", "", "avr", {"-funsigned-char", "-fpack-struct=1"}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Triple);
        Personality personality = ParsePersonality(c.Types, "t.p_c");
        ParseCompanion(c.Companion, "t.facts", personality);
        const ClangTargetChoice choice = ChooseClangTarget(personality);
        EXPECT_EQ(choice.Triple, c.Triple);
        EXPECT_EQ(choice.Switches, c.Switches);
        EXPECT_EQ(choice.Unexpressed.size(), c.Misses);
        EXPECT_EQ(std::any_of(choice.Unexpressed.begin(), choice.Unexpressed.end(),
                              [](const std::string& s) { return Has(s, "data pointer is 24 bits"); }),
                  c.Types == Sdcc + "-u+\n");
    }
}

TEST(Formats, EachFileSaysTheFactsItsReaderNeeds)
{
    const std::string avrClang =
        "-i \"/inc\"\n-q \"/inc\"\n-d \"__SIZE_TYPE__=unsigned int\"\n-d __STDC_VERSION__=201112L\n-d __STDC_HOSTED__=0\n"
        "-d _VMT_STRINGIFY(x)=#x\n-d __VERSION__=_VMT_STRINGIFY(5.4.0)\n" + Avr + "-u-\n-dollar-\n-es+\n"
        "-d \"__attribute__=_ignore_paren\"\n-d \"__at=_ignore_paren\"\n-d \"__flash=\"\n-d \"__int24=long\"\n"
        "-q \"/fi\"\n-fi \"/fi/force.h\"\n";
    // Blanks inside a literal cannot become comments: quoted for clang, listed for clangd.
    const std::string literal = "-d \"MSG=f(\"a\\\" b\",  1)\"\n";
    const std::string sdccCppcheck =
        "-i \"/inc\"\n-i \"/inc2\"\n-d \"__SIZE_TYPE__=unsigned int\"\n-d _VMT_STRINGIFY(x)=#x\n"
        "-d __VERSION__=_VMT_STRINGIFY(a<b)\n" + Sdcc + "-u+\n-it \"size_t=unsigned int\"\n-it \"wchar_t=unsigned long\"\n"
        "-d \"__at=_ignore_paren\"\n-fi \"/fi/force.h\"\n";
    using S = std::vector<std::string>;
    const struct { Exporter Format; std::string Text, Path, File; S Says, Lacks; } cases[] = {
        // clang reads attributes itself: one that sets a type's width must not vanish.
        {ExportClang, avrClang, "/d/avr.p_c", "compile_flags.txt",
         {"--target=avr\n", "-std=gnu11\n", "-ffreestanding\n", "-fsigned-char\n", "-fpack-struct=1\n",
          "-fno-dollars-in-identifiers\n", "-nostdinc\n", "-undef\n", "-isystem\n/inc\n", "-D__SIZE_TYPE__=unsigned/**/int\n",
          "-U__STDC_VERSION__\n-D__STDC_VERSION__=201112L\n", "-D__VERSION__=_VMT_STRINGIFY(5.4.0)\n", "-D__at(...)=\n",
          "-D__flash=\n", "-D__int24=long\n", "-include\n/fi/force.h\n"},
         {"__attribute__"}},
        {ExportClang, avrClang, "/d/avr.p_c", "avr.clangd",
         {"CompileFlags:\n  Add: [\n    \"--target=avr\",\n", "A structure may be empty.", "Headers below /fi are system headers",
          "Left to clang, which reads them as the compiler does: __attribute__."}, {}},
        {ExportClang, literal, "/d/lit.p_c", "compile_flags.txt", {"\"-DMSG=f(\\\"a\\\\\\\" b\\\",/**/1)\"\n"}, {}},
        {ExportClang, literal, "/d/lit.p_c", "lit.clangd", {"holds a blank, a quote or a backslash"}, {}},
        {ExportCppcheck, sdccCppcheck, "/d/sdcc.p_c", "sdcc.platform.xml",
         {"<char_bit>8</char_bit>", "<default-sign>unsigned</default-sign>", "<int>2</int>", "<long-double>8</long-double>",
          "<pointer>3</pointer>", "<size_t>2</size_t>", "<wchar_t>4</wchar_t>",
          "The code pointer is 16 bits; cppcheck has one size for all pointers.",
          "The long double is aligned on 8 bytes in structures; cppcheck has no alignments."}, {}},
        {ExportCppcheck, sdccCppcheck, "/d/sdcc.p_c", "sdcc.cfg",
         {"<define name=\"__SIZE_TYPE__\" value=\"unsigned int\"/>", "- -include=/fi/force.h",
          "<define name=\"__VERSION__\" value=\"&quot;a&lt;b&quot;\"/>", "<define name=\"__at(...)\" value=\"\"/>"},
         {"_VMT_STRINGIFY"}},
        {ExportCppcheck, sdccCppcheck, "/d/sdcc.p_c", "sdcc.includes.txt", {"/inc\n/inc2\n"}, {}},
        // No clang target has a 24-bit data pointer: the files that carry clang's flags say so.
        {ExportClang, sdccCppcheck, "/d/sdcc.p_c", "sdcc.clangd", {"The data pointer is 24 bits"}, {}},
        {ExportHeader, sdccCppcheck, "/d/sdcc.p_c", "sdcc.h", {"The data pointer is 24 bits"}, {}},
        // The attribute keyword is left to a reader that knows it (clang asks __is_identifier).
        {ExportHeader, "-i \"/inc\"\n-d __AVR__=1\n" + Avr + "-u-\n-d \"__attribute__=_ignore_paren\"\n-d \"__flash=\"\n-fi \"/fi/force.h\"\n",
         "/d/avr-gcc.p_c", "avr-gcc.h",
         {"#ifndef KESTRIX_AVR_GCC_H\n#define KESTRIX_AVR_GCC_H\n", "#undef __AVR__\n#define __AVR__ 1\n", "#define __flash\n",
          "#ifndef __is_identifier\n#define __attribute__(...)\n#endif\n", "#include \"/fi/force.h\"\n",
          "searched in this order: /inc", "Plain char is signed.", "The int is 16 bits and is aligned on 1 byte in structures."},
         {}},
        // One assertion per fact and a use per keyword; a keyword that no test classified gets no use.
        {ExportCheck, "-d __AVR__=1\n-d __SDCC=4_2_0\n" + Sdcc + "-u+\n-it \"ptrdiff_t=long\"\n"
                      "-d \"__at=_ignore_paren\"\n-d \"__xdata=\"\n-d \"__bit=unsigned char\"\n-d __flash4=\n",
         "/d/sdcc.p_c", "sdcc.check.c",
         {"_Static_assert(sizeof(int*) == 3, \"data pointer is 24 bits\");",
          "_Static_assert(sizeof(struct kx_align_ldouble) == 8 + sizeof(long double), \"long double is aligned on 8 bytes in structures\");",
          "_Static_assert((char)-1 > 0, \"plain char is unsigned\");",
          "_Static_assert(sizeof(ptrdiff_t) == sizeof(long) && (ptrdiff_t)-1 < 0, \"ptrdiff_t is long\");",
          "_Static_assert((__AVR__) == (1), \"__AVR__ is 1\");", "#ifndef __SDCC\n#error \"__SDCC is not predefined\"\n#endif",
          "extern int kx_kw___at __at((unused));", "#ifdef __xdata\nextern __xdata int kx_kw___xdata;\n#endif",
          "void kx_kw___bit(void) { __bit kx_value; goto kx_value; kx_value:; }"},
         {"kx_kw___flash4"}},
        {ExportCheck, "-sd __cplusplus=201703L\n-s int=32\n", "/d/g++.p_c", "g++.check.cpp",
         {"static_assert(sizeof(int) == 4, \"int is 32 bits\");"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        const std::string text = FileOf(c.Format(ParsePersonality(c.Text, c.Path)), c.File);
        for (const std::string& part : c.Says)
            EXPECT_TRUE(Has(text, part)) << part << " in\n" << text;
        for (const std::string& part : c.Lacks)
            EXPECT_FALSE(Has(text, part)) << part;
        EXPECT_TRUE(c.File.find(".includes.txt") == std::string::npos || text == c.Says.front()) << text;
        // Every argument of @compile_flags.txt is a word or quoted whole: nothing to split.
        std::istringstream lines(text);
        for (std::string line; c.File == "compile_flags.txt" && std::getline(lines, line);)
            EXPECT_TRUE(line[0] == '"' || line.find_first_of(" \t\"'\\") == std::string::npos) << line;
        // An XML comment cannot hold a double hyphen.
        for (std::size_t open = text.find("<!--"); open != std::string::npos; open = text.find("<!--", open + 4))
            EXPECT_FALSE(Has(text.substr(open + 4, text.find("-->", open + 4) - open - 4), "--"));
    }
}

class ExportProgram : public ::testing::Test {
protected:
    void SetUp() override { Dir = kxtest::MakeTempDir("kx-export"); }
    void TearDown() override { kxtest::RemoveTree(Dir); }

    int Run(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int status = ExportMain(args, out, err);
        std::tie(Out, Err) = std::make_pair(out.str(), err.str());
        return status;
    }

    std::string Files() const { return kxtest::RunShell("LC_ALL=C ls -A | tr '\\n' ' '", Dir).Stdout; }

    std::string Dir, Out, Err;
};

// Bad input writes nothing and says why; good input writes beside the personality or into -o.
TEST_F(ExportProgram, RefusesBadInputAndWritesBesideThePersonalityOrIntoDir)
{
    kxtest::WriteFile(Dir + "/bad.p_c", "-i \"/usr/include\"\n-d A=1\n-s int=sixteen\n");
    kxtest::WriteFile(Dir + "/file", "");
    kxtest::WriteFile(Dir + "/avr.p_c", "-d A=1\n" + Avr);
    // The companion file is read with the personality, and held to the same standard.
    kxtest::WriteFile(Dir + "/avr.facts", "byte-order middle\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"clang", Dir + "/bad.p_c"}, "Line 3 of the personality " + Dir + "/bad.p_c"},
        {{"check", Dir + "/bad.p_c"}, "Line 3 of the personality"},
        {{"cppcheck", Dir + "/avr.p_c"}, "Line 1 of the companion file " + Dir + "/avr.facts cannot be read"},
        {{"header", Dir + "/none.p_c"}, "Cannot open the personality " + Dir + "/none.p_c: No such file or directory."},
        {{}, "Usage: kestrix-export FORMAT PERSONALITY [-o DIR]"}, {{"clang"}, "Usage:"}, {{"pdf", "x.p_c"}, "Usage:"},
        {{"clang", "x.p_c", "-o"}, "Usage:"}, {{"clang", "x.p_c", "-z"}, "Usage:"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(Run(args), 1) << message;
        EXPECT_TRUE(Has(Err, message)) << Err;
        EXPECT_EQ(Files(), "avr.facts avr.p_c bad.p_c file ");
    }
    kxtest::WriteFile(Dir + "/avr.facts", "byte-order little\n");
    EXPECT_EQ(Run({"header", Dir + "/avr.p_c", "-o", Dir + "/file"}), 1);
    EXPECT_TRUE(Has(Err, "Cannot make the output directory " + Dir + "/file")) << Err;
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_TRUE(Has(Out, "clang, cppcheck, header, check"));

    EXPECT_EQ(Run({"cppcheck", Dir + "/avr.p_c"}), 0) << Err;
    EXPECT_EQ(Files(), "avr.cfg avr.cppcheck avr.facts avr.includes.txt avr.p_c avr.platform.xml bad.p_c file ");
    // cppcheck resolves the project's file names against its own working directory.
    EXPECT_TRUE(Has(kxtest::ReadFile(Dir + "/avr.cppcheck"), "<platform>" + Dir + "/avr.platform.xml</platform>"));
    EXPECT_EQ(Run({"header", Dir + "/avr.p_c", "-o", Dir + "/out/sub"}), 0) << Err;
    EXPECT_TRUE(kxtest::FileExists(Dir + "/out/sub/avr.h"));
    EXPECT_TRUE(Has(Out, "Wrote " + Dir + "/out/sub/avr.h"));
}

}  // namespace

// Personalities that attack the exported files' readers (clang's @file, gcc's -include, YAML, XML): each
// reads back the row's macros, or is refused with its message and writes nothing.
TEST_F(ExportProgram, HostilePersonalitiesGiveFilesTheirReadersTakeAsWrittenOrARefusal)
{
    const std::string evil = " -Xclang -load -Xclang " + Dir + "/evil.so ";
    kxtest::WriteFile(Dir + "/q\"x.h", "#define FROM_FI 1\n");
    kxtest::WriteFile(Dir + "/q", "#define DECOY 1\n");
    // ReadBack: lines of the reader's output, or the refusal.
    const struct { const char* Format; std::string Personality; std::vector<std::string> ReadBack; } cases[] = {
        // Blanks, a \" in a value and a tab in a parameter list would split an argument of clang's @file.
        {"clang", "-i \"/opt/x" + evil + "\"\n-d A=1\n", {"#define A 1"}},
        {"clang", "-d \"B=\\\"" + evil + "\\\"\"\n", {"#define B \\\"" + evil + "\\\""}},
        {"clang", "-d \"C(a,\tb)=a+b\"\n-d D=4\n", {"#define C(a,b) a+b", "#define D 4"}},
        {"clang", "-d \"E=1\r-Xclang\"\n", {"holds the control character 0x0D, which compile_flags.txt cannot carry"}},
        {"clang", std::string("-d \"F=a\0b\"\n", 11), {"holds the control character 0x00"}},
        {"clang", "-i \"@" + Dir + "/q\"\n", {"a leading \"@\""}},
        {"clang", "-i \"/opt/\xfc\"\n", {"holds the byte 0xFC (not UTF-8 text), which out6.clangd cannot carry"}},
        // Characters XML must escape; a Latin-1 directory the project file would name.
        {"cppcheck", "-d \"G=a\t<&>'\\\"b\"\n", {"G=a\t<&>'\\\"b"}},
        {"cppcheck", "-i \"/opt/\xfc\"\n", {"holds the byte 0xFC (not UTF-8 text), which out8.cppcheck cannot carry"}},
        {"cppcheck", "-d \"H=a\bb\"\n", {"the define of H (\"a\\x08b\") holds the control character 0x08"}},
        {"cppcheck", "-d \"I=\xe4\"\n", {"holds the byte 0xE4"}},
        // A value ending in a backslash, a comment across values, a carriage return, a quote in a name.
        {"header", "-d \"J=x\\\"\n-d K=2\n", {"#define J x\\", "#define K 2"}},
        {"header", "-d \"L=/*\"\n-d M=3\n-d \"N=*/\"\n", {"the define of L (\"L /*\") opens a comment"}},
        {"header", "-d \"O=\"a\" // b\\\"\n", {"ends in a comment and a backslash"}},
        {"header", "-d \"P(a\r#pragma GCC poison Q)=1\"\n", {"holds the control character 0x0D"}},
        {"header", "-fi \"" + Dir + "/q\\\"x.h\"\n-d R=5\n", {"#define FROM_FI 1", "#define R 5"}},
    };
    const std::string python =
        "import sys, glob, shlex, yaml, xml.etree.ElementTree as ET\n"
        "d = sys.argv[1]\n"
        "for f in glob.glob(d + '/*.clangd'):\n"
        "    add = yaml.safe_load(open(f, encoding='utf-8'))['CompileFlags']['Add']\n"
        "    words = shlex.split(open(d + '/compile_flags.txt', encoding='utf-8').read(), comments=False, posix=True)\n"
        "    assert add == words, (add, words)\n"
        "for f in glob.glob(d + '/*.cfg') + glob.glob(d + '/*.xml'):\n"
        "    for e in ET.parse(f).getroot().iter('define'):\n"
        "        print(e.get('name') + '=' + e.get('value'))\n";
    kxtest::WriteFile(Dir + "/read.py", python);
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("row " + std::to_string(row));
        const std::string out = Dir + "/out" + std::to_string(row++);
        kxtest::WriteFile(out + ".p_c", c.Personality);
        const bool refused = Run({c.Format, out + ".p_c", "-o", out}) != 0;
        if (refused) {
            EXPECT_FALSE(std::filesystem::exists(out));
            EXPECT_TRUE(Has(Err, c.ReadBack.front())) << Err;
            continue;
        }
        const std::string format = c.Format, compiler = format == "clang" ? "clang -E -dM -x c /dev/null @" + out +
            "/compile_flags.txt" : "gcc -E -dM -x c /dev/null -include " + out + "/out" + std::to_string(row - 1) + ".h";
        std::string readBack;
        for (const std::string& reader : {"/usr/bin/python3 read.py " + out, format == "cppcheck" ? "true" : compiler}) {
            const kxtest::RunResult r = kxtest::RunShell(reader, Dir);
            EXPECT_EQ(r.Status, 0) << reader << ": " << r.Stderr;
            readBack += r.Stdout;
        }
        const std::vector<std::string> lines = kxtest::Lines(readBack);
        for (const std::string& line : c.ReadBack)
            EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line << " in\n" << readBack;
    }
}
