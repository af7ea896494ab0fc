#include "export/ExportedMacro.h"

#include <algorithm>
#include <iterator>

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

namespace {

struct VendorBlock {
    const char* CompilerMacro;
    const char* Open;
    const char* Close;
};
constexpr VendorBlock VendorBlocks[] = {
    {"__SDCC", "__asm", "__endasm"},
    {"__SDCC", "_asm", "_endasm"},
};

bool HasBlock(const Personality& personality, const VendorBlock& block)
{
    const Define* open = personality.FindDefine(block.Open);
    return personality.FindDefine(block.CompilerMacro) && open && open->Kind == DefineKind::Asm;
}

}  // namespace

std::vector<Macro> VendorBlockMacros(const Personality& personality)
{
    std::vector<Macro> macros;
    for (const VendorBlock& block : VendorBlocks) {
        if (HasBlock(personality, block)) {
            macros.push_back({block.Open, "__asm__("});
            macros.push_back({block.Close, ")"});
        }
    }
    return macros;
}

bool IsVendorBlockKeyword(const Personality& personality, const std::string& name)
{
    return std::any_of(std::begin(VendorBlocks), std::end(VendorBlocks), [&](const VendorBlock& block) {
        return (name == block.Open || name == block.Close) && HasBlock(personality, block);
    });
}

}  // namespace kxexport
