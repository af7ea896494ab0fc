#include "KestrixEngine.h"

namespace {

// Replaces the first occurrence of a placeholder. A template without it cannot describe the
// compiler's command line, so the run ends (main's catch-all gives exit status 1).
void ReplaceFirst(std::string& text, const char* placeholder, const std::string& value)
{
    const std::size_t at = text.find(placeholder);
    if (at == std::string::npos)
        throw std::out_of_range(std::string("compile-command template lacks ") + placeholder);
    text.replace(at, 2, value);
}

}  // namespace

std::string KestrixEngine::GetCompleteCommandStr(const std::string& source, bool buildExecutable,
                                                 const std::string& extraDefine) const
{
    std::string command = OrderStr;
    ReplaceFirst(command, "%c", CompilerCommand);
    ReplaceFirst(command, "%s", source);
    if (buildExecutable) {
        ReplaceFirst(command, "%j", "");
        ReplaceFirst(command, "%o", ExeFlag);
        ReplaceFirst(command, "%e", source + S_EXE_EXT);
    } else {
        ReplaceFirst(command, "%j", ObjFlag);
        ReplaceFirst(command, "%o", "");
        ReplaceFirst(command, "%e", "");
    }

    // A define flag of the form DF takes its argument in parentheses.
    const bool parenthesised = DefFlag == "DF" || DefFlag == "DF ";
    auto formatDefine = [&](const std::string& define) {
        return parenthesised ? DefFlag + "(" + define + ") " : DefFlag + define + " ";
    };
    std::string options;
    for (const std::string& sw : ImplicitSwitches)
        options += sw + " ";
    for (const std::string& define : ImplicitDefines)
        options += formatDefine(define);
    if (!extraDefine.empty())
        options += formatDefine(extraDefine);
    ReplaceFirst(command, "%d", options);
    return command;
}
