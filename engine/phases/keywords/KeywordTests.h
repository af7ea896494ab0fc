// Classification of the extension keywords: each keyword is tried against the keyword test
// suite, in which XXX stands for it; the first source that the compiler accepts says how
// the analyser must treat the keyword.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/phases/keywords/KeywordLists.h"
#include "engine/output/PersonalityWriter.h"
#include "engine/probe/RunContext.h"
#include "engine/phases/suites/TestSuite.h"

struct KeywordFindings {
    std::set<std::string> Lines;                     // define and -ex lines, written sorted
    std::set<std::string> TypeKeywords;              // handed to the keyword type tests
    std::set<std::string> ForceIncludeEntries;       // declared by the force-include file
    std::vector<std::string> KeywordDefineEntries;   // keywords defined to nothing, for review
    bool NeedForceInclude = false;
};

KeywordFindings ConductKWTests(const RunContext& context, const PersonalityWriter& vocabulary,
                               std::set<std::string> extensionKeywords, const KeywordLists& lists,
                               const std::vector<SuiteTest>& tests);

// "public", "protected" or "private" when a C++ keyword behaves as that access specifier;
// empty otherwise.
std::string TestPublicProtectedPrivate(const RunContext& context, const std::string& keyword);
