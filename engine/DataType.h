// One type under test: what the type tests measured of it and how the personality names it.
#pragma once

#include <cstdint>
#include <string>

struct DataType {
    DataType(std::string typeName, std::int32_t kind, std::int32_t sizeBits,
             std::int32_t alignBytes, bool isUnsigned, std::string personalityName)
        : TypeName(std::move(typeName)), Kind(kind), SizeBits(sizeBits),
          AlignBytes(alignBytes), IsUnsigned(isUnsigned),
          PersonalityName(std::move(personalityName)) {}

    // Kinds
    static constexpr std::int32_t Integer = 0;
    static constexpr std::int32_t Pointer = 1;
    static constexpr std::int32_t Floating = 2;

    std::string TypeName;
    std::int32_t Kind;
    std::int32_t SizeBits;
    std::int32_t AlignBytes;
    bool IsUnsigned;
    std::string PersonalityName;
};
