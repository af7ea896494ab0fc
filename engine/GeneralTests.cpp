#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::ConductZanTests(std::ostream&) {}

void KestrixEngine::ConductIdentTest(std::ostream&, bool) {}

bool KestrixEngine::RunIdentTest(std::ostream&, const std::string&, std::ofstream&, bool, int) { return false; }

