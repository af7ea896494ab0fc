// What a personality says about its compiler, as the exporters need it: every line kind
// of a personality file turned into plain values.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/PersonalityFormat.h"

namespace kxexport {

// The base types and their names are the personality format's, shared with the engine.
using kxcommon::BaseType;
using kxcommon::BaseTypeCount;
using kxcommon::BaseTypeFromPersonalityName;
using kxcommon::BaseTypeFromSpelling;
using kxcommon::Description;
using kxcommon::PersonalityName;
using kxcommon::SourceSpelling;

// Size and alignment of one base type; 0 where the personality has no line for it.
struct TypeLayout {
    int SizeBits = 0;
    int AlignBytes = 0;
};

// How a define line of the personality is to be read.
enum class DefineKind {
    Macro,        // a predefined macro of the compiler (or a "-xd" entry)
    Alias,        // a keyword that is a spelling of the standard keyword in Value
    Drop,         // a keyword the analyser leaves out
    IgnoreParen,  // a keyword dropped together with the parenthesised group after it
    Asm,          // a keyword that introduces inline assembler
    Type,         // a type keyword mapped onto the base type in Value
    Replace,      // a keyword replaced by the text in Value (no test classified it)
    Builtin,      // a compiler built-in replaced by the definition (maybe function-like)
    Helper,       // the analyser's own helper macro for string literals
};

struct Define {
    std::string Name;
    std::string Parameters;  // "(t,m)" for a function-like define, empty otherwise
    bool HasValue = false;   // NAME=VALUE rather than NAME alone (which means 1)
    std::string Value;       // as written in the personality
    bool Quoted = false;
    DefineKind Kind = DefineKind::Macro;

    bool FunctionLike() const { return !Parameters.empty(); }
    // A keyword that a keyword test of the engine classified: the check source uses it.
    bool Classified() const;
    // The value with the string helper's uses turned back into string literals.
    std::string ResolvedValue() const;
};

// A standard typedef ("-it" line): size_t, ptrdiff_t or wchar_t as a base type.
struct IntrinsicType {
    std::string Name;
    bool Unsigned = false;
    BaseType Base = BaseType::Int;
};

enum class ByteOrder { Unknown, Little, Big };

struct Personality {
    std::string Path;
    std::string Name;       // the file name without its extension: names the exported files
    bool IsCpp = false;     // written for the C++ analyser ("-sd", "-si")
    std::vector<std::string> IncludeDirs;  // "-i"/"-si", in search order
    std::vector<std::string> SystemDirs;   // "-q"
    std::vector<Define> Defines;           // in file order
    std::array<TypeLayout, BaseTypeCount> Types{};
    std::optional<bool> CharUnsigned;      // "-u+" / "-u-"
    std::vector<IntrinsicType> Intrinsics;
    std::optional<int> ExternalIdentifierLength;  // "-xn"
    std::optional<int> LocalIdentifierLength;     // "-na"
    std::vector<std::string> Extensions;          // "-ex" values
    std::vector<std::string> ForceIncludes;       // "-fi"
    std::vector<std::string> GeneralResults;      // lines of the general test suite
    // From the companion file NAME.facts beside the personality (facts that have no
    // personality line: the analyser reads the personality alone).
    ByteOrder Order = ByteOrder::Unknown;
    // The folder the exported files go to, absolute: a file that names another (cppcheck's
    // project file) names it by this path, as the tool resolves it against its own working
    // directory.
    std::string ExportDir;

    const TypeLayout& Layout(BaseType type) const { return Types[static_cast<std::size_t>(type)]; }
    const IntrinsicType* Intrinsic(const std::string& name) const;
    const Define* FindDefine(const std::string& name) const;
};

}  // namespace kxexport
