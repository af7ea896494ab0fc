#include "common/CompileTemplate.h"

#include <stdexcept>

namespace kxcommon {

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
    std::string command = compile.Order;
    ReplaceFirst(command, "%c", compile.Compiler);
    ReplaceFirst(command, "%s", source);
    ReplaceFirst(command, "%j", buildExecutable ? "" : compile.ObjFlag);
    ReplaceFirst(command, "%o", buildExecutable ? compile.ExeFlag : "");
    ReplaceFirst(command, "%e", buildExecutable ? source + ".exe" : "");

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
    ReplaceFirst(command, "%d", text);
    return command;
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
