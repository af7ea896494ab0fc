#include "export/ExportedMacro.h"

#include <algorithm>

namespace kxexport {

std::optional<Macro> ExportedMacro(const Define& define, bool resolveStrings)
{
    if (define.Kind == DefineKind::Helper && resolveStrings)
        return std::nullopt;
    Macro macro;
    macro.Head = define.Name + define.Parameters;
    macro.Head.erase(std::remove(macro.Head.begin(), macro.Head.end(), ' '), macro.Head.end());
    if (define.Kind == DefineKind::IgnoreParen)
        macro.Head = define.Name + "(...)";
    else if (!define.HasValue)
        macro.Body = "1";
    else if (define.Kind == DefineKind::Type && BaseTypeFromSpelling(define.Value) == BaseType::CodePtr)
        // A code pointer has no spelling that can stand in front of a declarator.
        macro.Body = "void*";
    else
        macro.Body = resolveStrings ? define.ResolvedValue() : define.Value;
    return macro;
}

}  // namespace kxexport
