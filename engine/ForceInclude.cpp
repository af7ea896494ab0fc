#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::CreateAndCopyAllFiles(const std::string&, const std::string&, std::ostream&) {}

void KestrixEngine::CopyCreateForceIncludeFile(const std::string&, const std::string&, std::ostream&) {}

