#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::FindExtensionKeywords() {}

std::string KestrixEngine::PrintKeywords(const std::string&) const { return {}; }

void KestrixEngine::RemoveAlreadyHandledKWsInFInc() {}

