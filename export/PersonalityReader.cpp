#include "export/PersonalityReader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "export/ExportError.h"
#include "export/MacroText.h"

namespace kxexport {

namespace {

// Calls each(line, number) for every line of text, a carriage return before its end dropped.
template <class Each>
void ForEachLine(const std::string& text, Each each)
{
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        each(line, ++number);
    }
}

using Reason = std::invalid_argument;
using kxcommon::InsideQuotes;
using kxcommon::LineKind;

int PositiveNumber(const std::string& text, int largest, const std::string& what)
{
    const bool digits = !text.empty() && text.size() <= 9
                        && text.find_first_not_of("0123456789") == std::string::npos;
    const int number = digits ? std::stoi(text) : 0;
    if (number < 1 || number > largest)
        throw Reason(what + " must be a whole number from 1 to " + std::to_string(largest) + ", not \""
                     + text + "\".");
    return number;
}

// "NAME=VALUE" split at the first "=".
std::pair<std::string, std::string> SplitAssignment(const std::string& text, const std::string& what)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        throw Reason("the line must have the form " + what + ".");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

Define ParseDefineText(const std::string& text)
{
    Define define;
    const std::string inner = InsideQuotes(text, define.Quoted);
    std::size_t i = inner.find_first_of("(=");
    if (i == std::string::npos)
        i = inner.size();
    if (!IsIdentifier(inner.substr(0, i)))
        throw Reason("a define must be a macro name, with its parameters if it has any, then \"=\" and the value.");
    define.Name = inner.substr(0, i);
    if (i < inner.size() && inner[i] == '(') {
        const std::size_t close = inner.find(')', i);
        if (close == std::string::npos)
            throw Reason("the parameter list of " + define.Name + " is not closed.");
        define.Parameters = inner.substr(i, close - i + 1);
        i = close + 1;
    }
    if (i < inner.size()) {
        if (inner[i] != '=')
            throw Reason("the macro name " + define.Name + " must be followed by \"=\" and its value.");
        define.HasValue = true;
        define.Value = inner.substr(i + 1);
    }
    return define;
}

// "char, int, ... or codeptr", for the message that names them.
std::string BaseTypeNames()
{
    std::string names;
    for (std::size_t i = 0; i < BaseTypeCount; ++i)
        names += std::string(i == 0 ? "" : i + 1 == BaseTypeCount ? " or " : ", ") + PersonalityName(kxcommon::AllBaseTypes[i]);
    return names;
}

// What a define line after the macro section says about its keyword.
DefineKind KeywordKind(const Define& define)
{
    const std::string& value = define.Value;
    if (define.Name.find("_builtin_") != std::string::npos)
        return DefineKind::Builtin;
    if (define.FunctionLike())
        return DefineKind::Replace;
    if (value == "_ignore_paren")
        return DefineKind::IgnoreParen;
    if (value.empty())
        return DefineKind::Drop;
    if (!define.Quoted)
        return DefineKind::Replace;
    if (value == "asm")
        return DefineKind::Asm;
    const std::string base =
        value.rfind(kxcommon::UnsignedPrefix, 0) == 0 ? value.substr(kxcommon::UnsignedPrefix.size()) : value;
    if (BaseTypeFromSpelling(base))
        return DefineKind::Type;
    return IsIdentifier(value) ? DefineKind::Alias : DefineKind::Replace;
}

class Reader {
public:
    explicit Reader(const std::string& path)
    {
        Facts.Path = path;
        Facts.Name = std::filesystem::path(path).stem().string();
    }

    void Line(const std::string& line, int number)
    {
        const std::size_t blank = line.find(' ');
        const std::string option = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (const std::optional<LineKind> kind = kxcommon::LineKindOf(option)) {
            Read(*kind, value, number);
            return;
        }
        // The general test suite writes its own option words; they all start like options.
        if (line.size() < 2 || line[0] != '-' || line[1] == ' ')
            throw Reason("it is not a personality line: every line starts with an option such as -i, -d or -s.");
        Facts.GeneralResults.push_back(line);
        PastMacros = true;
    }

    Personality Facts;

private:
    void Read(LineKind kind, const std::string& value, int number)
    {
        switch (kind) {
        case LineKind::IncludeDir: return Include(value, number);
        case LineKind::CppIncludeDir: return CppInclude(value, number);
        case LineKind::SystemDir: return System(value, number);
        case LineKind::CDefine: return CDefine(value, number);
        case LineKind::CppDefine: return CppDefine(value, number);
        case LineKind::Size: return Size(value, number);
        case LineKind::Align: return Align(value, number);
        case LineKind::CharUnsigned: return Unsigned(value, number);
        case LineKind::CharSigned: return Signed(value, number);
        case LineKind::IntrinsicType: return Intrinsic(value, number);
        case LineKind::ExternalLength: return External(value, number);
        case LineKind::LocalLength: return Local(value, number);
        case LineKind::Extension: return Extension(value, number);
        case LineKind::ForceInclude: return Force(value, number);
        }
    }

    void Include(const std::string& value, int) { Facts.IncludeDirs.push_back(Path(value)); }
    void CppInclude(const std::string& value, int number)
    {
        Product(true, kxcommon::OptionOf(LineKind::CppIncludeDir), number);
        Facts.IncludeDirs.push_back(Path(value));
    }
    void System(const std::string& value, int) { Facts.SystemDirs.push_back(Path(value)); }
    void Force(const std::string& value, int) { Facts.ForceIncludes.push_back(Path(value)); }
    void CDefine(const std::string& value, int number) { AddDefine(false, kxcommon::OptionOf(LineKind::CDefine), value, number); }
    void CppDefine(const std::string& value, int number) { AddDefine(true, kxcommon::OptionOf(LineKind::CppDefine), value, number); }

    void AddDefine(bool cpp, const std::string& option, const std::string& text, int number)
    {
        Product(cpp, option, number);
        Define define = ParseDefineText(text);
        if (define.Name == StringHelperName)
            define.Kind = DefineKind::Helper;
        else
            define.Kind = PastMacros ? KeywordKind(define) : DefineKind::Macro;
        Facts.Defines.push_back(define);
    }

    void Size(const std::string& value, int)
    {
        const auto [name, bits] = SplitAssignment(value, "-s TYPE=BITS");
        Layout(name).SizeBits = PositiveNumber(bits, 4096, "the size of " + name + " in bits");
    }
    void Align(const std::string& value, int)
    {
        const auto [name, bytes] = SplitAssignment(value, "-a TYPE=BYTES");
        Layout(name).AlignBytes = PositiveNumber(bytes, 512, "the alignment of " + name + " in bytes");
    }
    TypeLayout& Layout(const std::string& name)
    {
        PastMacros = true;
        const std::optional<BaseType> type = BaseTypeFromPersonalityName(name);
        if (!type)
            throw Reason("\"" + name + "\" is not a base type (" + BaseTypeNames() + ").");
        return Facts.Types[static_cast<std::size_t>(*type)];
    }

    void Unsigned(const std::string& value, int number) { CharSign(true, value, number); }
    void Signed(const std::string& value, int number) { CharSign(false, value, number); }
    void CharSign(bool isUnsigned, const std::string& value, int number)
    {
        if (!value.empty())
            throw Reason("the signedness of plain char takes no value.");
        Product(false, kxcommon::OptionOf(isUnsigned ? LineKind::CharUnsigned : LineKind::CharSigned), number);
        Facts.CharUnsigned = isUnsigned;
        PastMacros = true;
    }

    void Intrinsic(const std::string& value, int)
    {
        bool quoted = false;
        const auto [name, type] = SplitAssignment(InsideQuotes(value, quoted), "-it \"T=[unsigned ]BASE\"");
        if (!IsIdentifier(name))
            throw Reason("\"" + name + "\" is not a type name.");
        IntrinsicType intrinsic{name, type.rfind(kxcommon::UnsignedPrefix, 0) == 0, BaseType::Int};
        const std::string base = intrinsic.Unsigned ? type.substr(kxcommon::UnsignedPrefix.size()) : type;
        const std::optional<BaseType> baseType = BaseTypeFromPersonalityName(base);
        if (!baseType)
            throw Reason("\"" + base + "\" is not a base type of the personality.");
        intrinsic.Base = *baseType;
        Facts.Intrinsics.push_back(intrinsic);
        PastMacros = true;
    }

    void External(const std::string& value, int)
    {
        Facts.ExternalIdentifierLength = PositiveNumber(value, 1 << 20, "the significant length of external identifiers");
        PastMacros = true;
    }
    void Local(const std::string& value, int)
    {
        Facts.LocalIdentifierLength = PositiveNumber(value, 1 << 20, "the significant length of local identifiers");
        PastMacros = true;
    }
    void Extension(const std::string& value, int)
    {
        if (value.empty())
            throw Reason("an extension keyword line needs the keyword.");
        Facts.Extensions.push_back(value);
        PastMacros = true;
    }

    static std::string Path(const std::string& value)
    {
        std::string path = UnquotePath(value);
        if (path.empty())
            throw Reason("the path is empty.");
        return path;
    }

    // A personality is written for one analyser: C lines and C++ lines do not mix.
    void Product(bool cpp, const std::string& option, int number)
    {
        if (ProductLine != 0 && Facts.IsCpp != cpp)
            throw Reason("a " + option + " line is for the " + (cpp ? "C++" : "C") + " analyser, but line "
                         + std::to_string(ProductLine) + " is for the " + (cpp ? "C" : "C++") + " analyser.");
        Facts.IsCpp = cpp;
        if (ProductLine == 0)
            ProductLine = number;
    }

    // The macros come before the first type line; later defines are keyword treatments.
    bool PastMacros = false;
    int ProductLine = 0;
};

}  // namespace

Personality ParsePersonality(const std::string& text, const std::string& path)
{
    Reader reader(path);
    ForEachLine(text, [&](const std::string& line, int number) {
        // A template merge may add an empty line; it says nothing.
        if (line.find_first_not_of(" \t") == std::string::npos)
            return;
        try {
            reader.Line(line, number);
        } catch (const Reason& reason) {
            throw ExportError("Line " + std::to_string(number) + " of the personality " + path + " cannot be read (\""
                              + line + "\"): " + reason.what());
        }
    });
    return reader.Facts;
}

Personality ReadPersonality(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw ExportError("The personality " + path + " is a directory, not a file.");
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        throw ExportError("Cannot open the personality " + path + ": " + std::strerror(errno) + ".");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw ExportError("Cannot read the personality " + path + ": " + std::strerror(errno) + ".");
    Personality facts = ParsePersonality(text.str(), path);
    const std::string companion = CompanionPath(path);
    std::ifstream companionIn(companion, std::ios::binary);
    if (companionIn.is_open()) {
        std::ostringstream companionText;
        companionText << companionIn.rdbuf();
        if (companionIn.bad())
            throw ExportError("Cannot read the companion file " + companion + ": " + std::strerror(errno) + ".");
        ParseCompanion(companionText.str(), companion, facts);
    }
    return facts;
}

std::string CompanionPath(const std::string& personalityPath)
{
    std::filesystem::path path(personalityPath);
    return (path.parent_path() / (path.stem().string() + ".facts")).string();
}

void ParseCompanion(const std::string& text, const std::string& path, Personality& facts)
{
    ForEachLine(text, [&](const std::string& line, int number) {
        if (line.empty())
            return;
        if (line == "byte-order little")
            facts.Order = ByteOrder::Little;
        else if (line == "byte-order big")
            facts.Order = ByteOrder::Big;
        else
            throw ExportError("Line " + std::to_string(number) + " of the companion file " + path + " cannot be read (\""
                              + line + "\"): the only line it may hold is \"byte-order little\" or \"byte-order big\".");
    });
}

}  // namespace kxexport
