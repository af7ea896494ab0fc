// Sentences for the facts of a personality that an exported file can only report, one fact
// each, so that a format that cannot express a fact lists it instead of dropping it.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "export/PersonalityFacts.h"

namespace kxexport {

// Sizes and alignments of the base types, plain char and the standard typedefs.
std::vector<std::string> TypeNotes(const Personality& personality);
// Significant identifier lengths, the general test suite's results (except those in
// expressed), the extension keywords the analyser is to know, and the type keywords that
// only a stand-in can spell.
std::vector<std::string> LanguageNotes(const Personality& personality, const std::set<std::string>& expressed = {});
// "-q" directories that are not include directories as well.
std::vector<std::string> SystemDirNotes(const Personality& personality);
// The include directories, in their order.
std::vector<std::string> IncludeDirNotes(const Personality& personality);

// Text made safe to stand inside a C comment.
std::string InCComment(std::string text);

// Notes joined as comment lines: each starts with prefix and is wrapped before width.
std::string CommentLines(const std::vector<std::string>& notes, const std::string& prefix, std::size_t width = 96);

}  // namespace kxexport
