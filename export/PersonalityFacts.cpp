#include "export/PersonalityFacts.h"

#include "export/MacroText.h"

namespace kxexport {

namespace {

struct BaseTypeNames {
    BaseType Type;
    const char* Personality;
    const char* Spelling;
    const char* Description;
};

constexpr std::array<BaseTypeNames, BaseTypeCount> Names{{
    {BaseType::Char, "char", "char", "char"},
    {BaseType::Int, "int", "int", "int"},
    {BaseType::Short, "short", "short", "short"},
    {BaseType::Long, "long", "long", "long"},
    {BaseType::LongLong, "longlong", "long long", "long long"},
    {BaseType::Float, "float", "float", "float"},
    {BaseType::Double, "double", "double", "double"},
    {BaseType::LongDouble, "ldouble", "long double", "long double"},
    {BaseType::DataPtr, "dataptr", "int*", "data pointer"},
    {BaseType::CodePtr, "codeptr", "void(*)(void)", "code pointer"},
}};

const BaseTypeNames& NamesOf(BaseType type) { return Names[static_cast<std::size_t>(type)]; }

}  // namespace

const char* PersonalityName(BaseType type) { return NamesOf(type).Personality; }
const char* SourceSpelling(BaseType type) { return NamesOf(type).Spelling; }
const char* Description(BaseType type) { return NamesOf(type).Description; }

std::optional<BaseType> BaseTypeFromPersonalityName(const std::string& name)
{
    for (const BaseTypeNames& names : Names) {
        if (name == names.Personality)
            return names.Type;
    }
    return std::nullopt;
}

std::optional<BaseType> BaseTypeFromSpelling(const std::string& spelling)
{
    // The engine writes the type test's own spelling of the base type, and "codeptr" for the
    // code pointer, which has no spelling of one word.
    if (spelling == "codeptr")
        return BaseType::CodePtr;
    for (const BaseTypeNames& names : Names) {
        if (spelling == names.Spelling)
            return names.Type;
    }
    return std::nullopt;
}

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
