// One type under test: what the type tests measured of it and how the personality names it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    // The language fixes the kind (the base types): the tests measure the size alone, so
    // that a type the compiler only sizes (and will not compute with) keeps its kind.
    bool KindKnown = false;
};

// The reading of compiler evidence that the type tests share. They take plain text and
// bytes, so they hold no state of a run.

// A file-scope declaration that the compiler rejects exactly when the constant condition
// is false. Compilers differ in which impossible size they diagnose (some take a negative
// array size in silence, others a negative bit-field width), so both stand together; each
// is harmless where the condition holds. The condition is spelt without ?:, which not
// every compiler folds in a constant expression.
std::string ConstantCheck(const std::string& condition);

// The type under test as source text: "codeptr" (a pointer to a function, which no compiler
// knows by that name) is spelt around the declared name.
bool IsCodePointer(const std::string& type);
std::string Declaration(const std::string& type, const std::string& name);  // "TYPE NAME"
std::string CastType(const std::string& type);                              // "(TYPE)" inside

// The first decimal number at the start of a test program's output (leading white space
// skipped). False when the output does not begin with one, or with one that no size or
// alignment can be.
bool ReadLeadingCount(const std::string& output, long& count);

// Up to eight markers that do not occur in the baseline object: byte values 1 to 255 for
// binary objects, their two lower-case hexadecimal digits for text objects (whose content
// must already be lower case). Each marker is given as its two hexadecimal digits.
std::vector<std::string> FreeMarkers(const std::string& baseline, bool binaryObject);

// True when the marker (two hexadecimal digits) occurs in the object content: as that byte
// in a binary object, as that text in a (lower-cased) text object.
bool MarkerOccurs(const std::string& content, const std::string& marker, bool binaryObject);

// The size in bits that the stored pattern of 0.1 shows in an object holding two such
// values of one floating type, or 0 when no known pattern occurs.
std::int32_t FloatBitsFromObject(const std::string& content, bool binaryObject);

// The first base type of the same kind and size (intrinsic types), or nullptr.
const DataType* FirstSameKindAndSize(const std::vector<DataType>& bases, const DataType& type);

// The base type of the same kind whose size is nearest; on equal distance the larger size
// wins, and among equal sizes the later entry (keyword types). nullptr when no base type
// has that kind.
const DataType* NearestBaseType(const std::vector<DataType>& bases, const DataType& type);
