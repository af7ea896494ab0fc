// Reads a personality file into its facts. A line that cannot be read stops the reading
// with an ExportError that names the file, the line number and the reason.
#pragma once

#include <string>

#include "common/PersonalityFormat.h"
#include "export/PersonalityFacts.h"

namespace kxexport {

// Reads the companion file NAME.facts beside the personality too, where there is one.
Personality ReadPersonality(const std::string& path);

// The path of the companion file of a personality: NAME.facts in its folder.
std::string CompanionPath(const std::string& personalityPath);
// Reads the lines of a companion file into the facts ("byte-order little|big").
void ParseCompanion(const std::string& text, const std::string& path, Personality& facts);

// The same for text already in memory; path only names the file in messages and gives the
// personality its name.
Personality ParsePersonality(const std::string& text, const std::string& path);

// A quoted path of a line read back, by the format's rule.
using kxcommon::UnquotePath;

}  // namespace kxexport
