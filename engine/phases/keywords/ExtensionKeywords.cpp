// Finds the names that the compiler reserves although the language does not: a name that
// cannot be declared as an ordinary array is a word the compiler gives a meaning of its own.
#include "engine/phases/keywords/ExtensionKeywords.h"

#include "engine/phases/batch/BatchHalving.h"
#include "engine/phases/macros/CandidateNames.h"
#include "engine/core/Files.h"
#include "engine/phases/batch/JointCompile.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

#include <algorithm>
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

const std::string kTag = "keywords";
const std::string kRedefinition = "redefinition";
// The last line of a joint source: a declaration the keyword test itself repeats, so harmless.
const std::string kTrailer = "extern int kx_predefined;\n";

std::string KeywordTestSource(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += PrintKeywords(name);
    return text;
}

// One batch of the halving: true when the compiler rejects it, so that it may hold a
// keyword.
bool MayHoldKeyword(const RunContext& context, const std::vector<std::string>& batch, ReadLength& read)
{
    const std::string source = KeywordTestSource(batch);
    const CompileResult result = context.Compile(source, "exttest");
    if (result.Accepted()) {
        // An accepted batch whose end the compiler did not read is split further.
        return batch.size() > 1 && !ReadToItsEnd(source, read, [&](const std::string& controlled) {
                   return context.Compile(controlled, "exttest").Accepted();
               });
    }
    // A redefinition means a name of the batch is already declared: an ordinary identifier,
    // not a keyword. Only a single name can be given up for it; a larger batch may hold real
    // keywords beside the redeclared name (compilers that predeclare their built-in functions
    // report one in nearly every batch), so it is split further like any failing batch.
    return batch.size() > 1 || result.Output().find(kRedefinition) == std::string::npos;
}

// The names the halving would keep, mostly read from the lines the compiler's messages
// name. Every batch of a level is judged from a few compiles of the halving's own test
// source (see JudgeTogether); a rejected name is a keyword as long as no message about it,
// or about no name at all, speaks of a redefinition (which the halving decides from the
// name's own compile). The names a batch leaves undecided are judged so again in batches of
// half the size: a name that makes the compiler lose its way (one that opens a block of
// assembly, which then swallows the rest of the source) spoils only the ever smaller batch
// it stands in, and the other names are still judged from the lines.
std::vector<std::string> RejectedByJointCompiles(const RunContext& context, std::vector<std::string> candidates,
                                                 std::size_t batchSize, ReadLength& read)
{
    auto mayHoldKeyword = [&](const std::vector<std::string>& batch) { return MayHoldKeyword(context, batch, read); };
    std::vector<std::string> keywords;
    std::vector<std::string> suspects;
    // Once the lines a compiler names have misled, the plain halving costs less than more
    // joint compiles.
    bool misled = false;
    for (std::size_t level = FirstLevel(candidates.size(), batchSize); !candidates.empty();
         level = FirstLevel(candidates.size(), level / 2)) {
        if (level < 2 || misled) {
            for (std::string& name : HalvingBatches(context, std::move(candidates), level, kTag, mayHoldKeyword))
                keywords.push_back(std::move(name));
            break;
        }
        const std::vector<std::vector<std::string>> batches = CutIntoBatches(candidates, level);
        context.Report.Say("  [" + kTag + "] batches of " + std::to_string(level) + ": " + std::to_string(candidates.size()) +
            " names, " + std::to_string(batches.size()) + " judged from the lines the compiler names");

        std::size_t found = 0;
        std::size_t suspected = 0;
        std::vector<std::string> undecided;
        context.ForEach(
            batches.size(),
            [&](std::size_t b) {
                const std::vector<std::string>& batch = batches[b];
                return JudgeTogether(
                    batch.size(),
                    [&](const std::vector<std::size_t>& order, bool separated) {
                        BatchSource source(std::string("exttest") + context.Opts.SourceExt());
                        for (std::size_t item : order) {
                            source.AddItem(item, PrintKeywords(batch[item]));
                            if (separated)
                                source.AddShared(BatchSeparator(item));
                        }
                        // A compiler that reaches the end of the source inside something a
                        // name opened says so at the last line it read: that must be no
                        // name's line, or the last name would be taken for the culprit.
                        source.AddShared(kTrailer);
                        return source;
                    },
                    [&](const BatchSource& source) { return context.CompileFile(source.Text(), source.FileName()); },
                    &read, LoneRejections::GoOn);
            },
            [&](std::size_t b, const JointVerdicts& joint) {
                misled = misled || joint.Misled;
                const bool redefinitionElsewhere = joint.SaidElsewhere.find(kRedefinition) != std::string::npos;
                for (std::size_t i = 0; i < batches[b].size(); ++i) {
                    const std::string& name = batches[b][i];
                    switch (joint.Verdicts[i]) {
                    case Judgement::Accepted:
                        break;
                    case Judgement::Rejected:
                        // A redefinition said at the name's own line is the name's own: an
                        // ordinary identifier the compiler predeclares (clang's builtins), as
                        // its own compile would show, so it costs none.
                        if (!redefinitionElsewhere && joint.Said[i].find(kRedefinition) != std::string::npos)
                            break;
                        if (!redefinitionElsewhere) {
                            keywords.push_back(name);
                            ++found;
                        } else {
                            suspects.push_back(name);
                            ++suspected;
                        }
                        break;
                    case Judgement::Suspect:
                        suspects.push_back(name);
                        ++suspected;
                        break;
                    case Judgement::Undecided:
                        undecided.push_back(name);
                        break;
                    }
                }
            });
        context.Report.Say("  [" + kTag + "] " + std::to_string(found) + " keywords found; " + std::to_string(suspected) +
            " names to test one by one, " + std::to_string(undecided.size()) +
            (misled ? " to halve" : " to judge in smaller batches"));
        candidates = std::move(undecided);
    }

    // A suspect was rejected in a batch already: the halving would test it on its own in the
    // end, and that is all it needs.
    for (std::string& name : HalvingBatches(context, std::move(suspects), 1, kTag, mayHoldKeyword))
        keywords.push_back(std::move(name));
    std::sort(keywords.begin(), keywords.end());
    return keywords;
}

}  // namespace

std::string PrintKeywords(const std::string& candidate)
{
    // The guard skips names the compiler predefines as macros: their declaration would
    // test the expansion, not the name. The other branch keeps a source of macros alone
    // from being empty, which pedantic compilers warn about (and -Werror rejects); a
    // declaration repeated as often as the batch has macros is still well-formed.
    return "#ifndef " + candidate + "\n" + "int " + candidate + "[1];\n#else\nextern int kx_predefined;\n#endif\n";
}

std::set<std::string> FindExtensionKeywords(const RunContext& context, const std::set<std::string>& identifiers,
                                            const std::set<std::string>& languageKeywords)
{
    context.Report.Say("Scanning for compiler extension keywords ...");
    std::vector<std::string> candidates;
    // The preprocessor's own names (_Pragma, __VA_ARGS__, defined) are no keywords of the
    // compiler, whatever a declaration of them says.
    for (const std::string& name : identifiers)
        if (languageKeywords.count(name) == 0 && !IsPreprocessorName(name))
            candidates.push_back(name);

    const std::size_t batchSize = context.Limits.NamesPerBatch;
    ReadLength read{0};
    const std::vector<std::string> rejected =
        context.Opts.Exact ? HalvingBatches(context, std::move(candidates), batchSize, kTag,
                                            [&](const auto& batch) { return MayHoldKeyword(context, batch, read); })
                           : RejectedByJointCompiles(context, candidates, batchSize, read);

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
