// The names that the compiler reserves although the language does not: a name that cannot
// be declared as an ordinary array is a word the compiler gives a meaning of its own.
#pragma once

#include <set>
#include <string>

#include "engine/probe/RunContext.h"

// The candidates (harvested identifiers, the language's keywords taken out) that the
// compiler rejects as names; those the user's force-include file handles are left out.
std::set<std::string> FindExtensionKeywords(const RunContext& context, const std::set<std::string>& identifiers,
                                            const std::set<std::string>& languageKeywords);

// The test text of one candidate.
std::string PrintKeywords(const std::string& candidate);

// Removes the keywords that the force-include file lists as handled: the identifiers between
// an "Any other items" line and the next "#else".
void RemoveAlreadyHandledKWsInFInc(const std::string& forceIncludeFile, std::set<std::string>& keywords);
