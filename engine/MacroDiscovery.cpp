#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::FindPreDefines(std::ostream&) {}

std::string KestrixEngine::PrintPossibleDefines(const std::string&) const { return {}; }

void KestrixEngine::TidyAndAddDefine(std::string&, const std::string&) {}

