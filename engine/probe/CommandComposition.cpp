#include "engine/probe/CommandComposition.h"

#include <stdexcept>

#include "engine/probe/ProcessRunner.h"

namespace {

const char* const kPlaceholders[] = {"%c", "%s", "%j", "%o", "%e", "%d"};

// Replaces the first occurrence of a placeholder; each step searches the text as the earlier
// steps left it.
void ReplaceFirst(std::string& text, const char* placeholder, const std::string& value)
{
    const std::size_t at = text.find(placeholder);
    if (at == std::string::npos)
        throw std::invalid_argument(std::string("the compile-command template lacks ") + placeholder);
    text.replace(at, 2, value);
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
    std::string command = options.OrderStr;
    ReplaceFirst(command, "%c", options.CompilerCommand);
    ReplaceFirst(command, "%s", source);
    ReplaceFirst(command, "%j", buildExecutable ? "" : options.ObjFlag);
    ReplaceFirst(command, "%o", buildExecutable ? options.ExeFlag : "");
    ReplaceFirst(command, "%e", buildExecutable ? source + ".exe" : "");

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
    ReplaceFirst(command, "%d", text);
    return command;
}
