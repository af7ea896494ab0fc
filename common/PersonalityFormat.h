// The personality file's format, for the engine that writes it and the exporter that reads
// it: the kinds of line and their option words, how values are quoted, and the base types
// with their names. A line kind or a quoting rule known to only one of the two would make
// a personality that the other misreads without a word.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kxcommon {

// Every kind of line, in no particular order (the engine decides the order of the lines).
// The lines of the general test suite are not among them: the suite's files spell those.
enum class LineKind {
    IncludeDir,     // -i "DIR"      include directory of the C analyser, or a substitute header directory
    CppIncludeDir,  // -si "DIR"     include directory of the C++ analyser
    SystemDir,      // -q "DIR"      a directory whose headers are the compiler's own
    CDefine,        // -d NAME=VALUE or -d "NAME=VALUE"
    CppDefine,      // -sd ...       the same for the C++ analyser
    Size,           // -s TYPE=BITS
    Align,          // -a TYPE=BYTES
    CharUnsigned,   // -u+           plain char is unsigned
    CharSigned,     // -u-           plain char is signed
    IntrinsicType,  // -it "T=[unsigned ]BASE"
    ExternalLength, // -xn N         significant length of external identifiers
    LocalLength,    // -na N         significant length of other identifiers
    Extension,      // -ex KEYWORD   an extension the analyser knows by name
    ForceInclude,   // -fi "FILE"
};
inline constexpr std::size_t LineKindCount = 14;

const char* OptionOf(LineKind kind);
std::optional<LineKind> LineKindOf(std::string_view option);
// The line: the option word, then the value when there is one.
std::string FormatLine(LineKind kind, const std::string& value = {});
// The define and include-directory kinds of the analyser the personality is written for.
inline LineKind DefineKindFor(bool isC) { return isC ? LineKind::CDefine : LineKind::CppDefine; }
inline LineKind IncludeKindFor(bool isC) { return isC ? LineKind::IncludeDir : LineKind::CppIncludeDir; }

// A path in double quotes: a quote inside it, and a backslash that would be taken for an
// escape, get a backslash before them.
std::string QuotePath(const std::string& path);
// The path inside a quoted value: \" stands for a quote and \\ for a backslash, every other
// backslash is itself; an unquoted value is the path itself. Throws std::invalid_argument
// with the reason when the value is not one path.
std::string UnquotePath(const std::string& value);

// A define's text or a typedef's in double quotes, which mark a keyword's treatment (after
// the macros) and keep the blanks of a value. Nothing inside is escaped: the text ends at
// the last quote of the line.
std::string QuoteText(const std::string& text);
// The text between the first and the last quote, or the whole text when it is not quoted.
// Throws std::invalid_argument when the quotes are not closed or text follows them.
std::string InsideQuotes(const std::string& value, bool& quoted);

// What an unsigned intrinsic type's base starts with ("unsigned int").
inline constexpr std::string_view UnsignedPrefix = "unsigned ";

// The base types of the "-s" and "-a" lines, in the order the engine measures and writes them.
enum class BaseType { Char, Int, Short, Long, LongLong, Float, Double, LongDouble, DataPtr, CodePtr };
inline constexpr std::size_t BaseTypeCount = 10;
inline constexpr std::array<BaseType, BaseTypeCount> AllBaseTypes{
    BaseType::Char,  BaseType::Int,    BaseType::Short,      BaseType::Long,    BaseType::LongLong,
    BaseType::Float, BaseType::Double, BaseType::LongDouble, BaseType::DataPtr, BaseType::CodePtr};

// Its name in "-s", "-a" and "-it" lines ("longlong", "dataptr").
const char* PersonalityName(BaseType type);
// How the engine spells it in tests and in a type keyword's define ("long long", "int*");
// the code pointer, which has no spelling of one word, is "codeptr".
const char* TestSpelling(BaseType type);
// How a source spells it ("long long", "int*"); the code pointer is a pointer to a function
// without parameters.
const char* SourceSpelling(BaseType type);
// How people call it in a sentence ("long double", "data pointer").
const char* Description(BaseType type);
std::optional<BaseType> BaseTypeFromPersonalityName(const std::string& name);
// The base type that a type keyword's define names, by its test or its source spelling.
std::optional<BaseType> BaseTypeFromSpelling(const std::string& spelling);

}  // namespace kxcommon
