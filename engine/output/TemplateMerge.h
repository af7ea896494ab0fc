// Merge of a hand-written template personality into the generated lines: the template
// replaces lines by key, adds lines and removes exact lines.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Reporter.h"

// The entries of a template, per kind of section, in file order.
struct TemplateSections {
    std::vector<std::string> Modify;
    std::vector<std::string> Add;
    std::vector<std::string> Remove;
    // Faults of the section syntax, one sentence each naming the line. The entries of a
    // section that is not closed properly are left out, and no line that holds a section
    // tag is ever taken as an entry.
    std::vector<std::string> Problems;
};

// Reads the sections of a template's lines.
TemplateSections ReadTemplateSections(const std::vector<std::string>& lines);

// Two personality lines set the same option: equal once blanks, double quotes and the first
// parenthesised span are removed, up to the first "=".
bool EntriesMatch(const std::string& a, const std::string& b);

// Merges the sections into the lines: modify entries replace the first line of their key
// (or are added), remove entries delete the first line equal to them, add entries are
// appended unless the same line is there. Returns the keyword define entries that the
// template does not settle, for the user to review.
std::vector<std::string> MergeTemplateSections(std::vector<std::string>& lines, const TemplateSections& sections,
                                               const std::vector<std::string>& keywordDefineEntries);

// Merges the template file into the lines and lists the keyword define entries that the
// template does not settle, for the user to review. Throws RunFailure when the template cannot
// be read or its sections are broken (the merge then leaves out what it cannot place).
void IncorporateTemplatePersonality(std::vector<std::string>& lines, const std::string& templatePersonality,
                                    const std::vector<std::string>& keywordDefineEntries, Reporter& report);
