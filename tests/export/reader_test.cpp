// The personality reader: every line kind the engine writes read back into facts, and a
// clear refusal of a line it cannot read.
#include <gtest/gtest.h>

#include <set>

#include "common/PersonalityFormat.h"
#include "engine/core/TextUtilities.h"
#include "engine/output/PersonalityWriter.h"
#include "export/ExportError.h"
#include "export/MacroText.h"
#include "export/PersonalityReader.h"

namespace {

using namespace kxexport;

TEST(PersonalityReader, ReadsBackEveryLineKindTheEngineWrites)
{
    PersonalityWriter w(true);
    w.SubstituteDir("/sub");
    w.IncludeDir("/usr/lib/avr/include");
    const auto defines = [&w](bool quoted, std::initializer_list<const char*> list) {
        for (const char* define : list)
            w.Line(quoted ? w.QuotedDefine(define) : w.Define(define));
    };
    defines(true, {"__SIZE_TYPE__=unsigned int"});
    defines(false, {"_VMT_STRINGIFY(x)=#x", "__VERSION__=_VMT_STRINGIFY(5.4.0)", "FLAG"});
    w.Size("char", 8), w.Align("char", 1), w.PlainCharUnsigned(false), w.Size("int", 16), w.Align("int", 1);
    w.IntrinsicType("size_t", true, "int");
    w.IdentifierLength(true, 1024), w.IdentifierLength(false, 31);
    w.Line("-bin+"), w.Line(PersonalityWriter::Extension("longlong"));
    defines(true, {"__flash=", "__at=_ignore_paren", "__asm=asm", "__inline=inline"});
    defines(false, {"__builtin_va_arg(v,t)=(*(t*)(v))", "__flash4=", "__null=((void*)0)"});
    defines(true, {"__int24=long", "__bf16=int*", "_vmt_null_expression=0 _vmt_ignore_paren"});
    w.ForceInclude("/fi", "/fi/force.h");
    const Personality p = ParsePersonality(w.Text(), "/p/avr.p_c");

    using S = std::vector<std::string>;
    EXPECT_TRUE(p.Name == "avr" && !p.IsCpp);
    EXPECT_EQ(p.IncludeDirs, (S{"/sub", "/usr/lib/avr/include"}));
    EXPECT_EQ(p.SystemDirs.size(), 3u);
    EXPECT_EQ(p.ForceIncludes, S{"/fi/force.h"});
    EXPECT_EQ(std::make_tuple(p.Layout(BaseType::Int).SizeBits, p.Layout(BaseType::Int).AlignBytes,
                              p.Layout(BaseType::Long).SizeBits, p.ExternalIdentifierLength, p.LocalIdentifierLength),
              std::make_tuple(16, 1, 0, 1024, 31));
    EXPECT_EQ(p.CharUnsigned, false);  // known, and signed
    ASSERT_NE(p.Intrinsic("size_t"), nullptr);
    EXPECT_TRUE(p.Intrinsic("size_t")->Unsigned && p.Intrinsic("size_t")->Base == BaseType::Int);
    EXPECT_EQ(std::tie(p.GeneralResults, p.Extensions), std::make_tuple(S{"-bin+"}, S{"longlong"}));

    // Defines before the type lines are macros, after them keyword treatments; quoting marks a classified one.
    const struct { const char* Name; DefineKind Kind; bool Classified; const char* Value; } expected[] = {
        {"__SIZE_TYPE__", DefineKind::Macro, false, "unsigned int"}, {"_VMT_STRINGIFY", DefineKind::Helper, false, "#x"},
        {"__VERSION__", DefineKind::Macro, false, "_VMT_STRINGIFY(5.4.0)"}, {"FLAG", DefineKind::Macro, false, ""},
        {"__flash", DefineKind::Drop, true, ""}, {"__at", DefineKind::IgnoreParen, true, "_ignore_paren"},
        {"__asm", DefineKind::Asm, true, "asm"}, {"__inline", DefineKind::Alias, true, "inline"},
        {"__builtin_va_arg", DefineKind::Builtin, false, "(*(t*)(v))"}, {"__flash4", DefineKind::Drop, false, ""},
        {"__null", DefineKind::Replace, false, "((void*)0)"}, {"__int24", DefineKind::Type, true, "long"},
        {"__bf16", DefineKind::Type, true, "int*"}, {"_vmt_null_expression", DefineKind::Replace, false, "0 _vmt_ignore_paren"},
    };
    ASSERT_EQ(p.Defines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& [name, kind, classified, value] = expected[i];
        EXPECT_EQ(std::make_tuple(p.Defines[i].Name, p.Defines[i].Kind, p.Defines[i].Classified(), p.Defines[i].Value),
                  std::make_tuple(std::string(name), kind, classified, std::string(value)));
    }
    EXPECT_FALSE(p.Defines[3].HasValue);
    EXPECT_EQ(p.Defines[8].Parameters, "(v,t)");
    EXPECT_EQ(p.Defines[2].ResolvedValue(), "\"5.4.0\"");

    // The C++ analyser's kinds; only \" and \\ are escapes in paths, other backslashes (Windows) are literal.
    PersonalityWriter cppWriter(false);
    const std::vector<std::string> paths{"/usr/include/c++/12", R"(C:\dir\sub)", R"(a"b)", R"(a\"b)", R"(C:\dir\)", R"(a\\b)"};
    for (const std::string& path : paths)
        cppWriter.IncludeDir(path);
    cppWriter.Line(cppWriter.Define("__cplusplus=201703L"));
    EXPECT_EQ(cppWriter.Lines()[2], "-si \"C:\\dir\\sub\"");
    EXPECT_ANY_THROW(cppWriter.IncludeDir("/evil\n-d INJECTED=1")) << "a line end would start a line of its own";
    const Personality cpp = ParsePersonality(cppWriter.Text(), "g++.p_c");
    EXPECT_TRUE(cpp.IsCpp);
    EXPECT_EQ(cpp.IncludeDirs, paths);
    EXPECT_EQ(cpp.SystemDirs, paths);
    ASSERT_EQ(cpp.Defines.size(), 1u);
    EXPECT_EQ(cpp.Defines[0].Value, "201703L");
    PersonalityWriter unsignedChar(true);
    unsignedChar.PlainCharUnsigned(true);
    EXPECT_EQ(ParsePersonality(unsignedChar.Text(), "u.p_c").CharUnsigned, true);

    // Between them the personalities hold every kind of line of the format.
    std::set<kxcommon::LineKind> kinds;
    for (const std::string& text : {w.Text(), cppWriter.Text(), unsignedChar.Text()})
        for (const std::string& line : SplitLines(text))
            if (const auto kind = kxcommon::LineKindOf(line.substr(0, line.find(' '))))
                kinds.insert(*kind);
    EXPECT_EQ(kinds.size(), kxcommon::LineKindCount);
    // An unquoted path is the path itself.
    EXPECT_EQ(UnquotePath("/usr/include"), "/usr/include");
}

TEST(PersonalityReader, RefusesALineItCannotReadNamingFileAndLine)
{
    const struct { const char *Line, *Reason; } cases[] = {
        {"-s int=abc", "whole number"}, {"-s int=0", "whole number"}, {"-a word=2", "\"word\" is not a base type"},
        {"-s int", "-s TYPE=BITS"}, {"-i \"/usr/include", "no closing one"}, {"-i \"/a\" b", "text follows"},
        {"-i \"\"", "path is empty"}, {"-d \"FOO=1", "no closing one"}, {"-d 1FOO=1", "macro name"},
        {"-d F(a=1", "not closed"}, {"-d FOO BAR", "macro name"}, {"-it \"size_t=unsigned word\"", "\"word\" is not a base type"},
        {"-u+ x", "takes no value"}, {"-xn many", "whole number"}, {"-ex", "needs the keyword"},
        {"-sd X=1", "C++ analyser"}, {"garbage", "not a personality line"},
    };
    for (const auto& c : cases) {
        std::string message = "no error";
        try {
            ParsePersonality("-d A=1\n-s char=8\n" + std::string(c.Line) + "\n", "/x/bad.p_c");
        } catch (const ExportError& error) {
            message = error.what();
        }
        EXPECT_TRUE(message.find("Line 3 of the personality /x/bad.p_c") != std::string::npos &&
                    message.find(c.Reason) != std::string::npos) << c.Line << ": " << message;
    }
}

TEST(MacroText, StringHelperAndIntegerValues)
{
    EXPECT_EQ(ResolveStringHelper("_VMT_STRINGIFY(12.2.0 (Debian  12))", ""), "\"12.2.0 (Debian 12)\"");
    EXPECT_EQ(ResolveStringHelper("f(_VMT_STRINGIFY(a\"b))", ""), "f(\"a\\\"b\")");
    EXPECT_EQ(ResolveStringHelper("_VMT_STRINGIFY(x)", "(x,y)"), "#x");
    EXPECT_EQ(ResolveStringHelper("MY_VMT_STRINGIFY(x)", ""), "MY_VMT_STRINGIFY(x)");
    // Integer values are those a source can compare.
    for (const char* value : {"1", "201112L", "0x7fffffffffffffffLL", "(-0x7fff - 1)", "(-8388607L-1)", "0xffffU", "~0u"})
        EXPECT_TRUE(IsIntegerValue(value)) << value;
    for (const char* value : {"", "4_2_0", "1E-33DL", "0.1", "3.4e+38F", "unsigned int", "\"x\"", "0x1p-126", "()"})
        EXPECT_FALSE(IsIntegerValue(value)) << value;
}

}  // namespace
