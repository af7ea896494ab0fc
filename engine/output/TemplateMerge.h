// Merge of a hand-written template personality into the generated lines: the template
// replaces lines by key, adds lines and removes exact lines.
#pragma once

#include <string>
#include <vector>

// Two personality lines set the same option: equal once blanks, double quotes and the first
// parenthesised span are removed, up to the first "=".
bool EntriesMatch(const std::string& a, const std::string& b);

// Merges the template file into the lines and lists the keyword define entries that the
// template does not settle, for the user to review.
void IncorporateTemplatePersonality(std::vector<std::string>& lines, const std::string& templatePersonality,
                                    const std::vector<std::string>& keywordDefineEntries);
