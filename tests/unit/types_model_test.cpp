// The reading of type evidence: program output, marker bytes in objects, the stored
// pattern of 0.1, and the base type a measured type is written as.
#include <gtest/gtest.h>

#include "engine/phases/types/TypeTests.h"

namespace {

using S = std::vector<std::string>;

std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Two stored values of 0.1 with some object bytes around them.
std::string TwoValues(const std::string& value)
{
    return Bytes({0x7F, 'E', 'L', 'F', 0x00}) + value + value + Bytes({0x00, 0x00, 0x00, 0x00, 0x2E});
}

}  // namespace

TEST(TypeModel, ProgramOutputIsASizeOnlyWhenItStartsWithAPlausibleNumber)
{
    long count = 99;
    EXPECT_TRUE(ReadLeadingCount(" \n16 trailing", count));
    for (const char* output : {"size unknown", "", "0", "-4", "99999999999999999999"})
        EXPECT_FALSE(ReadLeadingCount(output, count)) << output;
    EXPECT_EQ(count, 16) << "a rejected output leaves the count alone";
}

TEST(TypeModel, MarkersAreBytesInBinaryObjectsAndDigitPairsInTextObjects)
{
    EXPECT_EQ(FreeMarkers(Bytes({0, 1, 2, 3, 4, 5, 7, 0}), true), (S{"06", "08", "09", "0a", "0b", "0c", "0d", "0e"}));
    EXPECT_EQ(FreeMarkers("t 00 00 01 02\nr 03 04 05 06 07 08 09 0a\n", false),
              (S{"0b", "0c", "0d", "0e", "0f", "10", "11", "12"}));
    EXPECT_TRUE(MarkerOccurs(Bytes({0x10, 0xAB}), "ab", true));
    EXPECT_FALSE(MarkerOccurs("ab", "ab", true));
    EXPECT_FALSE(MarkerOccurs(Bytes({0x0B}), "0b", false));
}

TEST(TypeModel, FloatSizeFromTheStoredPatternOfOneTenth)
{
    const std::string extended = Bytes({0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F});
    const std::tuple<std::string, bool, int> cases[] = {
        {TwoValues(Bytes({0xCD, 0xCC, 0xCC, 0x3D})), true, 32},
        {TwoValues(Bytes({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F})), true, 64},
        {TwoValues(extended), true, 80},
        {TwoValues(extended + Bytes({0, 0})), true, 96},
        {TwoValues(extended + Bytes({0, 0, 0, 0, 0, 0})), true, 128},
        {TwoValues(Bytes({0x3D, 0xCC, 0xCC, 0xCD})), true, 32},  // most significant byte first
        {TwoValues(Bytes({0x3F, 0xFB, 0, 0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCD})), true, 96},
        {TwoValues(Bytes({0x00, 0x00, 0x80, 0x3F})), true, 0},
        {"t 00 00 cd cc cc 3d cd cc cc 3d", false, 32},
        {"t 00 00 9a 99 99 99 99 99 b9 3f", false, 64},
        {"t 01 02 03", false, 0},
    };
    for (const auto& [content, binary, bits] : cases)
        EXPECT_EQ(FloatBitsFromObject(content, binary), bits) << testing::PrintToString(content);
}

TEST(TypeModel, MeasuredTypesAreWrittenAsABaseType)
{
    const std::vector<DataType> bases = MakeBaseTypes();
    auto name = [](const DataType* base) { return base == nullptr ? std::string("none") : base->PersonalityName; };
    // Intrinsic types: the first base type of the same kind and size (int before long).
    // Keyword types: the nearest size; equal sizes take the later entry, equal distances the
    // larger size.
    const std::tuple<std::int32_t, std::int32_t, const char*, const char*> cases[] = {
        {DataType::Integer, 32, "int", "long"}, {DataType::Integer, 128, "none", "longlong"},
        {DataType::Integer, 48, "none", "longlong"}, {DataType::Integer, 12, "none", "short"},
        {DataType::Floating, 40, "none", "float"}, {7, 32, "none", "none"},
    };
    for (const auto& [kind, bits, first, nearest] : cases) {
        const DataType type("kw", kind, bits, 0, false, "kw");
        EXPECT_EQ(name(FirstSameKindAndSize(bases, type)), first) << bits;
        EXPECT_EQ(name(NearestBaseType(bases, type)), nearest) << bits;
    }
}
