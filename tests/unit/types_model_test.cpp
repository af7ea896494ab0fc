#include <gtest/gtest.h>

#include "KestrixEngine.h"

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Two stored values of 0.1 with some object bytes around them.
std::string TwoValues(const std::string& value)
{
    return Bytes({0x7F, 'E', 'L', 'F', 0x00}) + value + value + Bytes({0x00, 0x00, 0x00, 0x00, 0x2E});
}

DataType Measured(std::int32_t kind, std::int32_t bits)
{
    return DataType("kw", kind, bits, 0, false, "kw");
}

std::string NearestName(const std::vector<DataType>& bases, std::int32_t kind, std::int32_t bits)
{
    const DataType* base = NearestBaseType(bases, Measured(kind, bits));
    return base == nullptr ? "none" : base->PersonalityName;
}

}  // namespace

TEST(TypeModel, ReadLeadingCount)
{
    long count = 0;
    EXPECT_TRUE(ReadLeadingCount("8", count));
    EXPECT_EQ(count, 8);
    EXPECT_TRUE(ReadLeadingCount(" \n16 trailing", count));
    EXPECT_EQ(count, 16);
    count = 99;
    EXPECT_FALSE(ReadLeadingCount("size unknown", count));
    EXPECT_FALSE(ReadLeadingCount("", count));
    EXPECT_FALSE(ReadLeadingCount("0", count));
    EXPECT_FALSE(ReadLeadingCount("-4", count));
    EXPECT_FALSE(ReadLeadingCount("99999999999999999999", count));
    EXPECT_EQ(count, 99) << "a rejected output leaves the count alone";
}

TEST(TypeModel, MarkersInBinaryObjects)
{
    // Bytes 1 to 5 and 7 are taken; 0 never counts as a marker.
    const std::string baseline = Bytes({0, 1, 2, 3, 4, 5, 7, 0});
    EXPECT_EQ(FreeMarkers(baseline, true),
              (std::vector<std::string>{"06", "08", "09", "0a", "0b", "0c", "0d", "0e"}));
    std::string everything;
    for (int v = 0; v < 256; ++v)
        everything.push_back(static_cast<char>(v));
    everything.erase(everything.find(static_cast<char>(0xAB)), 1);
    EXPECT_EQ(FreeMarkers(everything, true), (std::vector<std::string>{"ab"}));

    EXPECT_TRUE(MarkerOccurs(Bytes({0x10, 0xAB}), "ab", true));
    EXPECT_FALSE(MarkerOccurs("ab", "ab", true)) << "binary objects are searched for the byte";
}

TEST(TypeModel, MarkersInTextObjects)
{
    const std::string baseline = "t 00 00 01 02\nr 03 04 05 06 07 08 09 0a\n";
    // Two-digit texts are searched anywhere in the text, spaces and letters included.
    EXPECT_EQ(FreeMarkers(baseline, false),
              (std::vector<std::string>{"0b", "0c", "0d", "0e", "0f", "10", "11", "12"}));
    EXPECT_TRUE(MarkerOccurs("t 00 0b", "0b", false));
    EXPECT_FALSE(MarkerOccurs(Bytes({0x0B}), "0b", false));
}

TEST(TypeModel, FloatPatternsLittleEndian)
{
    EXPECT_EQ(FloatBitsFromObject(TwoValues(Bytes({0xCD, 0xCC, 0xCC, 0x3D})), true), 32);
    EXPECT_EQ(FloatBitsFromObject(TwoValues(Bytes({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F})), true), 64);
    const std::string extended = Bytes({0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F});
    EXPECT_EQ(FloatBitsFromObject(TwoValues(extended), true), 80);
    EXPECT_EQ(FloatBitsFromObject(TwoValues(extended + Bytes({0, 0})), true), 96);
    EXPECT_EQ(FloatBitsFromObject(TwoValues(extended + Bytes({0, 0, 0, 0, 0, 0})), true), 128);
}

TEST(TypeModel, FloatPatternsBigEndian)
{
    EXPECT_EQ(FloatBitsFromObject(TwoValues(Bytes({0x3D, 0xCC, 0xCC, 0xCD})), true), 32);
    EXPECT_EQ(FloatBitsFromObject(TwoValues(Bytes({0x3F, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A})), true), 64);
    // Extended precision with its padding after the exponent, and without padding.
    EXPECT_EQ(FloatBitsFromObject(TwoValues(Bytes({0x3F, 0xFB, 0, 0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC,
                                                   0xCC, 0xCC, 0xCD})), true), 96);
    EXPECT_EQ(FloatBitsFromObject(TwoValues(Bytes({0x3F, 0xFB, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC,
                                                   0xCC, 0xCD})), true), 80);
}

TEST(TypeModel, FloatPatternsAbsentOrInText)
{
    EXPECT_EQ(FloatBitsFromObject(TwoValues(Bytes({0x00, 0x00, 0x80, 0x3F})), true), 0);
    EXPECT_EQ(FloatBitsFromObject("", true), 0);
    EXPECT_EQ(FloatBitsFromObject("t 00 00 cd cc cc 3d cd cc cc 3d", false), 32);
    EXPECT_EQ(FloatBitsFromObject("t 00 00 9a 99 99 99 99 99 b9 3f", false), 64);
    EXPECT_EQ(FloatBitsFromObject("t 01 02 03", false), 0);
}

TEST(TypeModel, IntrinsicTypesTakeTheFirstBaseTypeOfKindAndSize)
{
    const std::vector<DataType> bases = KestrixEngine::MakeBaseTypes();
    // int precedes long, both 32 bits by default.
    EXPECT_EQ(FirstSameKindAndSize(bases, Measured(DataType::Integer, 32))->PersonalityName, "int");
    EXPECT_EQ(FirstSameKindAndSize(bases, Measured(DataType::Integer, 64))->PersonalityName, "longlong");
    EXPECT_EQ(FirstSameKindAndSize(bases, Measured(DataType::Pointer, 32))->PersonalityName, "dataptr");
    EXPECT_EQ(FirstSameKindAndSize(bases, Measured(DataType::Integer, 128)), nullptr);
    EXPECT_EQ(FirstSameKindAndSize(bases, Measured(DataType::Floating, 16)), nullptr);
}

TEST(TypeModel, KeywordTypesTakeTheNearestBaseType)
{
    const std::vector<DataType> bases = KestrixEngine::MakeBaseTypes();
    EXPECT_EQ(NearestName(bases, DataType::Integer, 32), "long") << "equal size: the later entry";
    EXPECT_EQ(NearestName(bases, DataType::Integer, 48), "longlong") << "equal distance: the larger";
    EXPECT_EQ(NearestName(bases, DataType::Integer, 24), "long");
    EXPECT_EQ(NearestName(bases, DataType::Integer, 12), "short");
    EXPECT_EQ(NearestName(bases, DataType::Integer, 0), "char") << "an unmeasured keyword";
    EXPECT_EQ(NearestName(bases, DataType::Integer, 128), "longlong");
    EXPECT_EQ(NearestName(bases, DataType::Floating, 64), "ldouble");
    EXPECT_EQ(NearestName(bases, DataType::Floating, 40), "float");
    EXPECT_EQ(NearestName(bases, DataType::Pointer, 32), "codeptr");
    EXPECT_EQ(NearestName(bases, DataType::Pointer, 16), "codeptr");

    std::vector<DataType> measured = bases;
    measured[9].SizeBits = 16;   // code pointers narrower than data pointers
    EXPECT_EQ(NearestName(measured, DataType::Pointer, 16), "codeptr");
    EXPECT_EQ(NearestName(measured, DataType::Pointer, 24), "dataptr");
    EXPECT_EQ(NearestName(measured, 7, 32), "none");
}
