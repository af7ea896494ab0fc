// The keyword type tests against a cross compiler whose register types declare objects
// only at fixed addresses: every compile that generates code for an object of one fails in
// the assembler, while constant expressions about the type compile.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>

#include "tests/support/FakeProbe.h"
#include "engine/core/Reporter.h"
#include "engine/phases/types/TypeTests.h"

namespace {

using namespace kxtest;

// The register types and their sizes in chars.
const std::map<std::string, int> kRegisterTypes{{"__sbit", 1}, {"__sfr", 1}, {"__sfr16", 2}, {"__sfr32", 4}};

CompileResult RegisterTypeCompiler(const CompileJob& job)
{
    const std::string& source = job.Source;
    static const std::regex sizeAtMost(R"(sizeof\((\w+)\) <= (\d+) \?)");
    std::smatch match;
    if (std::regex_search(source, match, sizeAtMost)) {
        const auto type = kRegisterTypes.find(match[1].str());
        return type != kRegisterTypes.end() && type->second <= std::stoi(match[2].str()) ? Accept() : Reject();
    }
    // Constant expressions: every register type is an unsigned integer type.
    if (source.find("int kx_") == 0)
        return Accept();
    if (source.find("(unsigned __s") != std::string::npos || source.find("< 0) ? 1 : -1") != std::string::npos)
        return Reject("typetest.c:1: error 195: Size of array 'a' is negative\n");
    // Plain declarations and array bounds compile; so does a local object that is never used.
    if (source.find("int a[") == 0 || source.find(" a; }") != std::string::npos)
        return Accept();
    // Anything that makes an object of the type: the assembler cannot place it.
    return Reject("typetest.asm:83: Error: <r> relocation error\n");
}

}  // namespace

TEST(KeywordTypes, RegisterTypesAreUnsignedIntegersOfTheirSize)
{
    FakeRun run(RegisterTypeCompiler, {}, true);
    std::vector<DataType> bases = MakeBaseTypes();
    for (DataType& base : bases)
        if (base.TypeName == "int" || base.TypeName == "short")
            base.SizeBits = 16;
    PersonalityWriter writer(true);
    CapturedLines said;
    ConductKWTypeTests(run.Context, bases, {"__sbit", "__sfr", "__sfr16", "__sfr32"}, writer);
    EXPECT_EQ(writer.Lines(), (std::vector<std::string>{"-d \"__sbit=unsigned char\"", "-d \"__sfr=unsigned char\"",
                                                        "-d \"__sfr16=unsigned short\"", "-d \"__sfr32=unsigned long\""}));
    EXPECT_EQ(said.Take(), std::vector<std::string>{"Conducting Keyword Type Tests ..."}) << "nothing is left undetermined";
}

// The base types read from one object: the bytes between the markers, as the compiler laid
// them out for an 8-bit target whose types all align on one char; nothing when the array
// cannot be read whole, and no such compile at all in an exact run.
TEST(BaseTypes, ReadTogetherOnlyFromTheWholeArrayBetweenItsMarkers)
{
    const std::vector<int> sizes{1, 2, 2, 4, 8, 4, 4, 4, 2, 2};  // in MakeBaseTypes' order
    std::string facts = "\x01junkKXTYPE<<";
    for (std::size_t t = 0; t < sizes.size(); ++t) {
        facts += static_cast<char>(sizes[t]);
        facts += static_cast<char>(t == 1 || t == 2 ? 1 : 0);  // int and short unsigned here
        for (int lead : {1, 2, 4, 8})
            facts += static_cast<char>(lead + sizes[t]);
    }
    const std::string whole = facts + ">>EPYTXK";

    FakeRun run([&](const CompileJob&) { return Accept(whole); }, {}, true);
    std::vector<DataType> types = MakeBaseTypes();
    ASSERT_TRUE(MeasureTypesTogether(run.Context, "", true, types));
    for (std::size_t t = 0; t < types.size(); ++t) {
        EXPECT_EQ(types[t].SizeBits, sizes[t] * 8) << types[t].TypeName;
        EXPECT_EQ(types[t].AlignBytes, 1) << types[t].TypeName;
        EXPECT_EQ(types[t].IsUnsigned, t == 1 || t == 2) << types[t].TypeName;
    }

    for (const std::string& object : {facts + ">>EPYT", facts.substr(0, facts.size() - 1) + ">>EPYTXK"}) {
        FakeRun cut([&](const CompileJob&) { return Accept(object); }, {}, true);
        std::vector<DataType> untouched = MakeBaseTypes();
        EXPECT_FALSE(MeasureTypesTogether(cut.Context, "", true, untouched));
        EXPECT_EQ(untouched[4].SizeBits, 64) << "the types are left as they were";
    }

    Options exact = FakeOptions();
    exact.Exact = true;
    FakeRun plain([&](const CompileJob&) { return Accept(whole); }, {}, true, exact);
    EXPECT_FALSE(MeasureTypesTogether(plain.Context, "", true, types));
    EXPECT_EQ(plain.Fake.Runs(), 0);
}

// The byte order from the bytes of one constant: the four letters in order on a big-endian
// target, reversed on a little-endian one; in text objects as blank-separated hexadecimal
// digits. An object that shows neither order, or both, and a refused compile tell nothing.
TEST(BaseTypes, ByteOrderFromTheBytesOfOneConstant)
{
    struct Row {
        bool binary;
        std::optional<std::string> object;  // nullopt: the compile is refused
        std::string order;
    };
    const Row rows[] = {
        {true, std::string("\x7f" "ELF\0\0OBXK\0\0\0\0", 14), "little"},
        {true, std::string("\0\0\0\0KXBO", 8), "big"},
        {true, std::string("KXBO OBXK"), ""},
        {true, std::string("KXB\0O"), ""},
        {false, std::string("T 00 00 4F 42 58 4B\nR 00 00 00 00\n"), "little"},
        {false, std::string("T 00 00 4F 42\nT 00 02 58 4B\n"), ""},
        {true, std::nullopt, ""},
    };
    for (const Row& row : rows) {
        FakeRun run([&](const CompileJob& job) {
            EXPECT_NE(job.Source.find("0x4B58424FUL"), std::string::npos) << job.Source;
            return row.object ? Accept(*row.object) : Reject();
        });
        const RunContext context(run.Opts, run.Fake, TargetFacts{row.binary ? ".o" : ".rel", row.binary, true});
        EXPECT_EQ(MeasureByteOrder(context), row.order) << (row.object ? *row.object : "refused");
    }
}
