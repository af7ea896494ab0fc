#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::ConductKWTests(std::ostream&, bool) {}

bool KestrixEngine::ConductTest(const std::string&, const std::string&, std::string&) { return false; }

bool KestrixEngine::ScanTestDir(const std::string&, std::set<std::string>&) { return false; }

std::string KestrixEngine::TestPublicProtectedPrivate(const std::string&) { return {}; }

