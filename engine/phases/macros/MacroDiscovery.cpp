// Finds which of the names harvested from the compiler's headers the compiler predefines as
// macros, and with which values, from what the compiler does with small test sources alone.
#include "engine/phases/macros/MacroDiscovery.h"

#include "engine/phases/macros/CandidateNames.h"
#include "engine/phases/macros/MacroExistence.h"
#include "engine/phases/macros/MacroValues.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

#include <vector>

namespace {

const std::string kStringifyEntry = "_VMT_STRINGIFY(x)=#x";
const std::string kStringifyOpen = "_VMT_STRINGIFY(";
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

}  // namespace

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
                                     const std::set<std::string>& languageKeywords, const ProgramWords& program,
                                     const std::set<std::string>& moreWords, std::set<std::string>* beyondIdentifiers)
{
    Say("Scanning for compiler defines ...");

    // Names the user defines with -xd have their values already and are not tested.
    std::set<std::string> given;
    for (const std::string& define : context.Opts.ImplicitDefines)
        given.insert(define.substr(0, define.find('=')));
    std::set<std::string> preprocessorNames;
    auto testable = [&](const std::string& name) {
        if (IsPreprocessorName(name)) {
            preprocessorNames.insert(name);
            return false;
        }
        return languageKeywords.count(name) == 0 && given.count(name) == 0;
    };

    // The programs' names go in the same batches as the headers' ones, and are keyword
    // candidates as well. The header walk's names are many (half a million for a C
    // library): they are copied once, into the batches.
    std::set<std::string> beyond;
    for (const std::string& name : program.Identifiers)
        if (IsProgramCandidate(name) && identifiers.count(name) == 0)
            beyond.insert(name);
    std::vector<std::string> candidates;
    candidates.reserve(identifiers.size() + beyond.size());
    for (const std::string& name : identifiers)
        if (testable(name))
            candidates.push_back(name);
    for (const std::string& name : beyond)
        if (testable(name))
            candidates.push_back(name);
    std::vector<std::string> defined = FindDefinedNames(context, std::move(candidates));

    // The names completed from the macros found. The spellings of words are keyword
    // candidates too; the families and the filled patterns are made of macro names' parts
    // only.
    const std::set<std::string> spelled = SpelledWords(defined, moreWords, program);
    std::set<std::string> completed = FamilyNames(defined, program);
    completed.insert(spelled.begin(), spelled.end());
    const std::set<std::string> filled = FilledTemplates(program, defined);
    completed.insert(filled.begin(), filled.end());
    candidates.clear();
    for (const std::string& name : completed)
        if (identifiers.count(name) == 0 && beyond.count(name) == 0 && testable(name))
            candidates.push_back(name);
    if (!candidates.empty()) {
        Say("  [macros] " + std::to_string(candidates.size()) + " names completed from the " +
            std::to_string(defined.size()) + " macros found");
        const std::vector<std::string> more = FindDefinedNames(context, std::move(candidates));
        defined.insert(defined.end(), more.begin(), more.end());
    }
    if (beyondIdentifiers != nullptr) {
        beyondIdentifiers->insert(beyond.begin(), beyond.end());
        for (const std::string& name : spelled)
            if (identifiers.count(name) == 0)
                beyondIdentifiers->insert(name);
    }

    // The analyser's preprocessor has these itself: a value frozen at the probe's (__FILE__
    // as "deftest.c") or an operator written as an empty macro would mislead it.
    if (!preprocessorNames.empty()) {
        std::string list;
        for (const std::string& name : preprocessorNames)
            list += (list.empty() ? "" : ", ") + name;
        Say("The preprocessor's own names and operators (" + list +
            ") get no define line: the analyser's preprocessor provides them.");
    }

    Say("Calculating compiler define values ...");
    std::set<std::string> found;
    std::vector<std::optional<std::vector<std::string>>> together(defined.size());
    if (!context.Opts.Exact)
        together = ValuesReadTogether(context, defined);
    context.ForEach(
        defined.size(),
        [&](std::size_t i) { return together[i] ? *together[i] : ValuesOfOneMacro(context, defined[i]); },
        [&](std::size_t i, std::vector<std::string> values) {
            for (std::string& value : values)
                TidyAndAddDefine(std::move(value), defined[i], found);
            if ((i + 1) % kValueProgressStep == 0 && i + 1 < defined.size())
                Say("  [macros] values: " + std::to_string(i + 1) + " of " + std::to_string(defined.size()) +
                    " macros done");
        });
    return found;
}
