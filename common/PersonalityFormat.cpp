#include "common/PersonalityFormat.h"

#include <stdexcept>

namespace kxcommon {

namespace {

constexpr std::array<std::pair<LineKind, const char*>, LineKindCount> kOptions{{
    {LineKind::IncludeDir, "-i"},
    {LineKind::CppIncludeDir, "-si"},
    {LineKind::SystemDir, "-q"},
    {LineKind::CDefine, "-d"},
    {LineKind::CppDefine, "-sd"},
    {LineKind::Size, "-s"},
    {LineKind::Align, "-a"},
    {LineKind::CharUnsigned, "-u+"},
    {LineKind::CharSigned, "-u-"},
    {LineKind::IntrinsicType, "-it"},
    {LineKind::ExternalLength, "-xn"},
    {LineKind::LocalLength, "-na"},
    {LineKind::Extension, "-ex"},
    {LineKind::ForceInclude, "-fi"},
}};

struct BaseTypeNames {
    BaseType Type;
    const char* Personality;
    const char* Test;
    const char* Source;
    const char* Description;
};

constexpr std::array<BaseTypeNames, BaseTypeCount> kBaseTypes{{
    {BaseType::Char, "char", "char", "char", "char"},
    {BaseType::Int, "int", "int", "int", "int"},
    {BaseType::Short, "short", "short", "short", "short"},
    {BaseType::Long, "long", "long", "long", "long"},
    {BaseType::LongLong, "longlong", "long long", "long long", "long long"},
    {BaseType::Float, "float", "float", "float", "float"},
    {BaseType::Double, "double", "double", "double", "double"},
    {BaseType::LongDouble, "ldouble", "long double", "long double", "long double"},
    {BaseType::DataPtr, "dataptr", "int*", "int*", "data pointer"},
    {BaseType::CodePtr, "codeptr", "codeptr", "void(*)(void)", "code pointer"},
}};

const BaseTypeNames& NamesOf(BaseType type) { return kBaseTypes[static_cast<std::size_t>(type)]; }

}  // namespace

const char* OptionOf(LineKind kind)
{
    for (const auto& [k, option] : kOptions)
        if (k == kind)
            return option;
    throw std::logic_error("a personality line kind without an option word");
}

std::optional<LineKind> LineKindOf(std::string_view option)
{
    for (const auto& [kind, word] : kOptions)
        if (option == word)
            return kind;
    return std::nullopt;
}

std::string FormatLine(LineKind kind, const std::string& value)
{
    return value.empty() ? std::string(OptionOf(kind)) : OptionOf(kind) + (" " + value);
}

std::string QuotePath(const std::string& path)
{
    std::string quoted = "\"";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '"') {
            quoted += "\\\"";
        } else if (c == '\\') {
            // Only a backslash that a reader would take for the start of an escape is doubled,
            // so that ordinary paths read as they always did.
            const bool escapeLike = i + 1 == path.size() || path[i + 1] == '"' || path[i + 1] == '\\';
            quoted += escapeLike ? "\\\\" : "\\";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string UnquotePath(const std::string& value)
{
    if (value.empty() || value.front() != '"') {
        if (value.find('"') != std::string::npos)
            throw std::invalid_argument("a path with a double quote must be enclosed in double quotes.");
        return value;
    }
    std::string path;
    std::size_t i = 1;
    for (; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == '"' || value[i + 1] == '\\'))
            ++i;
        path += value[i];
    }
    if (i == value.size())
        throw std::invalid_argument("the opening double quote has no closing one.");
    if (value.find_first_not_of(' ', i + 1) != std::string::npos)
        throw std::invalid_argument("text follows the closing double quote.");
    return path;
}

std::string QuoteText(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string InsideQuotes(const std::string& value, bool& quoted)
{
    quoted = !value.empty() && value.front() == '"';
    if (!quoted)
        return value;
    const std::size_t last = value.rfind('"');
    if (last == 0)
        throw std::invalid_argument("the opening double quote has no closing one.");
    if (value.find_first_not_of(' ', last + 1) != std::string::npos)
        throw std::invalid_argument("text follows the closing double quote.");
    return value.substr(1, last - 1);
}

const char* PersonalityName(BaseType type) { return NamesOf(type).Personality; }
const char* TestSpelling(BaseType type) { return NamesOf(type).Test; }
const char* SourceSpelling(BaseType type) { return NamesOf(type).Source; }
const char* Description(BaseType type) { return NamesOf(type).Description; }

std::optional<BaseType> BaseTypeFromPersonalityName(const std::string& name)
{
    for (const BaseTypeNames& names : kBaseTypes)
        if (name == names.Personality)
            return names.Type;
    return std::nullopt;
}

std::optional<BaseType> BaseTypeFromSpelling(const std::string& spelling)
{
    for (const BaseTypeNames& names : kBaseTypes)
        if (spelling == names.Test || spelling == names.Source)
            return names.Type;
    return std::nullopt;
}

}  // namespace kxcommon
