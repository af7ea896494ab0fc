// The define entry of one macro, made from the value the compiler showed for it.
#include "engine/phases/macros/MacroEntry.h"

#include "common/PersonalityFormat.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

namespace {

const std::string kStringifyEntry = "_VMT_STRINGIFY(x)=#x";
const std::string kStringifyOpen = "_VMT_STRINGIFY(";

void ReportUndeterminedDefine(const std::string& name)
{
    Say("define \"" + name + "\" couldn't be determined from the output from compiler.");
    Say("No define is written for \"" + name + "\".");
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
        foundDefines.insert(kxcommon::QuoteText(name + "=" + value));
    else
        foundDefines.insert(name + "=" + value);
}

