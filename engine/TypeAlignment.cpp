#include "KestrixEngine.h"

// Not measured yet: the phase runs in the sequence and writes nothing.

void KestrixEngine::TestTypeAlignment(DataType&) {}

