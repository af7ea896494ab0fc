// Which of the candidate names the compiler predefines as macros.
#pragma once

#include <string>
#include <vector>

#include "engine/probe/RunContext.h"

// The existence test of one candidate: a defined name makes the compiler look for a header
// that does not exist.
std::string PrintPossibleDefines(const std::string& name);

// The candidates (in their order) that the compiler defines: those whose existence test
// makes it take the #include of the missing header (named in its complaint, or the only
// thing it rejects).
std::vector<std::string> FindDefinedNames(const RunContext& context, std::vector<std::string> candidates);
