// The define entry of one macro, made from the value the compiler showed for it.
#include "engine/phases/macros/MacroEntry.h"

#include <vector>

#include "common/PersonalityFormat.h"
#include "engine/core/TextUtilities.h"

namespace {

const std::string kStringifyEntry = "_VMT_STRINGIFY(x)=#x";
const std::string kStringifyOpen = "_VMT_STRINGIFY(";

// The quotes that open or close a literal: those not escaped by an odd run of backslashes.
std::vector<std::size_t> LiteralQuotes(const std::string& value)
{
    std::vector<std::size_t> quotes;
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '"' && backslashes % 2 == 0)
            quotes.push_back(i);
        backslashes = value[i] == '\\' ? backslashes + 1 : 0;
    }
    return quotes;
}

// Undoes the escapes of quotes and backslashes.
std::string Unescaped(const std::string& text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\'))
            ++i;
        plain += text[i];
    }
    return plain;
}

}  // namespace

void TidyAndAddDefine(std::string value, const std::string& name, std::set<std::string>& foundDefines)
{
    value = RemovePreAndTrailChars(' ', value);
    // A function-like macro named without arguments expands to its own name.
    if (value == name)
        return;
    if (name == "__func__" && value.find("__func__") == std::string::npos)
        value = "__func__";

    // Programs and objects give the value's bytes; some compilers show a header's name
    // escaped as a string literal, and there every quote is escaped.
    std::vector<std::size_t> quotes = LiteralQuotes(value);
    if (quotes.empty() && value.find('"') != std::string::npos) {
        value = Unescaped(value);
        quotes = LiteralQuotes(value);
    }
    // A quote left unpaired ends the value before it.
    if (quotes.size() % 2 != 0) {
        value.erase(quotes.back());
        quotes.pop_back();
    }
    // The analyser cannot take a string literal as a define value; it rebuilds the literal
    // through the stringify macro, whose argument is the literal's text with its quotes and
    // backslashes unescaped, as the analyser's reader escapes them again.
    if (!quotes.empty()) {
        foundDefines.insert(kStringifyEntry);
        value = value.substr(0, quotes.front()) + kStringifyOpen +
                Unescaped(value.substr(quotes.front() + 1, quotes.back() - quotes.front() - 1)) + ")" +
                value.substr(quotes.back() + 1);
    }

    if (value.find(' ') != std::string::npos)
        foundDefines.insert(kxcommon::QuoteText(name + "=" + value));
    else
        foundDefines.insert(name + "=" + value);
}
