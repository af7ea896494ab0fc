#include "common/CompileTemplate.h"

#include <stdexcept>

namespace kxcommon {

namespace {

const char* const kPlaceholders[] = {"%c", "%s", "%j", "%o", "%e", "%d"};

// The placeholders are found in the template alone, each at its first occurrence, and
// replaced in one pass: a value (a compiler installed under "100%sure", a define holding
// "%d") is never searched for placeholders itself.
std::string Compose(const std::string& orderStr, const std::string (&values)[6])
{
    std::size_t at[6];
    for (std::size_t k = 0; k < 6; ++k) {
        at[k] = orderStr.find(kPlaceholders[k]);
        if (at[k] == std::string::npos)
            throw std::invalid_argument(std::string("the compile-command template lacks ") + kPlaceholders[k]);
    }
    std::string command;
    for (std::size_t i = 0; i < orderStr.size();) {
        std::size_t k = 0;
        while (k < 6 && at[k] != i)
            ++k;
        if (k < 6) {
            command += values[k];
            i += 2;
        } else {
            command += orderStr[i++];
        }
    }
    return command;
}

}  // namespace

const char* MissingPlaceholder(const std::string& order)
{
    for (const char* placeholder : kPlaceholders)
        if (order.find(placeholder) == std::string::npos)
            return placeholder;
    return nullptr;
}

std::string ComposeCompileCommand(const CompileTemplate& compile, const std::string& source, bool buildExecutable,
                                  const std::string& extraDefine)
{
    // A define flag of the form DF takes its argument in parentheses, which the shell must
    // not see as its own syntax.
    const bool parenthesised = compile.DefFlag == "DF" || compile.DefFlag == "DF ";
    auto formatDefine = [&](const std::string& define) {
        return parenthesised ? compile.DefFlag + ShellQuote("(" + define + ")") + " "
                             : compile.DefFlag + define + " ";
    };
    std::string text;
    for (const std::string& sw : compile.Switches)
        text += sw + " ";
    for (const std::string& define : compile.Defines)
        text += formatDefine(define);
    if (!extraDefine.empty())
        text += formatDefine(extraDefine);
    const std::string values[6] = {compile.Compiler, source, buildExecutable ? "" : compile.ObjFlag,
                                   buildExecutable ? compile.ExeFlag : "", buildExecutable ? source + ".exe" : "", text};
    return Compose(compile.Order, values);
}

std::string ShellQuote(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

}  // namespace kxcommon
