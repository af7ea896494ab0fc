#include "engine/probe/CommandComposition.h"

#include <stdexcept>

#include "engine/probe/ProcessRunner.h"

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

const char* MissingPlaceholder(const std::string& orderStr)
{
    for (const char* placeholder : kPlaceholders)
        if (orderStr.find(placeholder) == std::string::npos)
            return placeholder;
    return nullptr;
}

std::string GetCompleteCommandStr(const Options& options, const std::string& source,
                                  bool buildExecutable, const std::string& extraDefine)
{
    // A define flag of the form DF takes its argument in parentheses, which the shell must
    // not see as its own syntax.
    const bool parenthesised = options.DefFlag == "DF" || options.DefFlag == "DF ";
    auto formatDefine = [&](const std::string& define) {
        return parenthesised ? options.DefFlag + ShellQuote("(" + define + ")") + " "
                             : options.DefFlag + define + " ";
    };
    std::string text;
    for (const std::string& sw : options.ImplicitSwitches)
        text += sw + " ";
    for (const std::string& define : options.ImplicitDefines)
        text += formatDefine(define);
    if (!extraDefine.empty())
        text += formatDefine(extraDefine);
    const std::string values[6] = {options.CompilerCommand, source, buildExecutable ? "" : options.ObjFlag,
                                   buildExecutable ? options.ExeFlag : "", buildExecutable ? source + ".exe" : "", text};
    return Compose(options.OrderStr, values);
}
