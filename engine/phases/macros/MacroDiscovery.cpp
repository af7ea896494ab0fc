// Finds which of the names harvested from the compiler's headers the compiler predefines as
// macros, and with which values, from what the compiler does with small test sources alone.
#include "engine/phases/macros/MacroDiscovery.h"

#include "engine/phases/macros/MacroEntry.h"
#include "engine/phases/macros/CandidateNames.h"
#include "engine/phases/macros/MacroExistence.h"
#include "engine/phases/macros/MacroValues.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

#include <vector>

namespace {

constexpr std::size_t kValueProgressStep = 100;

}  // namespace

std::set<std::string> FindPreDefines(const RunContext& context, const std::set<std::string>& identifiers,
                                     const std::set<std::string>& languageKeywords, const ProgramWords& program,
                                     const std::set<std::string>& moreWords, std::set<std::string>* beyondIdentifiers)
{
    context.Report.Say("Scanning for compiler defines ...");

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
    // The standards' conditional feature macros are tested whether or not a header or a
    // program names them: a library may test one only in its sources (sdcc's stops at #error
    // without __STDC_ISO_10646__, which no header of it spells).
    static const char* const kStandardFeatureMacros[] = {
        "__STDC_ISO_10646__", "__STDC_MB_MIGHT_NEQ_WC__", "__STDC_UTF_16__", "__STDC_UTF_32__",
        "__STDC_IEC_559__", "__STDC_IEC_559_COMPLEX__", "__STDC_LIB_EXT1__", "__STDC_NO_ATOMICS__",
        "__STDC_NO_COMPLEX__", "__STDC_NO_THREADS__", "__STDC_NO_VLA__"};
    for (const char* name : kStandardFeatureMacros)
        if (identifiers.count(name) == 0)
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
        context.Report.Say("  [macros] " + std::to_string(candidates.size()) + " names completed from the " +
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
        context.Report.Say("The preprocessor's own names and operators (" + list +
            ") get no define line: the analyser's preprocessor provides them.");
    }

    context.Report.Say("Calculating compiler define values ...");
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
                context.Report.Say("  [macros] values: " + std::to_string(i + 1) + " of " + std::to_string(defined.size()) +
                    " macros done");
        });
    return found;
}
