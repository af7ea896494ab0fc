// Type evidence: the stored pattern of 0.1 in objects, and the base type a measured type is written as.
#include <gtest/gtest.h>

#include "engine/phases/types/TypeTests.h"

namespace {


std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string TwoValues(const std::string& value)
{
    return Bytes({0x7F, 'E', 'L', 'F', 0x00}) + value + value + Bytes({0x00, 0x00, 0x00, 0x00, 0x2E});
}

}  // namespace

// (Markers in binary and text objects are the base types' tests with the fake probe.)
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
    // Intrinsic types: the first base type of kind and size; keyword types: the nearest size (ties: the later
    // entry, then the larger size).
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
