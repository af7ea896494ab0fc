// Finds which of the names harvested from the compiler's headers the compiler predefines as
// macros, and with which values, from what the compiler does with small test sources alone.
#include "MacroDiscovery.h"

#include "BatchHalving.h"
#include "Reporter.h"
#include "TextUtilities.h"

#include <vector>

namespace {

const std::string kStringifyEntry = "_VMT_STRINGIFY(x)=#x";
const std::string kStringifyOpen = "_VMT_STRINGIFY(";
const std::string kUndefinedId = "ak12345";
// The words that bracket a value in the compiler's message or in the object's data.
const std::string kValueBegin = "yyy";
const std::string kValueEnd = "zzz";
const std::string kStringifyPrelude = "#define S(X) #X\n#define M(X) S(X)\n";
constexpr std::size_t kValueProgressStep = 100;

void ReportUndeterminedDefine(const std::string& name)
{
    Say("define \"" + name + "\" couldn't be determined from the output from compiler.");
    Say("Please contact Velmont.");
}

// Replaces the first and the last occurrence of a quote by the opening and the closing of
// the stringify macro, so that the analyser rebuilds the literal through it. False when
// there is only one quote.
bool QuotesToStringify(std::string& value, const std::string& quote)
{
    value.replace(value.find(quote), quote.size(), kStringifyOpen);
    const std::size_t last = value.rfind(quote);
    if (last == std::string::npos)
        return false;
    value.replace(last, quote.size(), ")");
    return true;
}

// Native compilers: the macro's expansion, stringified, is printed by a test program.
std::vector<std::string> FindValueByRunning(const RunContext& context, const std::string& name)
{
    const std::string source = std::string("deftest") + context.Opts.SourceExt();
    const std::string text = kStringifyPrelude + context.PrintfDecl() + "\n" +
                             "int main(void) { printf(\"%s\", M(" + name + ")); return 0;}\n";
    const ProgramResult result = context.BuildAndRun(text, source);
    if (!result.Built) {
        Say(source + " failed to compile! can't find value of: " + name);
        return {};
    }
    // A program that was killed printed no complete value.
    if (result.Run.TimedOut || result.Run.Signal != 0)
        return {};
    return {result.Run.Stdout};
}

// Cross compilers, first method: the stringified expansion becomes the name of a header
// that does not exist, and the compiler quotes that name when it says so.
std::vector<std::string> FindValueByIncludeName(const RunContext& context, const std::string& name)
{
    const std::string text = kStringifyPrelude + "#include M(" + kValueBegin + " " + name + " " + kValueEnd + ")\n";
    const std::string output = context.Compile(text, "deftest").Output();

    // Compilers may quote the name more than once (the message, the echoed source line);
    // every pair on one line is a reading. A "zzz" only closes a "yyy" that stands before it
    // on the same line: a line with a "yyy" alone shows a name that the compiler cut or
    // replaced after an error, and the text up to the end of that line is no value.
    std::vector<std::string> values;
    std::size_t fromBegin = 0;
    std::size_t fromEnd = 0;
    for (;;) {
        const std::size_t begin = output.find(kValueBegin, fromBegin);
        if (begin == std::string::npos)
            break;
        const std::size_t valueStart = begin + kValueBegin.size();
        const std::size_t end = output.find(kValueEnd, std::max(fromEnd, valueStart));
        if (end == std::string::npos)
            break;
        fromBegin = begin + 1;
        if (output.find('\n', begin) < end)
            continue;
        values.push_back(output.substr(valueStart, end - valueStart));
        fromEnd = end + 1;
    }
    return values;
}

// Cross compilers, second method: the stringified expansion is concatenated between two
// marker strings, and the compiler stores the whole literal in the object's data.
std::vector<std::string> FindValueInObject(const RunContext& context, const std::string& name)
{
    // Text objects (listings of small-target compilers) keep the literal in an encoded
    // form, so the compile would be wasted.
    if (!context.Target.ObjectIsBinary)
        return {};
    const std::string text = kStringifyPrelude + "char s[] =  \"" + kValueBegin + "\" M(" + name + ") \"" +
                             kValueEnd + "\";\n";
    const CompileResult result = context.Compile(text, "deftest");
    if (!result.MadeObject())
        return {};
    const std::string& content = *result.Object;
    const std::size_t begin = content.find(kValueBegin);
    if (begin == std::string::npos)
        return {};
    const std::size_t valueStart = begin + kValueBegin.size();
    const std::size_t end = content.find(kValueEnd, valueStart);
    if (end == std::string::npos)
        return {};
    return {content.substr(valueStart, end - valueStart)};
}

}  // namespace

std::string PrintPossibleDefines(const std::string& name)
{
    return "#ifdef " + name + "\n" + "#include \"" + kUndefinedId + "\"\n#endif\n";
}

void TidyAndAddDefine(std::string value, const std::string& name, std::set<std::string>& foundDefines)
{
    value = RemoveMismatchedQuotes(RemovePreAndTrailChars(' ', value));
    // A function-like macro named without arguments expands to its own name.
    if (value == name)
        return;
    if (name == "__func__" && value.find("__func__") == std::string::npos)
        value = "__func__";

    // The analyser cannot take a string literal as a define value; it rebuilds the literal
    // through the stringify macro instead.
    for (const std::string quote : {"\\\"", "\""}) {
        if (value.find(quote) == std::string::npos)
            continue;
        foundDefines.insert(kStringifyEntry);
        if (!QuotesToStringify(value, quote)) {
            ReportUndeterminedDefine(name);
            return;
        }
    }

    if (value.find(' ') != std::string::npos)
        foundDefines.insert("\"" + name + "=" + value + "\"");
    else
        foundDefines.insert(name + "=" + value);
}

std::set<std::string> FindPreDefines(const RunContext& context, const std::set<std::string>& identifiers,
                                     const std::set<std::string>& languageKeywords)
{
    Say("Scanning for compiler defines ...");

    // Names the user defines with -xd have their values already and are not tested.
    std::set<std::string> given;
    for (const std::string& define : context.Opts.ImplicitDefines)
        given.insert(define.substr(0, define.find('=')));
    std::vector<std::string> candidates;
    for (const std::string& name : identifiers)
        if (languageKeywords.count(name) == 0 && given.count(name) == 0)
            candidates.push_back(name);

    // A defined name activates its block, and the compiler then fails to find the header
    // ak12345 and names it; a batch without a defined name is empty for the compiler.
    std::vector<std::string> defined = HalvingBatches(
        context, std::move(candidates), context.Opts.ReduceFileSize ? kReducedBatchSize : kFullBatchSize, "macros",
        [&](const std::vector<std::string>& batch) {
            std::string text;
            for (const std::string& name : batch)
                text += PrintPossibleDefines(name);
            return context.Compile(text, "deftest").Output().find(kUndefinedId) != std::string::npos;
        });

    // Macros whose value changes with the place or the time of use would be frozen at the
    // probe's values (__FILE__ as "deftest.c", __LINE__ as 3); the analyser supplies them
    // itself, so they get no entry.
    static const std::set<std::string> kPlaceOrTimeMacros{
        "__FILE__", "__LINE__", "__DATE__", "__TIME__", "__TIMESTAMP__", "__COUNTER__",
        "__INCLUDE_LEVEL__", "__BASE_FILE__", "__FILE_NAME__"};
    std::erase_if(defined, [](const std::string& name) { return kPlaceOrTimeMacros.count(name) != 0; });

    Say("Calculating compiler define values ...");
    std::set<std::string> found;
    context.ForEach(
        defined.size(),
        [&](std::size_t i) {
            if (!context.Target.IsCrossCompiler)
                return FindValueByRunning(context, defined[i]);
            std::vector<std::string> values = FindValueByIncludeName(context, defined[i]);
            for (std::string& value : FindValueInObject(context, defined[i]))
                values.push_back(std::move(value));
            return values;
        },
        [&](std::size_t i, std::vector<std::string> values) {
            for (std::string& value : values)
                TidyAndAddDefine(std::move(value), defined[i], found);
            if ((i + 1) % kValueProgressStep == 0 && i + 1 < defined.size())
                Say("  [macros] values: " + std::to_string(i + 1) + " of " + std::to_string(defined.size()) +
                    " macros done");
        });
    return found;
}
