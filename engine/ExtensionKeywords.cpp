// Finds the names that the compiler reserves although the language does not: a name that
// cannot be declared as an ordinary array is a word the compiler gives a meaning of its own.
#include "KestrixEngine.h"

#include "BatchHalving.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <fstream>

namespace {

const std::string kExtTest = "exttest";
// The line of a force-include template after which the user lists what the file handles,
// and the line that ends that list.
const std::string kSectionStart = "Any other items";
const std::string kSectionEnd = "#else";

bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Adds every identifier of the line to the set.
void CollectIdentifiers(const std::string& line, std::set<std::string>& identifiers)
{
    for (std::size_t i = 0; i < line.size();) {
        if (!IsIdentifierChar(line[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && IsIdentifierChar(line[end]))
            ++end;
        identifiers.insert(line.substr(i, end - i));
        i = end;
    }
}

}  // namespace

std::string KestrixEngine::PrintKeywords(const std::string& candidate) const
{
    // The guard skips names the compiler predefines as macros: their declaration would
    // test the expansion, not the name.
    return S_IFNDEF + candidate + "\n" + "int " + candidate + "[1];\n" + S_ENDIF + "\n";
}

void KestrixEngine::FindExtensionKeywords()
{
    Say("Scanning for compiler extension keywords ...");

    // Both sets are ordered, so their union comes out ordered and without duplicates; a
    // merged vector spares a third set of half a million names on large header trees.
    const std::set<std::string>& keywords = IsC ? CKeywords : CppKeywords;
    std::vector<std::string> candidates;
    std::set_union(PossibleDefines.begin(), PossibleDefines.end(), PossibleKeywords.begin(),
                   PossibleKeywords.end(), std::back_inserter(candidates));
    std::erase_if(candidates, [&](const std::string& name) { return keywords.count(name) != 0; });

    const std::string source = kExtTest + SourceExt();
    const std::string object = kExtTest + S_OBJEXT;
    const std::vector<std::string> rejected = HalvingBatches(
        std::move(candidates), ReduceFileSize ? kReducedBatchSize : kFullBatchSize, "keywords",
        [&](const std::vector<std::string>& batch) {
            std::string text;
            for (const std::string& name : batch)
                text += PrintKeywords(name);
            if (!WriteWholeFile(source, text))
                return false;
            std::remove(object.c_str());
            SystemUsingBatchFile(GetCompleteCommandStr(source, false, ""));
            if (std::ifstream(object).is_open() || PassMarkerExists()) {
                std::remove(object.c_str());
                return false;
            }
            // A redefinition means a name of the batch is already declared: an ordinary
            // identifier, not a keyword. Only a single name can be given up for it; a larger
            // batch may hold real keywords beside the redeclared name (compilers that
            // predeclare their built-in functions report one in nearly every batch), so it
            // is split further like any failing batch.
            return batch.size() > 1 || ReadStdoutAndStderr().find("redefinition") == std::string::npos;
        });

    std::remove(S_STDOUT_LOG.c_str());
    std::remove(S_STDERR_LOG.c_str());
    ExtensionKeywords.insert(rejected.begin(), rejected.end());
    RemoveAlreadyHandledKWsInFInc();
}

void KestrixEngine::RemoveAlreadyHandledKWsInFInc()
{
    if (ForceIncludeFile.empty())
        return;
    std::ifstream in(ForceIncludeFile);
    if (!in.is_open())
        return;

    // The sections of the user's force-include template between an "Any other items" line
    // and the next "#else" list what the file defines already. A keyword counts as handled
    // when it stands there as a whole identifier: a longer name that merely contains it, or
    // two lines that happen to spell it across their join, handle nothing.
    std::set<std::string> handled;
    std::string line;
    while (std::getline(in, line)) {
        if (line.find(kSectionStart) == std::string::npos)
            continue;
        while (std::getline(in, line) && line.find(kSectionEnd) == std::string::npos)
            CollectIdentifiers(line, handled);
    }
    for (const std::string& name : handled)
        ExtensionKeywords.erase(name);
}
