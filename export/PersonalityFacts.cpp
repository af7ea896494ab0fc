#include "export/PersonalityFacts.h"

#include "export/MacroText.h"

namespace kxexport {

bool Define::Classified() const
{
    if (!Quoted || FunctionLike())
        return false;
    switch (Kind) {
    case DefineKind::Alias:
    case DefineKind::Drop:
    case DefineKind::IgnoreParen:
    case DefineKind::Asm:
    case DefineKind::Type:
        return true;
    default:
        return false;
    }
}

std::string Define::ResolvedValue() const
{
    return ResolveStringHelper(Value, Parameters);
}

const IntrinsicType* Personality::Intrinsic(const std::string& name) const
{
    for (const IntrinsicType& type : Intrinsics) {
        if (type.Name == name)
            return &type;
    }
    return nullptr;
}

const Define* Personality::FindDefine(const std::string& name) const
{
    for (const Define& define : Defines) {
        if (define.Name == name)
            return &define;
    }
    return nullptr;
}

}  // namespace kxexport
