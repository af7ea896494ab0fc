#include "export/MacroText.h"

#include <algorithm>
#include <cctype>
#include <regex>

namespace kxexport {

namespace {

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }
bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

// Position of the parenthesis that closes the one at open, or npos.
std::size_t MatchingParen(const std::string& text, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && --depth == 0)
            return i;
    }
    return std::string::npos;
}

}  // namespace

bool IsIdentifier(const std::string& text)
{
    return !text.empty() && IsIdentifierStart(text[0]) && std::all_of(text.begin(), text.end(), IsIdentifierChar);
}

std::vector<std::string> ParameterNames(const std::string& parameters)
{
    std::vector<std::string> names;
    if (parameters.size() < 2)
        return names;
    const std::string inner = parameters.substr(1, parameters.size() - 2);
    std::size_t start = 0;
    while (start <= inner.size()) {
        const std::size_t comma = std::min(inner.find(',', start), inner.size());
        const std::string name = CollapseBlanks(inner.substr(start, comma - start));
        if (!name.empty())
            names.push_back(name);
        start = comma + 1;
    }
    return names;
}

std::string ResolveStringHelper(const std::string& value, const std::string& parameters)
{
    const std::string helper = StringHelperName;
    const std::vector<std::string> parameterNames = ParameterNames(parameters);
    std::string result;
    std::size_t i = 0;
    while (i < value.size()) {
        const bool wordStart = i == 0 || !IsIdentifierChar(value[i - 1]);
        std::size_t open = i + helper.size();
        while (open < value.size() && value[open] == ' ')
            ++open;
        const bool isUse = wordStart && value.compare(i, helper.size(), helper) == 0
                           && open < value.size() && value[open] == '(';
        const std::size_t close = isUse ? MatchingParen(value, open) : std::string::npos;
        if (close == std::string::npos) {
            result += value[i++];
            continue;
        }
        const std::string argument = CollapseBlanks(value.substr(open + 1, close - open - 1));
        if (std::find(parameterNames.begin(), parameterNames.end(), argument) != parameterNames.end())
            result += "#" + argument;
        else
            result += CStringLiteral(argument);
        i = close + 1;
    }
    return result;
}

std::string CStringLiteral(const std::string& text)
{
    std::string literal = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            literal += '\\';
        literal += c;
    }
    return literal + "\"";
}

bool IsIntegerValue(const std::string& value)
{
    // Decimal, octal and hexadecimal literals with their suffixes; floating constants,
    // pp-numbers such as 4_2_0 and any identifier fall outside.
    static const std::regex literal("(0[xX][0-9a-fA-F]+|[0-9]+)([uU](ll|LL|l|L)?|(ll|LL|l|L)[uU]?)?");
    static const std::string operators = "()+-~* \t";
    bool anyLiteral = false;
    std::size_t i = 0;
    while (i < value.size()) {
        if (operators.find(value[i]) != std::string::npos) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < value.size() && IsIdentifierChar(value[end]))
            ++end;
        if (end == i || !std::regex_match(value.substr(i, end - i), literal))
            return false;
        anyLiteral = true;
        i = end;
    }
    return anyLiteral;
}

std::string CollapseBlanks(const std::string& text, const std::string& separator)
{
    std::string result;
    char literal = 0;
    bool blank = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (literal == 0 && (c == ' ' || c == '\t')) {
            blank = !result.empty();
            continue;
        }
        if (blank)
            result += separator;
        blank = false;
        result += c;
        if (literal == 0 && (c == '"' || c == '\''))
            literal = c;
        else if (literal != 0 && c == '\\' && i + 1 < text.size())
            result += text[++i];
        else if (c == literal)
            literal = 0;
    }
    return result;
}

}  // namespace kxexport
