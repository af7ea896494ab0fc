// What kind of type a name is, how many bits it takes and whether it is unsigned, learnt
// from compiles (and, where the host runs the compiler's programs, from a program that
// prints sizeof).
#include "engine/phases/types/TypeTests.h"

#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

std::string Hex2(unsigned value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02x", value & 0xffU);
    return text;
}

std::string Lower(std::string text)
{
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

bool Contains(const std::string& content, std::initializer_list<unsigned char> bytes)
{
    const std::string needle(bytes.begin(), bytes.end());
    return content.find(needle) != std::string::npos;
}

// The largest size, in chars, that the constant-expression measure looks for.
constexpr int kLargestSizeofBytes = 64;

}  // namespace

std::string ConstantCheck(const std::string& condition)
{
    const std::string width = "2 * (" + condition + ") - 1";
    return "int kx_check[" + width + "];\nstruct kx_check_width { unsigned int b : " + width + "; };\n";
}

// No compiler knows the name "codeptr": it stands for a pointer to a function, which C
// spells around the declared name.
bool IsCodePointer(const std::string& type)
{
    return type == "codeptr";
}

std::string Declaration(const std::string& type, const std::string& name)
{
    return IsCodePointer(type) ? "void (*" + name + ")()" : type + " " + name;
}

std::string CastType(const std::string& type)
{
    return IsCodePointer(type) ? "void (*)()" : type;
}

bool ReadLeadingCount(const std::string& output, long& count)
{
    const char* begin = output.c_str();
    char* end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    // Nothing that a size or an alignment in bytes can be: no digits at all, or a value
    // that would overflow the bit count.
    if (end == begin || value <= 0 || value > (1L << 24))
        return false;
    count = value;
    return true;
}

std::vector<std::string> FreeMarkers(const std::string& baseline, bool binaryObject)
{
    std::vector<std::string> markers;
    for (unsigned value = 1; value <= 255 && markers.size() < 8; ++value) {
        const std::string marker = Hex2(value);
        const bool present = binaryObject
                                 ? baseline.find(static_cast<char>(value)) != std::string::npos
                                 : baseline.find(marker) != std::string::npos;
        if (!present)
            markers.push_back(marker);
    }
    return markers;
}

bool MarkerOccurs(const std::string& content, const std::string& marker, bool binaryObject)
{
    if (!binaryObject)
        return content.find(marker) != std::string::npos;
    const char byte = static_cast<char>(std::strtoul(marker.c_str(), nullptr, 16));
    return content.find(byte) != std::string::npos;
}

std::int32_t FloatBitsFromObject(const std::string& content, bool binaryObject)
{
    if (!binaryObject) {
        // Text objects spell bytes as hexadecimal digits in an order of their own, so only
        // the presence of each byte of the value's tail can be asked for.
        auto all = [&](std::initializer_list<const char*> texts) {
            for (const char* text : texts)
                if (content.find(text) == std::string::npos)
                    return false;
            return true;
        };
        if (all({"cc", "3d"}))
            return 32;
        if (all({"99", "b9", "3f"}))
            return 64;
        if (all({"fb", "3f", "00"}))
            return 96;
        if (all({"cc", "fb", "3f"}))
            return 80;
        return 0;
    }

    // The tails of 0.1 in single, double, padded extended and plain extended precision,
    // first as stored least significant byte first, then most significant byte first.
    if (Contains(content, {0xCC, 0xCC, 0x3D}))
        return 32;
    if (Contains(content, {0x99, 0xB9, 0x3F}))
        return 64;
    // Extended precision: the padding after the exponent tells the storage size, two zero
    // bytes for 12 bytes and six for 16, before the next value of the array follows. The
    // first value decides: the last one may be followed by zeros that belong to the object.
    for (std::size_t at = content.find("\xFB\x3F"); at != std::string::npos;
         at = content.find("\xFB\x3F", at + 1)) {
        std::size_t zeros = 0;
        while (zeros < 6 && at + 2 + zeros < content.size() && content[at + 2 + zeros] == '\0')
            ++zeros;
        if (zeros == 6)
            return 128;
        if (zeros >= 2)
            return 96;
        if (at > 0 && static_cast<unsigned char>(content[at - 1]) == 0xCC)
            return 80;
    }
    if (Contains(content, {0x3D, 0xCC, 0xCC}))
        return 32;
    if (Contains(content, {0x3F, 0xB9, 0x99}))
        return 64;
    if (Contains(content, {0x3F, 0xFB, 0x00, 0x00}))
        return 96;
    if (Contains(content, {0x3F, 0xFB, 0xCC}))
        return 80;
    return 0;
}

bool TypeProber::CompileThisString(const std::string& text, int& objectSize, std::string& output,
                                   std::string* object) const
{
    CompileResult result = Context.Compile(text, "typetest");
    output = result.Output();
    if (!result.MadeObject()) {
        objectSize = 0;
        return false;
    }
    objectSize = static_cast<int>(result.Object->size());
    if (object != nullptr)
        *object = std::move(*result.Object);
    return true;
}

bool TypeProber::BuildAndRunProgram(const std::string& source, const std::string& text, std::string& output) const
{
    const ProgramResult result = Context.BuildAndRun(text, source);
    if (!result.Built || result.Run.TimedOut || result.Run.Signal != 0)
        return false;
    output = result.Run.Stdout;
    return true;
}

namespace {

// The sources of the kind probes of a type: a function body for the probes with objects, a
// constant expression for those without.
std::string KindProbeText(KindProbe probe, const std::string& name)
{
    const std::string one = "((" + CastType(name) + ")1)";
    switch (probe) {
    case KindProbe::Declares:
        return Declaration(name, "a") + "; (void)a; ";
    case KindProbe::Multiplies:
        return Declaration(name, "q") + ";" + Declaration(name, "p") + "; q = " + one + "; p = 2*q; (void)p;";
    case KindProbe::TakesRemainder:
        return Declaration(name, "x") + "; x = " + one + "%1; (void)x;";
    case KindProbe::HasSizeof:
        return CastType(name);
    case KindProbe::ProductHasSizeof:
        return "2 * " + one;
    default:
        return one + " % 1";
    }
}

bool ProbesObjects(KindProbe probe)
{
    return probe == KindProbe::Declares || probe == KindProbe::Multiplies || probe == KindProbe::TakesRemainder;
}

}  // namespace

std::string KindProbeSource(KindProbe probe, const std::string& name, const std::string& id)
{
    const std::string text = KindProbeText(probe, name);
    if (id.empty())
        return ProbesObjects(probe)               ? "int main(void) {" + text + "}\n"
               : probe == KindProbe::HasSizeof ? "int kx_s[sizeof(" + text + ")];\n"
                                               : "int kx_k[sizeof(" + text + ")];\n";
    // Every local is used and nothing is read before it is set; the function is declared
    // first: a compiler told to turn warnings into errors rejects these for the type alone.
    const std::string function = "kx" + id + "_probe";
    return ProbesObjects(probe) ? "void " + function + "(void);\nvoid " + function + "(void) {" + text + "}\n"
                                : "int " + function + "[sizeof(" + text + ")];\n";
}

bool TypeProber::TestKind(const std::string& prefix, DataType& type, bool& declares, const KindAnswers* known) const
{
    const std::string& name = type.TypeName;
    auto asks = [&](KindProbe probe) {
        const std::optional<bool>& answer = known ? (*known)[static_cast<std::size_t>(probe)] : std::nullopt;
        return answer ? *answer : Compiles(prefix + KindProbeSource(probe, name, ""));
    };

    // Declaration. A type without a size yet (a keyword of the compiler) that cannot
    // declare a local object may still be measured by constant expressions alone.
    // Every local is used and nothing is read before it is set: a compiler told to turn
    // warnings into errors must reject these sources only for the type's sake.
    declares = asks(KindProbe::Declares);
    if (!declares && (type.SizeBits != 0 || !asks(KindProbe::HasSizeof)))
        return false;
    if (type.KindKnown)
        return true;

    // Kind: only arithmetic types can be multiplied, only integers take a remainder. A
    // compile with objects can fail for reasons that are not the type's (a register type
    // whose objects only live at fixed addresses makes the assembler fail), so a failure is
    // confirmed with a constant expression that needs no object.
    const bool arithmetic = (declares && asks(KindProbe::Multiplies)) || asks(KindProbe::ProductHasSizeof);
    const bool integer =
        arithmetic && ((declares && asks(KindProbe::TakesRemainder)) || asks(KindProbe::RemainderHasSizeof));
    type.Kind = !arithmetic ? DataType::Pointer : integer ? DataType::Integer : DataType::Floating;
    return true;
}

std::string TypeProber::TestType(const std::string& prefix, DataType& type) const
{
    const std::string& name = type.TypeName;
    int objectSize = 0;
    std::string messages;
    bool declares = false;
    if (!TestKind(prefix, type, declares))
        return "the compiler rejects both an object of " + CastType(name) + " and sizeof(" + CastType(name) + ")";

    // Size. A type without a size yet is measured by sizeof in constant expressions where
    // the methods with objects fail: the answer is the compiler's own, only less direct.
    std::string failure = "neither objects of " + CastType(name) + " nor sizeof(" + CastType(name) + ") show its size";
    std::int32_t bits = declares ? MeasureSize(prefix, type, failure) : 0;
    if (bits == 0 && type.SizeBits == 0)
        bits = BitsBySizeof(prefix, name);
    std::string unmeasured;
    if (bits != 0)
        type.SizeBits = bits;
    else
        unmeasured = failure;

    // Signedness
    if (!prefix.empty()) {
        const int sign = type.Kind == DataType::Integer ? CompareMinusOneWithZero(prefix, name) : -1;
        if (sign >= 0)
            type.IsUnsigned = sign == 1;
        else if (name == "size_t" || name == "wchar_t")
            type.IsUnsigned = true;
        else if (name == "ptrdiff_t")
            type.IsUnsigned = false;
    } else if (type.Kind == DataType::Integer) {
        // The value of -1 in the type tells, where the compiler rejects a false constant
        // check. Otherwise an unsigned type draws the same diagnostics as its explicitly
        // unsigned form, and a signed one makes the first array's size negative.
        const int sign = CompareMinusOneWithZero(prefix, name);
        type.IsUnsigned = sign == 1;
        if (sign < 0) {
            CompileThisString("int a[(" + name + ")-1];\n", objectSize, messages);
            std::string plain = messages;
            CompileThisString("int a[(unsigned " + name + ")-1];\n", objectSize, messages);
            std::string explicitUnsigned = messages;
            RemoveNumbersAndFilename(plain, "");
            RemoveNumbersAndFilename(explicitUnsigned, "");
            type.IsUnsigned = plain == explicitUnsigned;
        }
    }
    return unmeasured;
}

std::int32_t TypeProber::MeasureSize(const std::string& prefix, const DataType& type, std::string& failure) const
{
    const std::string& name = type.TypeName;
    if (!Context.Target.IsCrossCompiler) {
        const std::string printfDecl = Context.PrintfDecl();
        const std::string body = "int main(void) { printf(\"%d\", (int)sizeof(" + CastType(name) + ")); return 0; }\n";
        const std::string source = std::string("typetest") + Context.Opts.SourceExt();
        std::string output;
        bool built = BuildAndRunProgram(source, prefix + printfDecl + "\n" + body, output);
        // A header that declares printf itself (stdio.h) clashes with the program's own
        // declaration; its declaration serves as well.
        if (!built && !prefix.empty())
            built = BuildAndRunProgram(source, prefix + body, output);
        long bytes = 0;
        return built && ReadLeadingCount(output, bytes) ? static_cast<std::int32_t>(bytes * 8) : 0;
    }
    if (type.Kind != DataType::Floating)
        return BitsBySurvivingBytes(prefix, type, failure);
    int objectSize = 0;
    std::string messages;
    std::string content;
    if (!CompileThisString(prefix + name + " i[2] = {(" + name + ")0.1L,(" + name + ")0.1L};\n", objectSize,
                           messages, &content))
        return 0;
    return FloatBitsFromObject(Context.Target.ObjectIsBinary ? content : Lower(content), Context.Target.ObjectIsBinary);
}

std::int32_t TypeProber::BitsBySurvivingBytes(const std::string& prefix, const DataType& type, std::string& failure) const
{
    const std::string& name = type.TypeName;
    int objectSize = 0;
    std::string messages;

    // Constants wider than long need the long long suffix where the compiler has one;
    // pointers are cast from long constants.
    std::string suffix = "L";
    if (type.Kind == DataType::Integer && CompileThisString("int i = 1LL;\n", objectSize, messages))
        suffix = "LL";

    auto source = [&](const std::string& constant) {
        if (IsCodePointer(name))
            return "void (*a)() = (void (*)())" + constant + ";\n";
        return prefix + name + " i = (" + name + ")" + constant + ";\n";
    };

    std::string baseline;
    if (!CompileThisString(source("1"), objectSize, messages, &baseline))
        return 0;
    if (!Context.Target.ObjectIsBinary)
        baseline = Lower(baseline);
    const std::vector<std::string> markers = FreeMarkers(baseline, Context.Target.ObjectIsBinary);
    if (markers.size() < 8) {
        if (!Context.Target.ObjectIsBinary)
            failure = "its text object leaves no 8 byte values free to mark a constant with";
        return 0;
    }

    // The constant grows by one marker byte at a time, most significant first; the first
    // constant wider than the type loses its leading marker when the compiler truncates it.
    std::string constant = "0x";
    std::size_t bytes = 0;
    for (std::size_t n = 1; n <= markers.size(); ++n) {
        constant += markers[n - 1];
        std::string content;
        if (!CompileThisString(source(constant + suffix), objectSize, messages, &content))
            break;
        if (!Context.Target.ObjectIsBinary)
            content = Lower(content);
        bool allPresent = true;
        for (std::size_t m = 0; m < n && allPresent; ++m)
            allPresent = MarkerOccurs(content, markers[m], Context.Target.ObjectIsBinary);
        if (!allPresent)
            break;
        bytes = n;
    }
    // Not even a one-byte constant came through: that shows nothing about the size.
    return static_cast<std::int32_t>(bytes * 8);
}

std::int32_t TypeProber::BitsBySizeof(const std::string& prefix, const std::string& name) const
{
    // Bisection on "sizeof <= n", each step an array whose size is negative when it fails.
    auto atMost = [&](int bytes) {
        return Compiles(prefix + ConstantCheck("sizeof(" + CastType(name) + ") <= " + std::to_string(bytes)));
    };
    int above = 0;
    int atMostBytes = kLargestSizeofBytes;
    if (!atMost(atMostBytes))
        return 0;
    while (atMostBytes - above > 1) {
        const int middle = above + (atMostBytes - above) / 2;
        (atMost(middle) ? atMostBytes : above) = middle;
    }
    // An answer that cannot be right (sizeof is never 0 for a type) shows no size.
    return atMost(0) ? 0 : static_cast<std::int32_t>(atMostBytes * 8);
}

bool TypeProber::Compiles(const std::string& text) const
{
    int objectSize = 0;
    std::string messages;
    return CompileThisString(text, objectSize, messages);
}

int TypeProber::CompareMinusOneWithZero(const std::string& prefix, const std::string& name) const
{
    // Works for typedef names and type keywords, which cannot be prefixed with
    // "unsigned": exactly one of the two checks fails. -1 is set against 0 in the type
    // itself, and from the side that leaves no comparison always false for an unsigned
    // type: compilers warn about those (and -Werror rejects both checks then).
    const std::string test = "!((" + name + ")0 < (" + name + ")-1)";
    int objectSize = 0;
    std::string messages;
    const bool unsignedCompiles =
        CompileThisString(prefix + ConstantCheck("!" + test), objectSize, messages);
    const bool signedCompiles =
        CompileThisString(prefix + ConstantCheck(test), objectSize, messages);
    if (unsignedCompiles == signedCompiles)
        return -1;
    return unsignedCompiles ? 1 : 0;
}
