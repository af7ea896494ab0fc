// The type model: what kind of type a name is, its size in bits, its alignment and whether
// it is unsigned, learnt from compiles (and, where the compiler's programs run on this
// host, from programs that print sizeof); and what the base types, the standard typedefs and
// the compiler's own type keywords were found to be.
#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/phases/types/DataType.h"
#include "common/PersonalityFormat.h"
#include "engine/probe/RunContext.h"

// The compiles that tell a type's kind: an object of it declared, multiplied and taking a
// remainder, and the same three without objects, in constant expressions.
enum class KindProbe { Declares, Multiplies, TakesRemainder, HasSizeof, ProductHasSizeof, RemainderHasSizeof, Count };
// What the probes of one type answered, where known; the others are compiled when asked.
using KindAnswers = std::array<std::optional<bool>, static_cast<std::size_t>(KindProbe::Count)>;
// The source of one probe: on its own (id empty), or as a copy among others, its names
// made its own with id.
std::string KindProbeSource(KindProbe probe, const std::string& name, const std::string& id);

// The answers of the kind probes of all the types, from a few compiles of them all together
// (see JudgeTogether); nothing where those cannot tell, and nothing at all with -exact.
std::vector<KindAnswers> KindProbesTogether(const RunContext& context, const std::vector<DataType>& types);

class TypeProber {
public:
    explicit TypeProber(const RunContext& context) : Context(context) {}

    // Measures kind, size and signedness; prefix is source text put before every test (an
    // #include that declares the type). Empty when the size was measured; otherwise why it
    // was not, the type keeping the size it had.
    std::string TestType(const std::string& prefix, DataType& type) const;
    // Measures the kind alone; false when the type can neither declare an object nor be
    // measured by sizeof. declares tells whether it can declare a local object.
    bool TestKind(const std::string& prefix, DataType& type, bool& declares, const KindAnswers* known = nullptr) const;
    // Measures the alignment of the type as a structure member; 0 when no test shows it.
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
    // The size of struct {char c[lead]; TYPE d;} from the objects of arrays of it, or 0.
    int StructArrayGrowth(const std::string& type, int lead) const;
    // The alignment in bytes from the objects, or from sizeof in constant expressions; 0
    // when neither shows it.
    std::int32_t AlignmentByGrowth(const DataType& type) const;
    std::int32_t AlignmentBySizeof(const DataType& type) const;

    const RunContext& Context;
};

// Measures the sizes and signedness of the types (and, with withAlignment, their
// alignments) from the bytes of one object, where the object's bytes can be read (binary,
// or the data records of a text relocatable object) and the run is not exact; the numbers
// are those the tests of one type at a time arrive at. Per type: whether it was measured;
// the types the compiler rejects, and all of them when the object cannot be read that way,
// are left unchanged for their own tests.
std::vector<bool> MeasureTypesTogether(const RunContext& context, const std::string& prefix, bool withAlignment,
                                       std::vector<DataType>& types);

// The byte order of the target, "little" or "big", from the bytes a 32-bit constant leaves in
// an object; empty when the object shows neither (text objects that break the value across
// records, or a mixed order).
std::string MeasureByteOrder(const RunContext& context);

// The base types under test, in the format's order of the base types.
std::vector<DataType> MakeBaseTypes();

// A standard typedef or a type keyword, and the base type it is to be taken for.
struct TypeAsBase {
    std::string Name;
    bool IsUnsigned = false;
    kxcommon::BaseType Base = kxcommon::BaseType::Int;
};

// Measures the base types; returns them measured (a size of 0 where none was found).
std::vector<DataType> ConductBaseTypeTests(const RunContext& context);
// Measures size_t, ptrdiff_t and wchar_t; returns those that match a base type, in that order.
std::vector<TypeAsBase> ConductIntrinsicTypeTests(const RunContext& context, const std::vector<DataType>& baseTypes);
// Measures the keywords the classification found to be types; returns each with the nearest
// base type, in the keywords' order.
std::vector<TypeAsBase> ConductKWTypeTests(const RunContext& context, const std::vector<DataType>& baseTypes,
                                           const std::set<std::string>& typeKeywords);
