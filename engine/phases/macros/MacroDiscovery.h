// Which names harvested from the compiler's headers the compiler predefines as macros, and
// with which values, learnt from what it does with small test sources.
#pragma once

#include <set>
#include <string>

#include "engine/probe/RunContext.h"

// The define entries found (NAME=VALUE, quoted when the value holds a blank, and the
// stringify helper when a value was a string literal). Keywords of the language and names
// given with -xd are not tested.
std::set<std::string> FindPreDefines(const RunContext& context, const std::set<std::string>& identifiers,
                                     const std::set<std::string>& languageKeywords);
