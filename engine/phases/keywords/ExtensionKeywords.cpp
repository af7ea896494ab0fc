// Finds the names that the compiler reserves although the language does not: a name that
// cannot be declared as an ordinary array is a word the compiler gives a meaning of its own.
#include "engine/phases/keywords/ExtensionKeywords.h"

#include "engine/phases/batch/BatchHalving.h"
#include "engine/phases/batch/Diagnostics.h"
#include "engine/phases/macros/CandidateNames.h"
#include "engine/core/Files.h"
#include "engine/phases/batch/JointCompile.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The line of a force-include template after which the user lists what the file handles,
// and the line that ends that list.
const std::string kSectionStart = "Any other items";
const std::string kSectionEnd = "#else";

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
// What compilers say of a name declared again that they already declared themselves (a
// built-in function): gcc and clang speak of a redefinition, sdcc of a duplicate symbol.
bool SaysRedefinition(const std::string& messages)
{
    return messages.find("redefinition") != std::string::npos || messages.find("Duplicate symbol") != std::string::npos;
}
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
    return batch.size() > 1 || !SaysRedefinition(result.Output());
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
                const bool redefinitionElsewhere = SaysRedefinition(joint.SaidElsewhere);
                for (std::size_t i = 0; i < batches[b].size(); ++i) {
                    const std::string& name = batches[b][i];
                    switch (joint.Verdicts[i]) {
                    case Judgement::Accepted:
                        break;
                    case Judgement::Rejected:
                        // A redefinition said at the name's own line is the name's own: an
                        // ordinary identifier the compiler predeclares (clang's and sdcc's built-ins), as
                        // its own compile would show, so it costs none.
                        if (!redefinitionElsewhere && SaysRedefinition(joint.Said[i]))
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

// The first pass's test of one name: the same array, declared instead of defined. A
// definition is what makes the full test dear (the compiler lays out and emits every
// object, the assembler reads it back), while whether the name is taken as a name is
// settled before either: the declarator is the same token for token. Names it rejects
// are tested again the full way, so a name the declaration passes but the definition would
// not (an object the target cannot place) is the only thing it could lose; the declaration
// is kept as strict as the definition in everything the compiler itself reads.
std::string DeclarationTest(const std::string& name)
{
    return "#ifndef " + name + "\nextern int " + name + "[1];\n#endif\n";
}

// A declaration the pass adds to every source, so that a batch of predefined macros alone is
// no empty source (which pedantic compilers turn down).
const char* const kDeclaredTail = "extern int kx_declared;\n";

// The first pass: the candidates that the compiler does not take as declared names, out of
// batches larger than the full test's (the declarations cost little). The lines the
// compiler names are taken out of a batch and the rest is compiled again, until it is
// accepted; an error at no name's line, or a compiler that names one line per compile, ends
// the batch, and whatever was not accepted stays a candidate. Only acceptance decides: a
// name accepted here needs no test of its own.
std::vector<std::string> NotDeclarable(const RunContext& context, const std::vector<std::string>& candidates)
{
    // A batch's compiles follow one another (the first, again without the names it rejects,
    // the control): a few batches, where the names allow, keep the processors busy, the
    // same few whatever the jobs, so that the run says the same.
    constexpr std::size_t kFewBatches = 4;
    const std::size_t batchSize =
        std::min(context.Limits.CheapNamesPerBatch,
                 std::max(context.Limits.NamesPerBatch, (candidates.size() + kFewBatches - 1) / kFewBatches));
    const std::vector<std::vector<std::string>> batches = CutIntoBatches(candidates, batchSize);
    const std::string fileName = std::string("extdecl") + context.Opts.SourceExt();
    // The lines are numbered as those of a file that is not there. Compilers that quote the
    // source line of each message (gcc scans the file from its start for every one, and
    // the built-in functions among the names draw hundreds of warnings) then have nothing to
    // read; on a source of megabytes that reading costs more than the compile itself.
    const std::string lineFile = std::string("kx_unlisted") + context.Opts.SourceExt();
    ReadLength read{0};
    // The longest first source, with room for the line directive and the tail. A name's
    // test is a fixed text and the name a fixed number of times: its length follows from the
    // name's, without making half a million texts on the way.
    const std::size_t fixedPart = DeclarationTest("").size();
    const std::size_t perChar = DeclarationTest("x").size() - fixedPart;
    std::size_t reach = 0;
    for (const std::vector<std::string>& batch : batches) {
        std::size_t length = lineFile.size() + 32 + std::strlen(kDeclaredTail) + batch.size() * fixedPart;
        for (const std::string& name : batch)
            length += perChar * name.size();
        reach = std::max(reach, length);
    }
    std::vector<std::string> open;
    context.ForEach(
        batches.size(),
        [&](std::size_t b) {
            const std::vector<std::string>& batch = batches[b];
            std::vector<bool> accepted(batch.size(), false);
            std::vector<std::size_t> rest(batch.size());
            for (std::size_t i = 0; i < rest.size(); ++i)
                rest[i] = i;
            for (int lone = 0; !rest.empty() && lone < 2;) {
                BatchSource source(fileName);
                source.StartFile(lineFile);
                for (std::size_t item : rest)
                    source.AddItem(item, DeclarationTest(batch[item]));
                source.AddShared(kDeclaredTail);
                const CompileResult result = context.CompileFile(source.Text(), fileName);
                if (result.Accepted()) {
                    if (ReadToItsEnd(
                            source.Text(), read,
                            [&](const std::string& controlled) { return context.CompileFile(controlled, fileName).Accepted(); },
                            reach))
                        for (std::size_t item : rest)
                            accepted[item] = true;
                    break;
                }
                if (result.Killed())
                    break;
                std::set<std::size_t> named;
                bool elsewhere = false;
                for (const Diagnostic& diagnostic : ReadDiagnostics(result.Output())) {
                    if (diagnostic.Severity != Diagnostic::Error)
                        continue;
                    const BatchSource::Owner owner = source.OwnerOf(diagnostic);
                    if (owner.What == BatchSource::Owner::Item)
                        named.insert(owner.Index);
                    else
                        elsewhere = true;
                }
                if (elsewhere || named.empty())
                    break;
                lone = named.size() == 1 ? lone + 1 : 0;
                std::vector<std::size_t> next;
                for (std::size_t item : rest)
                    if (named.count(item) == 0)
                        next.push_back(item);
                rest = std::move(next);
            }
            return accepted;
        },
        [&](std::size_t b, const std::vector<bool>& accepted) {
            for (std::size_t i = 0; i < accepted.size(); ++i)
                if (!accepted[i])
                    open.push_back(batches[b][i]);
        });
    context.Report.Say("  [" + kTag + "] " + std::to_string(candidates.size() - open.size()) + " of " +
        std::to_string(candidates.size()) + " names declared in batches of " + std::to_string(batchSize) + "; " +
        std::to_string(open.size()) + " left to test");
    return open;
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
    // Where the full test would take more than one source, the cheap declarations sort out
    // first the names the compiler plainly takes.
    if (!context.Opts.Exact && candidates.size() > batchSize)
        candidates = NotDeclarable(context, candidates);
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
