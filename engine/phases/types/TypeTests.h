// The type model: what kind of type a name is, its size in bits, its alignment and whether
// it is unsigned, learnt from compiles (and, where the compiler's programs run on this
// host, from programs that print sizeof); and the personality lines for the base types,
// the standard typedefs and the compiler's own type keywords.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/phases/types/DataType.h"
#include "engine/output/PersonalityWriter.h"
#include "engine/probe/RunContext.h"

class TypeProber {
public:
    explicit TypeProber(const RunContext& context) : Context(context) {}

    // Measures kind, size and signedness; prefix is source text put before every test (an
    // #include that declares the type).
    void TestType(const std::string& prefix, DataType& type) const;
    // Measures the kind alone; false when the type can neither declare an object nor be
    // measured by sizeof. declares tells whether it can declare a local object.
    bool TestKind(const std::string& prefix, DataType& type, bool& declares) const;
    // Measures the alignment of the type as a structure member.
    void TestTypeAlignment(DataType& type) const;

private:
    bool CompileThisString(const std::string& text, int& objectSize, std::string& output,
                           std::string* object = nullptr) const;
    bool BuildAndRunProgram(const std::string& source, const std::string& text, std::string& output) const;
    bool Compiles(const std::string& text) const;
    // The size in bits by the mode's method with objects (a program in native mode, the
    // object's bytes in cross mode), or 0 with the message to give in failure.
    std::int32_t MeasureSize(const std::string& prefix, const DataType& type, std::string& failure) const;
    std::int32_t BitsBySurvivingBytes(const std::string& prefix, const DataType& type, std::string& failure) const;
    // The size in bits from sizeof in constant expressions alone, or 0.
    std::int32_t BitsBySizeof(const std::string& prefix, const std::string& name) const;
    int CompareMinusOneWithZero(const std::string& prefix, const std::string& name) const;
    int StructArrayGrowth(const std::string& type, const std::string& member, const std::string& initialiser) const;

    const RunContext& Context;
};

// Measures the sizes and signedness of all the types (and, with withAlignment, their
// alignments) from the bytes of one object, where the compiler writes binary objects and
// the run is not exact; the numbers are those the tests of one type at a time arrive at.
// False, with the types unchanged, when the object cannot be read that way.
bool MeasureTypesTogether(const RunContext& context, const std::string& prefix, bool withAlignment,
                          std::vector<DataType>& types);

// The byte order of the target, "little" or "big", from the bytes a 32-bit constant leaves in
// an object; empty when the object shows neither (text objects that break the value across
// records, or a mixed order).
std::string MeasureByteOrder(const RunContext& context);

// The types under test, in testing order.
std::vector<DataType> MakeBaseTypes();

// Measures the base types and writes their size, alignment and plain char lines; returns the
// measured types.
std::vector<DataType> ConductBaseTypeTests(const RunContext& context, PersonalityWriter& writer);
// Measures size_t, ptrdiff_t and wchar_t and writes them as the base types they match.
void ConductIntrinsicTypeTests(const RunContext& context, const std::vector<DataType>& baseTypes,
                               PersonalityWriter& writer);
// Measures the keywords the classification found to be types and defines each as the
// nearest base type.
void ConductKWTypeTests(const RunContext& context, const std::vector<DataType>& baseTypes,
                        const std::set<std::string>& typeKeywords, PersonalityWriter& writer);
