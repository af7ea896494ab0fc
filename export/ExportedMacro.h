// How a define line of the personality becomes a macro of the exported files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/PersonalityFacts.h"

namespace kxexport {

struct Macro {
    std::string Head;  // NAME, or NAME(parameters) without blanks
    std::string Body;  // the replacement text
};

// The macro a define stands for: a keyword dropped with its parenthesised group becomes a
// function-like macro of nothing, a define without a value stands for 1. With
// resolveStrings, the uses of the analyser's string helper become string literals and the
// helper itself no macro (nullopt); without, both stay as the personality has them.
std::optional<Macro> ExportedMacro(const Define& define, bool resolveStrings);

// Assembler blocks that run from a keyword to a closing keyword with nothing a C parser
// could take for their end (sdcc's __asm ... __endasm;): no macro can take such a block
// away. Where the personality's compiler has one (its macro is predefined and the opening
// keyword is an asm keyword), the opening keyword becomes "__asm__(" and the closing one
// ")": each block is then one asm statement without its string, which cppcheck drops
// and clang reports as one error, where otherwise every line of assembler is read as C.
std::vector<Macro> VendorBlockMacros(const Personality& personality);
bool IsVendorBlockKeyword(const Personality& personality, const std::string& name);

}  // namespace kxexport
