// How a define line of the personality becomes a macro of the exported files.
#pragma once

#include <optional>
#include <string>

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

}  // namespace kxexport
