// Classification of the extension keywords: each keyword is tried against the keyword test
// suite, in which XXX stands for it; the first source that the compiler accepts says how
// the analyser must treat the keyword.
#pragma once

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/phases/keywords/KeywordLists.h"
#include "engine/probe/RunContext.h"
#include "engine/phases/suites/TestSuite.h"

// How the analyser is to take one name: a define (quoted where a test settled the
// treatment), or an extension it knows by name.
struct KeywordTreatment {
    enum Form { Define, QuotedDefine, Extension };
    Form How = Define;
    std::string Text;  // NAME=VALUE, or the extension's name

    bool operator<(const KeywordTreatment& other) const
    {
        return std::tie(How, Text) < std::tie(other.How, other.Text);
    }
};

struct KeywordFindings {
    std::set<KeywordTreatment> Treatments;
    std::set<std::string> TypeKeywords;              // handed to the keyword type tests
    std::set<std::string> ForceIncludeEntries;       // declared by the force-include file
    std::vector<std::string> DroppedKeywords;        // NAME= of keywords defined to nothing, for review
    bool NeedForceInclude = false;
};

KeywordFindings ConductKWTests(const RunContext& context, std::set<std::string> extensionKeywords,
                               const KeywordLists& lists, const std::vector<SuiteTest>& tests);

// "public", "protected" or "private" when a C++ keyword behaves as that access specifier;
// empty otherwise.
std::string TestPublicProtectedPrivate(const RunContext& context, const std::string& keyword);
