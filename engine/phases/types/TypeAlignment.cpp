// How the compiler aligns a type as a structure member: the gap it leaves after a char.
#include "engine/phases/types/TypeTests.h"

#include <algorithm>

namespace {

struct LeadingArray {
    const char* Member;
    const char* Initialiser;
};

// The leading char array doubles until it no longer fits the gap in front of the member.
constexpr LeadingArray kLeadingArrays[] = {
    {"c[1]", ""},
    {"c[2]", "A"},
    {"c[4]", "AAA"},
    {"c[8]", "AAAAAAA"},
};

}  // namespace

int TypeProber::StructArrayGrowth(const std::string& type, const std::string& member,
                                     const std::string& initialiser) const
{
    const bool code = IsCodePointer(type);
    const std::string field = "; " + Declaration(type, "d") + ";}";
    const std::string value = "\"" + initialiser + "\"";
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
    CompileThisString(one, sizeOne, messages);
    CompileThisString(many, sizeMany, messages);
    // 64 more elements make the object 64 structures larger.
    return (sizeMany - sizeOne) / 64;
}

void TypeProber::TestTypeAlignment(DataType& type) const
{
    type.AlignBytes = 0;
    const std::string& name = type.TypeName;

    if (!Context.Target.IsCrossCompiler) {
        const std::string source = std::string("typealign") + Context.Opts.SourceExt();
        const std::string text = std::string(Context.PrintfDecl()) + "\n" +
                                 "struct X {char c;" + name + " d;};\n" +
                                 "int main() { printf(\"%d\", sizeof(struct X)); }\n";
        std::string output;
        long structBytes = 0;
        if (BuildAndRunProgram(source, text, output) && ReadLeadingCount(output, structBytes)) {
            const long gap = structBytes - type.SizeBits / 8;
            // A gap that is not positive comes from a size that the size test could not
            // measure; the object sizes do not depend on it.
            if (gap > 0)
                type.AlignBytes = static_cast<std::int32_t>(gap);
        }
        if (type.AlignBytes != 0)
            return;
    }

    int structSize[4];
    for (int i = 0; i < 4; ++i)
        structSize[i] = StructArrayGrowth(name, kLeadingArrays[i].Member, kLeadingArrays[i].Initialiser);
    if (structSize[1] > structSize[0])
        type.AlignBytes = 1;
    else if (structSize[2] > structSize[1])
        type.AlignBytes = 2;
    else if (structSize[3] > structSize[2])
        type.AlignBytes = 4;
    else
        type.AlignBytes = 8;
}
