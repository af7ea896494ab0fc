#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::ConductBaseTypeTests(std::ostream&) {}

void KestrixEngine::ConductIntrinsicTypeTests(std::ostream&) {}

void KestrixEngine::ConductKWTypeTests(const std::set<std::string>&, std::ostream&) {}

