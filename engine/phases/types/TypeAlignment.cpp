// How the compiler aligns a type as a structure member: the gap it leaves after a char.
#include "engine/phases/types/TypeTests.h"

#include <algorithm>

namespace {

// The largest alignment the size-independent tests look for. A scalar type is never aligned
// beyond its size, so the search ends at the type's size where that is larger; without a
// size it still reaches the 16 bytes of the widest floating and vector types in use.
constexpr int kLeastAlignmentReach = 16;
constexpr int kLargestAlignment = 256;

int AlignmentReach(const DataType& type)
{
    return std::min(kLargestAlignment, std::max(kLeastAlignmentReach, type.SizeBits / 8));
}

}  // namespace

int TypeProber::StructArrayGrowth(const std::string& type, int lead) const
{
    const bool code = IsCodePointer(type);
    const std::string member = "c[" + std::to_string(lead) + "]";
    const std::string field = "; " + Declaration(type, "d") + ";}";
    const std::string value = "\"" + std::string(static_cast<std::size_t>(lead - 1), 'A') + "\"";
    const std::string oneEnd = code ? ", (void ( * ) ())1}};" : ", (" + type + ")1}};";
    const std::string elementEnd = code ? ", (void ( * )())1}\n" : ", (" + type + ")1}\n";

    std::string one = "struct {char " + member + field + " x[1] = {{" + value + oneEnd + "\n";
    std::string many = "struct {char " + member + field + " x[65] = {{" + value + elementEnd;
    for (int i = 0; i < 64; ++i)
        many += ",{" + value + elementEnd;
    many += "};\n";
    // A compiler that puts the source or its line table into the object (debug information
    // with the source embedded) grows the object with the source's bytes and lines as well:
    // a comment makes the one-element source as long as the other, line for line.
    const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    const std::size_t moreLines = static_cast<std::size_t>(lines(many) - lines(one));
    if (many.size() >= one.size() + moreLines + 4)
        one = "/*" + std::string(moreLines, '\n') + std::string(many.size() - one.size() - moreLines - 4, ' ') + "*/" + one;

    int sizeOne = 0;
    int sizeMany = 0;
    std::string messages;
    if (!CompileThisString(one, sizeOne, messages) || !CompileThisString(many, sizeMany, messages))
        return 0;
    // 64 more elements make the object 64 structures larger.
    return (sizeMany - sizeOne) / 64;
}

std::int32_t TypeProber::AlignmentByGrowth(const DataType& type) const
{
    // The leading char array doubles until the structure grows: up to then it fitted the
    // gap in front of the member, so the gap is the last length that fitted.
    int previous = StructArrayGrowth(type.TypeName, 1);
    if (previous <= 0)
        return 0;
    for (int lead = 2; lead <= 2 * AlignmentReach(type); lead *= 2) {
        const int size = StructArrayGrowth(type.TypeName, lead);
        if (size <= 0)
            return 0;
        if (size > previous)
            return lead / 2;
        previous = size;
    }
    return 0;
}

std::int32_t TypeProber::AlignmentBySizeof(const DataType& type) const
{
    const std::string structure = "struct kx_gap {char c; " + Declaration(type.TypeName, "d") + ";};\n";
    const std::string gap = "sizeof(struct kx_gap) - sizeof(" + CastType(type.TypeName) + ")";
    for (int bytes = 1; bytes <= AlignmentReach(type); bytes *= 2)
        if (Compiles(structure + ConstantCheck(gap + " == " + std::to_string(bytes))))
            return bytes;
    return 0;
}

void TypeProber::TestTypeAlignment(DataType& type) const
{
    type.AlignBytes = 0;
    const std::string& name = type.TypeName;

    if (!Context.Target.IsCrossCompiler && type.SizeBits != 0) {
        const std::string source = std::string("typealign") + Context.Opts.SourceExt();
        const std::string text = std::string(Context.PrintfDecl()) + "\n" +
                                 "struct X {char c;" + Declaration(name, "d") + ";};\n" +
                                 "int main(void) { printf(\"%d\", (int)sizeof(struct X)); return 0; }\n";
        std::string output;
        long structBytes = 0;
        if (BuildAndRunProgram(source, text, output) && ReadLeadingCount(output, structBytes)) {
            const long gap = structBytes - type.SizeBits / 8;
            if (gap > 0)
                type.AlignBytes = static_cast<std::int32_t>(gap);
        }
        if (type.AlignBytes != 0)
            return;
    }
    // Objects show the layout most directly; a type whose objects the compiler will not
    // make (a floating type it only sizes) still has its layout stated by sizeof.
    type.AlignBytes = AlignmentByGrowth(type);
    if (type.AlignBytes == 0)
        type.AlignBytes = AlignmentBySizeof(type);
}
