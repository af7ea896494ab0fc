// Keyword types of a cross compiler whose register types' objects fail in the assembler; expressions compile.
#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

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
    static const std::regex sizeAtMost(R"(sizeof\((\w+)\) <= (\d+)\))");
    std::smatch match;
    if (std::regex_search(source, match, sizeAtMost)) {
        const auto type = kRegisterTypes.find(match[1].str());
        return type != kRegisterTypes.end() && type->second <= std::stoi(match[2].str()) ? Accept() : Reject();
    }
    // Constant expressions: every register type is an unsigned integer type.
    if (source.find(")-1)) - 1]") != std::string::npos)
        return source.find("(!!((") != std::string::npos ? Accept() : Reject("typetest.c:1: error 195: Size of array 'kx_check' is negative\n");
    if (source.find("int kx_") == 0)
        return Accept();
    if (source.find("(unsigned __s") != std::string::npos)
        return Reject("typetest.c:1: error 195: Size of array 'a' is negative\n");
    // Plain declarations and array bounds compile; so does a local object that is never used.
    if (source.find("int a[") == 0 || source.find(" a; (void)a; }") != std::string::npos)
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
    std::vector<std::string> found;
    for (const TypeAsBase& type : ConductKWTypeTests(run.Context, bases, {"__sbit", "__sfr", "__sfr16", "__sfr32"}))
        found.push_back(type.Name + (type.IsUnsigned ? "=unsigned " : "=") + kxcommon::TestSpelling(type.Base));
    EXPECT_EQ(found, (std::vector<std::string>{"__sbit=unsigned char", "__sfr=unsigned char", "__sfr16=unsigned short",
                                               "__sfr32=unsigned long"}));
    EXPECT_EQ(run.Said.Take(), std::vector<std::string>{"Conducting Keyword Type Tests ..."}) << "nothing is left undetermined";
}

// 8-bit target, types aligned on a char but long double on 16; read from a binary object, from
// the data records of a text object, from one-byte pieces, and around a type the compiler
// rejects; nothing from a cut array nor in an exact run.
TEST(BaseTypes, ReadTogetherOnlyFromTheWholeArrayBetweenItsMarkers)
{
    const std::vector<int> sizes{1, 2, 2, 4, 8, 4, 4, 16, 2, 2};  // in MakeBaseTypes' order
    const std::vector<int> aligns{1, 1, 1, 1, 1, 1, 1, 16, 1, 1};
    auto factsOf = [&](std::size_t without) {
        std::string facts = "KXTYPE<<";
        for (std::size_t t = 0; t < sizes.size(); ++t) {
            if (t == without)
                continue;
            facts += static_cast<char>(sizes[t]);
            facts += static_cast<char>(t == 1 || t == 2 ? 1 : 0);  // int and short unsigned here
            facts += static_cast<char>(aligns[t] + sizes[t]);      // struct {char c; T d;}
        }
        return facts;
    };
    const std::string facts = "\x01junk" + factsOf(sizes.size());
    const std::string whole = facts + ">>EPYTXK";
    std::string records = "XH3\n";  // three address bytes before the data of each record
    for (std::size_t at = 0; at < whole.size(); at += 13) {
        records += "T 00 00 0" + std::to_string(at % 10);
        for (const char ch : whole.substr(at, 13))
            records += (std::ostringstream() << ' ' << std::hex << std::setw(2) << std::setfill('0')
                                             << static_cast<int>(static_cast<unsigned char>(ch))).str();
        records += "\nR 00 00 00 02\n";
    }
    std::string strided;  // every byte a piece of its own, four bytes of the object's own between them
    for (const char ch : whole)
        strided += ch + std::string("\0\x01\x08\x01", 4);
    const std::vector<bool> all(sizes.size(), true);
    for (const auto& [binary, object] : {std::pair{true, whole}, {false, records}, {true, strided}}) {
        FakeRun run([&](const CompileJob&) { return Accept(object); });
        const RunContext context(run.Opts, run.Fake, TargetFacts{binary ? ".o" : ".rel", binary, true}, run.Said);
        std::vector<DataType> types = MakeBaseTypes();
        ASSERT_EQ(MeasureTypesTogether(context, "", true, types), all) << binary;
        for (std::size_t t = 0; t < types.size(); ++t)
            EXPECT_EQ(std::make_tuple(types[t].SizeBits, types[t].AlignBytes, types[t].IsUnsigned),
                      std::make_tuple(sizes[t] * 8, aligns[t], t == 1 || t == 2)) << types[t].TypeName;
    }

    FakeRun rejecting([&](const CompileJob& job) {
        const std::size_t at = job.Source.find("long double d;");
        if (at == std::string::npos)
            return Accept(factsOf(7) + ">>EPYTXK");
        const auto line = std::count(job.Source.begin(), job.Source.begin() + static_cast<long>(at), '\n') + 1;
        return Reject("typetest.c:" + std::to_string(line) + ": error 142: long or short specified for float 'd'\n");
    });
    std::vector<DataType> types = MakeBaseTypes();
    std::vector<bool> but = all;
    but[7] = false;
    EXPECT_EQ(MeasureTypesTogether(rejecting.Context, "", true, types), but);
    EXPECT_EQ(std::make_pair(types[6].SizeBits, types[7].SizeBits), std::make_pair(32, 64)) << "long double untouched";

    for (const std::string& object : {facts + ">>EPYT", facts.substr(0, facts.size() - 1) + ">>EPYTXK"}) {
        FakeRun cut([&](const CompileJob&) { return Accept(object); }, {}, true);
        std::vector<DataType> untouched = MakeBaseTypes();
        EXPECT_EQ(MeasureTypesTogether(cut.Context, "", true, untouched), std::vector<bool>(sizes.size(), false));
        EXPECT_EQ(untouched[4].SizeBits, 64) << "the types are left as they were";
    }

    Options exact = FakeOptions();
    exact.Exact = true;
    FakeRun plain([&](const CompileJob&) { return Accept(whole); }, {}, true, exact);
    EXPECT_EQ(MeasureTypesTogether(plain.Context, "", true, types), std::vector<bool>(sizes.size(), false));
    EXPECT_EQ(plain.Fake.Runs(), 0);
}

// Text objects hold hexadecimal digits; neither order, both, or a refused compile tell nothing.
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
        const RunContext context(run.Opts, run.Fake, TargetFacts{row.binary ? ".o" : ".rel", row.binary, true},
                                 run.Said);
        EXPECT_EQ(MeasureByteOrder(context), row.order) << (row.object ? *row.object : "refused");
    }
}
