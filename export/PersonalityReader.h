// Reads a personality file into its facts. A line that cannot be read stops the reading
// with an ExportError that names the file, the line number and the reason.
#pragma once

#include <string>

#include "common/PersonalityFormat.h"
#include "export/PersonalityFacts.h"

namespace kxexport {

Personality ReadPersonality(const std::string& path);

// The same for text already in memory; path only names the file in messages and gives the
// personality its name.
Personality ParsePersonality(const std::string& text, const std::string& path);

// A quoted path of a line read back, by the format's rule.
using kxcommon::UnquotePath;

}  // namespace kxexport
