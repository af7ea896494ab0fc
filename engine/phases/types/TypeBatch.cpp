// Many types measured from one object.
//
// Measured one by one, a type costs up to twenty compiles: its kind, its size by surviving
// marker bytes (or a program printing sizeof), its signedness from two diagnostics and its
// alignment from structure arrays. The compiler can state the same numbers itself: sizeof
// of the type and of the structure {char c; T d;}, whose excess over the type is the gap
// the alignment leaves after the char, and the sign of (T)-1, all constant expressions
// that become the bytes of one array in its object. The array lies between two marker
// texts, so only a binary object whose bytes are the array's bytes can be read; anything
// else leaves the types to their own tests.
#include "engine/phases/types/TypeTests.h"

#include <array>
#include <cctype>

namespace {

const std::string kBegin = "KXTYPE<<";
const std::string kEnd = ">>EPYTXK";

// Bytes per type: its size, 1 when unsigned, and the size of the alignment structure.
constexpr std::size_t kFactsPerType = 3;

void AppendBytes(std::string& initialiser, const std::string& text)
{
    for (const char ch : text)
        initialiser += std::to_string(static_cast<unsigned char>(ch)) + ",";
}

std::string FactsSource(const std::string& prefix, const std::vector<DataType>& types)
{
    std::string structures;
    std::string facts;
    AppendBytes(facts, kBegin);
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::string& name = types[t].TypeName;
        facts += "sizeof(" + CastType(name) + "),";
        // Not "(T)-1 < 0": always false for an unsigned type, which compilers warn about.
        facts += types[t].Kind == DataType::Integer ? "((" + name + ")0 < (" + name + ")-1) ? 1 : 0," : std::string("0,");
        const std::string tag = "kx_t" + std::to_string(t);
        structures += "struct " + tag + " {char c; " + Declaration(name, "d") + ";};\n";
        facts += "sizeof(struct " + tag + "),";
    }
    AppendBytes(facts, kEnd);
    facts.pop_back();
    // Not const: a const array of C++ has internal linkage and may be left out of the object.
    return prefix + structures + "unsigned char kx_type_facts[] = {" + facts + "};\n";
}

}  // namespace

bool MeasureTypesTogether(const RunContext& context, const std::string& prefix, bool withAlignment,
                          std::vector<DataType>& types)
{
    if (context.Opts.Exact || !context.Target.ObjectIsBinary || types.empty())
        return false;
    const CompileResult result = context.Compile(FactsSource(prefix, types), "typetest");
    if (!result.MadeObject())
        return false;
    const std::string& object = *result.Object;
    const std::size_t length = types.size() * kFactsPerType;
    const std::size_t begin = object.find(kBegin);
    if (begin == std::string::npos || object.compare(begin + kBegin.size() + length, kEnd.size(), kEnd) != 0)
        return false;
    const auto* facts = reinterpret_cast<const unsigned char*>(object.data() + begin + kBegin.size());

    std::vector<DataType> measured = types;
    for (std::size_t t = 0; t < measured.size(); ++t, facts += kFactsPerType) {
        DataType& type = measured[t];
        // No type has size 0, and a structure is never smaller than its member: bytes like
        // these are not the array's.
        if (facts[0] == 0 || facts[2] <= facts[0] || facts[1] > 1)
            return false;
        type.SizeBits = facts[0] * 8;
        type.IsUnsigned = facts[1] == 1;
        if (!withAlignment)
            continue;
        type.AlignBytes = facts[2] - facts[0];
    }
    types = std::move(measured);
    return true;
}

std::string MeasureByteOrder(const RunContext& context)
{
    // The bytes of "KXBO" as one number: a big-endian target stores them in this order, a
    // little-endian one reversed. long has at least 32 bits everywhere; a wider long puts
    // zeros on one side, which leaves the four bytes together. A const object keeps its
    // bytes in the object even where the compiler initialises variables by code (sdcc), and
    // extern gives it external linkage in C++ too.
    const std::string source = std::string(context.Opts.IsC ? "" : "extern ")
                               + "const unsigned long kx_order_probe = 0x4B58424FUL;\n";
    const CompileResult result = context.Compile(source, "byteorder");
    if (!result.MadeObject())
        return "";
    std::string object = *result.Object;
    std::string big = "KXBO";
    std::string little = "OBXK";
    if (!context.Target.ObjectIsBinary) {
        // Text objects write each byte as two hexadecimal digits, blank-separated.
        for (char& ch : object)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        big = "4b 58 42 4f";
        little = "4f 42 58 4b";
    }
    const bool isBig = object.find(big) != std::string::npos;
    const bool isLittle = object.find(little) != std::string::npos;
    if (isBig == isLittle)
        return "";
    return isBig ? "big" : "little";
}
