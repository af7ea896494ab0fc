// Finds which of the names harvested from the compiler's headers the compiler predefines as
// macros, and with which values, from what the compiler does with small test sources alone.
#include "engine/phases/macros/MacroDiscovery.h"

#include "engine/phases/macros/MacroEntry.h"
#include "engine/phases/macros/MacroExistence.h"
#include "engine/phases/macros/MacroValues.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

#include <vector>

namespace {

constexpr std::size_t kValueProgressStep = 100;

}  // namespace

std::set<std::string> FindPreDefines(const RunContext& context, const std::set<std::string>& identifiers,
                                     const std::set<std::string>& languageKeywords)
{
    Say("Scanning for compiler defines ...");

    // Names the user defines with -xd have their values already and are not tested.
    std::set<std::string> given;
    for (const std::string& define : context.Opts.ImplicitDefines)
        given.insert(define.substr(0, define.find('=')));
    // The standards' conditional feature macros are tested whether or not a header names
    // them: a library may test one only in its sources (sdcc's stops at #error without
    // __STDC_ISO_10646__, which no header of it spells).
    static const std::set<std::string> kStandardFeatureMacros{
        "__STDC_ISO_10646__", "__STDC_MB_MIGHT_NEQ_WC__", "__STDC_UTF_16__", "__STDC_UTF_32__",
        "__STDC_IEC_559__", "__STDC_IEC_559_COMPLEX__", "__STDC_LIB_EXT1__", "__STDC_NO_ATOMICS__",
        "__STDC_NO_COMPLEX__", "__STDC_NO_THREADS__", "__STDC_NO_VLA__"};
    std::set<std::string> names = identifiers;
    names.insert(kStandardFeatureMacros.begin(), kStandardFeatureMacros.end());
    std::vector<std::string> candidates;
    for (const std::string& name : names)
        if (languageKeywords.count(name) == 0 && given.count(name) == 0)
            candidates.push_back(name);

    std::vector<std::string> defined = FindDefinedNames(context, std::move(candidates));

    // Macros whose value changes with the place or the time of use would be frozen at the
    // probe's values (__FILE__ as "deftest.c", __LINE__ as 3); the analyser supplies them
    // itself, so they get no entry.
    static const std::set<std::string> kPlaceOrTimeMacros{
        "__FILE__", "__LINE__", "__DATE__", "__TIME__", "__TIMESTAMP__", "__COUNTER__",
        "__INCLUDE_LEVEL__", "__BASE_FILE__", "__FILE_NAME__"};
    std::erase_if(defined, [](const std::string& name) { return kPlaceOrTimeMacros.count(name) != 0; });

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
