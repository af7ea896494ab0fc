// Finds which of the names harvested from the compiler's headers the compiler predefines as
// macros, and with which values, from what the compiler does with small test sources alone.
#include "KestrixEngine.h"

#include "BatchHalving.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <ostream>
#include <set>

namespace {

const std::string kDefTest = "deftest";
const std::string kStringifyEntry = "_VMT_STRINGIFY(x)=#x";
const std::string kStringifyOpen = "_VMT_STRINGIFY(";
// The words that bracket a value in the compiler's message or in the object's data.
const std::string kValueBegin = "yyy";
const std::string kValueEnd = "zzz";
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

std::string StringifyPrelude()
{
    return S_STRINGIFY_MACRO + "\n" + S_EXPAND_MACRO + "\n";
}

// Native compilers: the macro's expansion, stringified, is printed by a test program.
void FindValueByRunning(KestrixEngine& engine, const std::string& source, const std::string& name)
{
    const std::string text = StringifyPrelude() + (engine.IsC ? S_PRINTF_DECL_C : S_PRINTF_DECL_CPP) +
                             "\n" + "int main(void) { printf(\"%s\", M(" + name + ")); " +
                             S_RETURN_ZERO + "}" + "\n";
    if (!WriteWholeFile(source, text))
        return;
    const std::string program = source + S_EXE_EXT;
    // A program left behind by the previous name would print that name's value.
    std::remove(program.c_str());
    engine.SystemUsingBatchFile(engine.GetCompleteCommandStr(source, true, ""));
    std::remove(S_STDOUT_LOG.c_str());
    std::remove(S_STDERR_LOG.c_str());
    if (!std::ifstream(program).is_open()) {
        Say(source + " failed to compile! can't find value of: " + name);
        return;
    }
    std::cout.flush();
    const std::string run = "./" + program + " >" + S_STDOUT_LOG;
    [[maybe_unused]] const int status = std::system(run.c_str());
    std::string value = engine.ReadStdoutAndStderr();
    engine.TidyAndAddDefine(value, name);
}

// Cross compilers, first method: the stringified expansion becomes the name of a header
// that does not exist, and the compiler quotes that name when it says so.
void FindValueByIncludeName(KestrixEngine& engine, const std::string& source, const std::string& name)
{
    const std::string text =
        StringifyPrelude() + "#include M(" + kValueBegin + " " + name + " " + kValueEnd + ")\n";
    if (!WriteWholeFile(source, text))
        return;
    engine.SystemUsingBatchFile(engine.GetCompleteCommandStr(source, false, ""));
    const std::string output = engine.ReadStdoutAndStderr();

    // Compilers may quote the name more than once (the message, the echoed source line);
    // every pair on one line is a reading. A "zzz" only closes a "yyy" that stands before it
    // on the same line: a line with a "yyy" alone shows a name that the compiler cut or
    // replaced after an error, and the text up to the end of that line is no value.
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
        std::string value = output.substr(valueStart, end - valueStart);
        engine.TidyAndAddDefine(value, name);
        fromEnd = end + 1;
    }
}

// Cross compilers, second method: the stringified expansion is concatenated between two
// marker strings, and the compiler stores the whole literal in the object's data.
void FindValueInObject(KestrixEngine& engine, const std::string& source, const std::string& name)
{
    // Text objects (listings of small-target compilers) keep the literal in an encoded
    // form, so the compile would be wasted.
    if (!S_OBJ_IS_BINARY)
        return;
    const std::string text = StringifyPrelude() + "char s[] =  \"" + kValueBegin + "\" M(" + name +
                             ") \"" + kValueEnd + "\";\n";
    if (!WriteWholeFile(source, text))
        return;
    const std::string object = kDefTest + S_OBJEXT;
    // An object left behind by the previous name would give that name's value.
    std::remove(object.c_str());
    engine.SystemUsingBatchFile(engine.GetCompleteCommandStr(source, false, ""));
    std::string content;
    if (!ReadWholeFile(object, content))
        return;
    const std::size_t begin = content.find(kValueBegin);
    if (begin == std::string::npos)
        return;
    const std::size_t valueStart = begin + kValueBegin.size();
    const std::size_t end = content.find(kValueEnd, valueStart);
    if (end == std::string::npos)
        return;
    std::string value = content.substr(valueStart, end - valueStart);
    engine.TidyAndAddDefine(value, name);
}

}  // namespace

std::string KestrixEngine::PrintPossibleDefines(const std::string& name) const
{
    return S_IFDEF + name + "\n" + "#include \"" + S_UNDEFINED_ID + "\"\n" + S_ENDIF + "\n";
}

void KestrixEngine::TidyAndAddDefine(std::string& value, const std::string& name)
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
        FoundDefines.insert(kStringifyEntry);
        if (!QuotesToStringify(value, quote)) {
            ReportUndeterminedDefine(name);
            return;
        }
    }

    if (value.find(' ') != std::string::npos)
        FoundDefines.insert("\"" + name + "=" + value + "\"");
    else
        FoundDefines.insert(name + "=" + value);
}

void KestrixEngine::FindPreDefines(std::ostream& personality)
{
    Say("Scanning for compiler defines ...");

    // Names the user defines with -xd have their values already and are not tested.
    std::set<std::string> given;
    for (const std::string& define : ImplicitDefines)
        given.insert(define.substr(0, define.find('=')));
    const std::set<std::string>& keywords = IsC ? CKeywords : CppKeywords;
    std::vector<std::string> candidates;
    for (const std::string& name : PossibleDefines)
        if (keywords.count(name) == 0 && given.count(name) == 0)
            candidates.push_back(name);

    // A defined name activates its block, and the compiler then fails to find the header
    // ak12345 and names it; a batch without a defined name is empty for the compiler.
    const std::string source = kDefTest + SourceExt();
    std::vector<std::string> defined = HalvingBatches(
        std::move(candidates), ReduceFileSize ? kReducedBatchSize : kFullBatchSize, "macros",
        [&](const std::vector<std::string>& batch) {
            std::string text;
            for (const std::string& name : batch)
                text += PrintPossibleDefines(name);
            if (!WriteWholeFile(source, text))
                return false;
            SystemUsingBatchFile(GetCompleteCommandStr(source, false, ""));
            return ReadStdoutAndStderr().find(S_UNDEFINED_ID) != std::string::npos;
        });

    // Macros whose value changes with the place or the time of use would be frozen at the
    // probe's values (__FILE__ as "deftest.c", __LINE__ as 3); the analyser supplies them
    // itself, so they get no entry.
    static const std::set<std::string> kPlaceOrTimeMacros{
        "__FILE__", "__LINE__", "__DATE__", "__TIME__", "__TIMESTAMP__", "__COUNTER__",
        "__INCLUDE_LEVEL__", "__BASE_FILE__", "__FILE_NAME__"};
    std::erase_if(defined, [](const std::string& name) { return kPlaceOrTimeMacros.count(name) != 0; });

    Say("Calculating compiler define values ...");
    for (std::size_t i = 0; i < defined.size(); ++i) {
        if (IsCrossCompiler) {
            FindValueByIncludeName(*this, source, defined[i]);
            FindValueInObject(*this, source, defined[i]);
        } else {
            FindValueByRunning(*this, source, defined[i]);
        }
        if ((i + 1) % kValueProgressStep == 0 && i + 1 < defined.size())
            Say("  [macros] values: " + std::to_string(i + 1) + " of " + std::to_string(defined.size()) +
                " macros done");
    }

    for (const std::string& define : ImplicitDefines)
        personality << DefineOption << define << "\n";
    for (const std::string& entry : FoundDefines)
        personality << DefineOption << entry << "\n";
}
