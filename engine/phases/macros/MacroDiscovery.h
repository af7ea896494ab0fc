// Which names harvested from the compiler's headers the compiler predefines as macros, and
// with which values, learnt from what it does with small test sources.
#pragma once

#include <set>
#include <string>

#include "engine/phases/macros/ProgramStrings.h"
#include "engine/probe/RunContext.h"

// The define entries found (NAME=VALUE, quoted when the value holds a blank, and the
// stringify helper when a value was a string literal). The candidates are the identifiers,
// and the names the compiler's programs spell, and then the names completed from the
// macros found (see CandidateNames.h; `moreWords`
// adds words to spell with underscores). Keywords of the language, names given with -xd and
// the preprocessor's own names are not tested. `beyond`, when given, receives the names
// tested beyond the identifiers that are keyword candidates as well.
std::set<std::string> FindPreDefines(const RunContext& context, const std::set<std::string>& identifiers,
                                     const std::set<std::string>& languageKeywords, const ProgramWords& program = {},
                                     const std::set<std::string>& moreWords = {},
                                     std::set<std::string>* beyond = nullptr);
