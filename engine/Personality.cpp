#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::IncorporateTemplatePersonality(const std::string&, const std::string&) {}

bool KestrixEngine::EntriesMatch(const std::string&, const std::string&) const { return false; }

