// The keyword list files read from the working directory at the start of a run.
#pragma once

#include <map>
#include <set>
#include <string>

#include "engine/core/Reporter.h"

struct KeywordLists {
    std::map<std::string, std::string> ReplaceKeywords;        // c_ or cpp_replace_keywords.txt
    std::set<std::string> IgnoreKeywords;                      // ignore_keywords.txt
    std::set<std::string> IgnoreReservedWords;                 // ignore_reserved_words.txt
    std::map<std::string, std::string> ZanExtensionKeywords;   // zan_extension_keywords.txt
    std::map<std::string, std::string> BuiltinReplaceKeywords; // builtin_replace_keywords.txt
    std::set<std::string> LanguageKeywords;                    // c_keywords.txt or cpp_keywords.txt
    std::set<std::string> CandidateKeywords;                   // candidate_keywords.txt
    int Missing = 0;                                           // files that could not be read
};

// Loads the seven lists of the product from the directory (empty: the working directory). A
// file that cannot be read is reported with an "Error: Cannot open" line and stays empty.
KeywordLists LoadKeywordLists(bool isC, Reporter& report, const std::string& directory = {});
