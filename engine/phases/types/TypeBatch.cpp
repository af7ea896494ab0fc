// Many types measured from one object.
//
// Measured one by one, a type costs up to twenty compiles: its kind, its size by surviving
// marker bytes (or a program printing sizeof), its signedness from two diagnostics and its
// alignment from structure arrays. The compiler can state the same numbers itself: sizeof
// of the type and of the structure {char c; T d;}, whose excess over the type is the gap
// the alignment leaves after the char, and the sign of (T)-1, all constant expressions
// that become the bytes of one array in its object. The array lies between two marker
// texts, so only an object whose bytes are the array's bytes can be read (a binary object,
// or the data records of a text relocatable object); anything else leaves the types to
// their own tests.
#include "engine/phases/types/TypeTests.h"

#include <array>
#include <cctype>
#include <optional>
#include <set>
#include <sstream>

#include "engine/phases/batch/BatchSource.h"
#include "engine/phases/batch/JointCompile.h"

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

// The source that measures the types listed in which, each on lines of its own, so that
// the compiler's messages name the types it rejects.
BatchSource FactsSource(const std::string& fileName, const std::string& prefix, const std::vector<DataType>& types,
                        const std::vector<std::size_t>& which, bool binary)
{
    BatchSource source(fileName);
    source.AddShared(prefix);
    for (std::size_t t : which)
        source.AddItem(t, "struct kx_t" + std::to_string(t) + " {char c; " + Declaration(types[t].TypeName, "d") + ";};\n");
    std::string begin;
    AppendBytes(begin, kBegin);
    // Not const in a binary object: a const array of C++ has internal linkage and may be left
    // out of the object. Compilers that write text objects (for small targets) initialise
    // variables by code, and keep only constant data as bytes.
    source.AddShared(std::string(binary ? "" : "const ") + "unsigned char kx_type_facts[] = {" + begin + "\n");
    for (std::size_t t : which) {
        const std::string& name = types[t].TypeName;
        // Not "(T)-1 < 0": always false for an unsigned type, which compilers warn about. The
        // comparison stands in an array's size: some compilers (cc65) take no comparison
        // for a constant in an initialiser.
        const std::string sign = types[t].Kind == DataType::Integer
                                     ? "sizeof(char[((" + name + ")0 < (" + name + ")-1) + 1]) - 1,"
                                     : std::string("0,");
        source.AddItem(t, "sizeof(" + CastType(name) + ")," + sign + "sizeof(struct kx_t" + std::to_string(t) + "),\n");
    }
    std::string end;
    AppendBytes(end, kEnd);
    end.pop_back();
    source.AddShared(end + "};\n");
    return source;
}

// The data bytes of a text relocatable object, in the order its T records give them: the
// header line (X, the address byte order L or H, the address width 2 to 4) tells how many
// bytes at the start of each record are its address. Nothing for any other text.
std::optional<std::string> RelocatableData(const std::string& object)
{
    std::istringstream lines(object);
    std::string line;
    if (!std::getline(lines, line) || line.size() < 3 || line[0] != 'X' || (line[1] != 'L' && line[1] != 'H') ||
        line[2] < '2' || line[2] > '4')
        return std::nullopt;
    const int addressBytes = line[2] - '0';
    std::string data;
    while (std::getline(lines, line)) {
        if (line.rfind("T ", 0) != 0)
            continue;
        std::istringstream bytes(line.substr(2));
        std::string hex;
        for (int at = 0; bytes >> hex; ++at) {
            if (hex.size() != 2 || !std::isxdigit(static_cast<unsigned char>(hex[0])) ||
                !std::isxdigit(static_cast<unsigned char>(hex[1])))
                return std::nullopt;
            if (at >= addressBytes)
                data += static_cast<char>(std::stoi(hex, nullptr, 16));
        }
    }
    return data;
}

// The length bytes of the array between its markers. Most objects hold them one after the
// other; some cut the data into pieces of one byte each, with a fixed number of bytes of
// their own between them (cc65's fragments): then every stride-th byte is read, as long
// as both whole markers stand at that stride.
std::optional<std::string> BetweenMarkers(const std::string& object, std::size_t length)
{
    constexpr std::size_t kWidestStride = 8;
    const std::string whole = kBegin + std::string(length, '\0') + kEnd;
    auto at = [&](std::size_t begin, std::size_t stride, std::size_t k) { return object[begin + k * stride]; };
    for (std::size_t begin = object.find(kBegin[0]); begin != std::string::npos; begin = object.find(kBegin[0], begin + 1)) {
        for (std::size_t stride = 1; stride <= kWidestStride; ++stride) {
            if (begin + (whole.size() - 1) * stride >= object.size())
                break;
            bool markers = true;
            for (std::size_t k = 0; markers && k < kBegin.size(); ++k)
                markers = at(begin, stride, k) == kBegin[k];
            for (std::size_t k = 0; markers && k < kEnd.size(); ++k)
                markers = at(begin, stride, kBegin.size() + length + k) == kEnd[k];
            if (!markers)
                continue;
            std::string array;
            for (std::size_t k = 0; k < length; ++k)
                array += at(begin, stride, kBegin.size() + k);
            return array;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<bool> MeasureTypesTogether(const RunContext& context, const std::string& prefix, bool withAlignment,
                                       std::vector<DataType>& types)
{
    std::vector<bool> measured(types.size(), false);
    if (context.Opts.Exact || types.empty())
        return measured;
    const bool binary = context.Target.ObjectIsBinary;
    std::vector<std::size_t> which(types.size());
    for (std::size_t t = 0; t < types.size(); ++t)
        which[t] = t;
    // A type the compiler rejects (long double where it has none) is left to its own tests,
    // which tell why; the others are measured again without it.
    constexpr int kAttempts = 3;
    std::optional<std::string> object;
    for (int attempt = 0; attempt < kAttempts && !which.empty() && !object; ++attempt) {
        const BatchSource source =
            FactsSource(std::string("typetest") + context.Opts.SourceExt(), prefix, types, which, binary);
        const CompileResult result = context.CompileFile(source.Text(), source.FileName());
        if (result.MadeObject()) {
            object = binary ? result.Object : RelocatableData(*result.Object);
            if (!object)
                return measured;
            break;
        }
        if (result.Killed())
            return measured;
        std::set<std::size_t> rejected;
        for (const Diagnostic& diagnostic : ReadDiagnostics(result.Output())) {
            if (diagnostic.Severity != Diagnostic::Error)
                continue;
            const BatchSource::Owner owner = source.OwnerOf(diagnostic);
            if (owner.What != BatchSource::Owner::Item)
                return measured;
            rejected.insert(owner.Index);
        }
        if (rejected.empty())
            return measured;
        std::erase_if(which, [&](std::size_t t) { return rejected.count(t) != 0; });
    }
    if (!object)
        return measured;
    const std::optional<std::string> array = BetweenMarkers(*object, which.size() * kFactsPerType);
    if (!array)
        return measured;
    const auto* facts = reinterpret_cast<const unsigned char*>(array->data());

    std::vector<DataType> read = types;
    for (std::size_t t : which) {
        DataType& type = read[t];
        // No type has size 0, and a structure is never smaller than its member: bytes like
        // these are not the array's.
        if (facts[0] == 0 || facts[2] <= facts[0] || facts[1] > 1)
            return measured;
        type.SizeBits = facts[0] * 8;
        type.IsUnsigned = facts[1] == 1;
        if (withAlignment)
            type.AlignBytes = facts[2] - facts[0];
        facts += kFactsPerType;
    }
    types = std::move(read);
    for (std::size_t t : which)
        measured[t] = true;
    return measured;
}

std::vector<KindAnswers> KindProbesTogether(const RunContext& context, const std::vector<DataType>& types)
{
    constexpr std::size_t kProbes = static_cast<std::size_t>(KindProbe::Count);
    std::vector<KindAnswers> answers(types.size());
    if (context.Opts.Exact || types.empty())
        return answers;
    const JointVerdicts joint = JudgeTogether(
        types.size() * kProbes,
        [&](const std::vector<std::size_t>& order, bool separated) {
            BatchSource source(std::string("typetest") + context.Opts.SourceExt());
            for (std::size_t item : order) {
                source.AddItem(item, KindProbeSource(static_cast<KindProbe>(item % kProbes), types[item / kProbes].TypeName,
                                                     std::to_string(item)));
                if (separated)
                    source.AddShared(BatchSeparator(item));
            }
            // An error at the end of the source falls on no probe's line.
            source.AddShared("extern int kx_kinds_end;\n");
            return source;
        },
        [&](const BatchSource& source) { return context.CompileFile(source.Text(), source.FileName()); });
    for (std::size_t item = 0; item < joint.Verdicts.size(); ++item) {
        const Judgement verdict = joint.Verdicts[item];
        if (verdict == Judgement::Accepted || verdict == Judgement::Rejected)
            answers[item / kProbes][item % kProbes] = verdict == Judgement::Accepted;
    }
    return answers;
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
