// Finds the names that the compiler reserves although the language does not: a name that
// cannot be declared as an ordinary array is a word the compiler gives a meaning of its own.
#include "ExtensionKeywords.h"

#include "BatchHalving.h"
#include "Files.h"
#include "Reporter.h"
#include "TextUtilities.h"

#include <vector>

namespace {

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

std::string PrintKeywords(const std::string& candidate)
{
    // The guard skips names the compiler predefines as macros: their declaration would
    // test the expansion, not the name.
    return "#ifndef " + candidate + "\n" + "int " + candidate + "[1];\n#endif\n";
}

std::set<std::string> FindExtensionKeywords(const RunContext& context, const std::set<std::string>& identifiers,
                                            const std::set<std::string>& languageKeywords)
{
    Say("Scanning for compiler extension keywords ...");
    std::vector<std::string> candidates;
    for (const std::string& name : identifiers)
        if (languageKeywords.count(name) == 0)
            candidates.push_back(name);

    const std::vector<std::string> rejected = HalvingBatches(
        context, std::move(candidates), context.Opts.ReduceFileSize ? kReducedBatchSize : kFullBatchSize,
        "keywords", [&](const std::vector<std::string>& batch) {
            std::string text;
            for (const std::string& name : batch)
                text += PrintKeywords(name);
            const CompileResult result = context.Compile(text, "exttest");
            if (result.Accepted())
                return false;
            // A redefinition means a name of the batch is already declared: an ordinary
            // identifier, not a keyword. Only a single name can be given up for it; a larger
            // batch may hold real keywords beside the redeclared name (compilers that
            // predeclare their built-in functions report one in nearly every batch), so it
            // is split further like any failing batch.
            return batch.size() > 1 || result.Output().find("redefinition") == std::string::npos;
        });

    std::set<std::string> keywords(rejected.begin(), rejected.end());
    RemoveAlreadyHandledKWsInFInc(context.Opts.ForceIncludeFile, keywords);
    return keywords;
}

void RemoveAlreadyHandledKWsInFInc(const std::string& forceIncludeFile, std::set<std::string>& keywords)
{
    if (forceIncludeFile.empty())
        return;
    std::string content;
    if (!ReadWholeFile(forceIncludeFile, content))
        return;

    // The sections of the user's force-include template between an "Any other items" line
    // and the next "#else" list what the file defines already. A keyword counts as handled
    // when it stands there as a whole identifier: a longer name that merely contains it, or
    // two lines that happen to spell it across their join, handle nothing.
    std::set<std::string> handled;
    bool inSection = false;
    for (const std::string& line : SplitLines(content)) {
        if (!inSection) {
            inSection = line.find(kSectionStart) != std::string::npos;
            continue;
        }
        if (line.find(kSectionEnd) != std::string::npos) {
            inSection = false;
            continue;
        }
        CollectIdentifiers(line, handled);
    }
    for (const std::string& name : handled)
        keywords.erase(name);
}
