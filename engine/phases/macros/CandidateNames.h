// Candidate names that no file spells whole: a compiler builds many of its macro names
// from parts, a family head with the endings its siblings have (__FLT32_ + HAS_DENORM__),
// a table entry pasted into a pattern ("__%s_FBIT__" with "QQ"), or a word with
// underscores around it (unix, __unix, __unix__). Every one is still probed.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/phases/macros/ProgramStrings.h"

// The programs' patterns whose family some of the names found belong to (they have its
// head and its ending, where these are more than underscores), filled with every table
// entry of the programs: a compiler pastes the entries of a table into the patterns. A
// family spelled in lower case takes the lower-case letters and words of the tables too,
// and a "%d" pattern the numbers the names found hold.
std::set<std::string> FilledTemplates(const ProgramWords& words, const std::vector<std::string>& found);

// The families of the names found: every head (up to an underscore that follows a word)
// that two of them share or the programs keep as a piece, crossed with every ending that two
// of them share; the programs' patterns give heads and endings too, and a capital piece kept
// beside an ending gives that piece with each letter of the programs' letter tables. And
// the words of the programs' tables kept beside the names found, with two underscores
// before and around them and after the lower-case heads the programs keep.
std::set<std::string> FamilyNames(const std::vector<std::string>& found, const ProgramWords& words);

// Every word of the names found and of `moreWords`, as written and in capitals, bare, with
// one or two underscores before it, and with two on both sides; and so the programs' words
// that number what a word found numbers (mc68020 beside mc68000: a compiler spells the
// model it targets from a table of them).
std::set<std::string> SpelledWords(const std::vector<std::string>& found, const std::set<std::string>& moreWords,
                                   const ProgramWords& words = {});

// True for a name of the programs worth probing: a reserved name (two underscores, or one
// and a capital, at its start), the only names a compiler may give a meaning of its own
// without breaking a conforming program (the user's names it predefines, unix beside
// __unix__, are spellings of reserved ones), and not a symbol of the programs' own code
// as the C++ ABI spells it (_Z and a capital or digit).
bool IsProgramCandidate(const std::string& name);

// True for a name no macro can have: the preprocessor's own operators and names, which it
// refuses to define or gives a meaning of its own.
bool IsPreprocessorName(const std::string& name);
