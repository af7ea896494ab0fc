#include "engine/phases/suites/SuiteBatch.h"

#include <algorithm>
#include <optional>
#include <set>

#include "engine/phases/batch/Diagnostics.h"
#include "engine/phases/batch/JointCompile.h"

namespace {

bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

std::string DefineText(const SuiteRun& run)
{
    return run.Keyword.empty() ? std::string() : "XXX=" + run.Keyword + " ";
}

// The stems of the two separators after a copy: the first takes what a rejected copy leaves
// of its error, the second shows that the compiler is back at file level before the next
// copy.
const std::string kCatchStem = "kxcatch";
const std::string kResumeStem = "kxresume";

// The first separator. A test whose keyword stands after a parameter list leaves a C
// compiler that rejects it reading the next lines as the declarations of old-style
// parameters, up to the next function body: an old-style definition has one in either
// state, so it is a function of its own where the copy was well-formed and the body of
// the copy's function where it was not.
// C++ has no old-style definitions: there a declaration of its own takes what is left, and
// the second separator shows as before whether the compiler is back at file level.
std::string CatchSeparator(std::size_t id, bool isC)
{
    const std::string name = kCatchStem + std::to_string(id);
    return isC ? "int " + name + "(kxp) int kxp; { return kxp; }\n" : "int " + name + ";\n";
}

// The copies of the runs of batch in the order given, each behind the define of its keyword.
// resynced: each copy followed by the two separators above; otherwise by one plain separator.
BatchSource Copies(const RunContext& context, const std::vector<SuiteRun>& runs, const std::vector<std::size_t>& batch,
                   const std::vector<std::size_t>& order, bool resynced)
{
    const std::string ext = context.Opts.SourceExt();
    BatchSource source("kxsuite" + ext);
    for (std::size_t k : order) {
        const SuiteRun& run = runs[batch[k]];
        const std::string id = std::to_string(k);
        // Compilers report an error in the keyword at the line that defines XXX: that line is
        // the copy's too.
        if (!run.Keyword.empty()) {
            source.StartFile("kxdef" + id + ext);
            source.AddItem(k, "#define XXX " + run.Keyword + "\n");
        }
        source.StartFile("kxcopy" + id + ext);
        source.AddItem(k, RenameTestNames(run.Test->Source, k));
        source.StartFile((resynced ? kCatchStem : std::string("kxsep")) + id + ext);
        if (!run.Keyword.empty())
            source.AddShared("#undef XXX\n");
        if (resynced) {
            source.AddShared(CatchSeparator(k, context.Opts.IsC));
            source.StartFile(kResumeStem + id + ext);
        }
        source.AddShared(BatchSeparator(k));
    }
    return source;
}

// The copy whose separator of this stem the file is, if it is one.
std::optional<std::size_t> SeparatorOf(const std::string& file, const std::string& stem, const std::string& ext)
{
    if (file.rfind(stem, 0) != 0 || file.size() <= stem.size() + ext.size() ||
        file.compare(file.size() - ext.size(), ext.size(), ext) != 0)
        return std::nullopt;
    const std::string digits = file.substr(stem.size(), file.size() - stem.size() - ext.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoul(digits);
}

struct Rejections {
    std::set<std::size_t> Rejected;
    // Copies that a note ties to another copy (a name declared twice): neither tells about
    // itself alone.
    std::set<std::size_t> Tangled;
};

// The copies of the order that the compiler rejects by themselves: an error on a line of the
// copy, where the separator that shows the compiler back at file level stood clean right
// before it (or nothing stood before it), and no note ties it to another copy. Nothing when a
// message cannot be placed (an error at no copy's or separator's line).
std::optional<Rejections> RejectedByThemselves(const RunContext& context, const BatchSource& source,
                                                         const std::vector<std::size_t>& order,
                                                         const CompileResult& result)
{
    if (result.Killed())
        return std::nullopt;
    const std::string ext = context.Opts.SourceExt();
    std::set<std::size_t> erred, unsettled;
    Rejections found;
    constexpr std::size_t kNobody = static_cast<std::size_t>(-1);
    std::size_t speaking = kNobody;
    for (const Diagnostic& diagnostic : ReadDiagnostics(result.Output())) {
        if (diagnostic.Severity == Diagnostic::Other)
            continue;
        const BatchSource::Owner owner = source.OwnerOf(diagnostic);
        if (owner.What == BatchSource::Owner::Item) {
            if (diagnostic.Severity == Diagnostic::Note && speaking != kNobody && speaking != owner.Index) {
                found.Tangled.insert(speaking);
                found.Tangled.insert(owner.Index);
            }
            if (diagnostic.Severity == Diagnostic::Error)
                erred.insert(owner.Index);
            if (diagnostic.Severity != Diagnostic::Note)
                speaking = owner.Index;
            continue;
        }
        if (diagnostic.Severity == Diagnostic::Note)
            continue;
        speaking = kNobody;
        if (diagnostic.Severity != Diagnostic::Error || SeparatorOf(owner.File, kCatchStem, ext))
            continue;
        const std::optional<std::size_t> resumed = SeparatorOf(owner.File, kResumeStem, ext);
        if (owner.What != BatchSource::Owner::Shared || !resumed)
            return std::nullopt;
        unsettled.insert(*resumed);
    }
    for (std::size_t at = 0; at < order.size(); ++at)
        if (erred.count(order[at]) != 0 && found.Tangled.count(order[at]) == 0 &&
            (at == 0 || unsettled.count(order[at - 1]) == 0))
            found.Rejected.insert(order[at]);
    return found;
}

// Copies judged together, each with two separators after it: a copy rejected by itself (see
// RejectedByThemselves) in the order given and again in the reverse order, with other copies
// before it, is rejected; the others are compiled together until the compiler accepts them.
// Per copy of open: passed or not, or nothing where only its own compile can tell.
std::vector<std::optional<bool>> DecideResynced(const RunContext& context, const std::vector<SuiteRun>& runs,
                                                const std::vector<std::size_t>& open)
{
    std::vector<std::optional<bool>> verdicts(open.size());
    auto compile = [&](const std::vector<std::size_t>& order, BatchSource& source) {
        source = Copies(context, runs, open, order, true);
        return context.CompileFile(source.Text(), source.FileName());
    };
    std::vector<std::size_t> rest(open.size());
    for (std::size_t k = 0; k < rest.size(); ++k)
        rest[k] = k;
    ReadLength read{0};
    BatchSource source("");
    for (int round = 0; rest.size() > 1 && round < 3; ++round) {
        const CompileResult result = compile(rest, source);
        if (result.Accepted()) {
            if (ReadToItsEnd(source.Text(), read, [&](const std::string& controlled) {
                    return context.CompileFile(controlled, source.FileName()).Accepted();
                }))
                for (std::size_t k : rest)
                    verdicts[k] = true;
            break;
        }
        const std::optional<Rejections> forward = RejectedByThemselves(context, source, rest, result);
        // A compiler that stops at its first error names one copy per compile, which is what
        // the copies' own compiles cost.
        const std::size_t named = forward ? forward->Rejected.size() + forward->Tangled.size() : 0;
        if (named == 0 || (named == 1 && rest.size() > 2))
            break;
        const std::vector<std::size_t> reverse(forward->Rejected.rbegin(), forward->Rejected.rend());
        std::optional<Rejections> again;
        if (reverse.size() > 1) {
            const CompileResult check = compile(reverse, source);
            if (!check.Accepted())
                again = RejectedByThemselves(context, source, reverse, check);
        }
        // Tangled copies are left undecided, to be told apart where they do not meet.
        std::vector<std::size_t> next;
        for (std::size_t k : rest) {
            if (forward->Rejected.count(k) != 0 && again && again->Rejected.count(k) != 0)
                verdicts[k] = false;
            else if (forward->Rejected.count(k) == 0 && forward->Tangled.count(k) == 0)
                next.push_back(k);
        }
        rest = std::move(next);
    }
    return verdicts;
}

SuiteOutcome OutcomeOf(const SuiteRun& run, bool passed)
{
    return {passed, QuotedTestText(passed ? run.Test->SuccessText : run.Test->ErrorText)};
}

}  // namespace

std::vector<std::optional<SuiteOutcome>> DecideTogether(const RunContext& context, const std::vector<SuiteRun>& runs)
{
    std::vector<std::optional<SuiteOutcome>> outcomes(runs.size());
    if (context.Opts.Exact)
        return outcomes;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (runs[i].Test->Execute)
            continue;
        if (groups.empty() || groups.back().size() == context.Limits.SuiteCopies)
            groups.emplace_back();
        groups.back().push_back(i);
    }
    bool told = false;
    auto take = [&](std::size_t g, const std::vector<std::optional<bool>>& verdicts) {
        for (std::size_t k = 0; k < verdicts.size(); ++k) {
            if (verdicts[k]) {
                outcomes[groups[g][k]] = OutcomeOf(runs[groups[g][k]], *verdicts[k]);
                told = true;
            }
        }
    };
    // The first group shows whether the compiler's messages tell anything this way; if not,
    // the others would only add runs.
    if (groups.empty())
        return outcomes;
    take(0, DecideResynced(context, runs, groups[0]));
    if (!told)
        return outcomes;
    context.ForEach(
        groups.size() - 1, [&](std::size_t g) { return DecideResynced(context, runs, groups[g + 1]); },
        [&](std::size_t g, const std::vector<std::optional<bool>>& verdicts) { take(g + 1, verdicts); });
    return outcomes;
}

std::string RenameTestNames(const std::string& source, std::size_t copy)
{
    const std::string prefix = "kx" + std::to_string(copy) + "_";
    std::string renamed;
    renamed.reserve(source.size() + source.size() / 8);
    for (std::size_t at = 0; at < source.size();) {
        if (source.compare(at, 3, "kx_") == 0 && (at == 0 || !IsIdentifierChar(source[at - 1]))) {
            renamed += prefix;
            at += 3;
        } else {
            renamed += source[at++];
        }
    }
    return renamed;
}

std::vector<SuiteOutcome> ConductTests(const RunContext& context, const std::vector<SuiteRun>& runs, bool resync,
                                       bool* jointTells)
{
    std::vector<SuiteOutcome> outcomes(runs.size());
    std::vector<bool> decided(runs.size(), false);
    // Programs are run one by one: their output is their result.
    std::vector<std::size_t> batch;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (!runs[i].Test->Execute)
            batch.push_back(i);
    if (!context.Opts.Exact && batch.size() > 1 && (jointTells == nullptr || *jointTells)) {
        // Sources of a size the compiler is known to take; the groups are independent.
        const std::size_t most = context.Limits.SuiteCopies;
        std::vector<std::vector<std::size_t>> groups;
        for (std::size_t begin = 0; begin < batch.size(); begin += most)
            groups.emplace_back(batch.begin() + static_cast<std::ptrdiff_t>(begin),
                                batch.begin() + static_cast<std::ptrdiff_t>(std::min(begin + most, batch.size())));
        ReadLength read{0};
        context.ForEach(
            groups.size(),
            [&](std::size_t g) {
                return JudgeTogether(
                    groups[g].size(),
                    [&](const std::vector<std::size_t>& order, bool) { return Copies(context, runs, groups[g], order, false); },
                    [&](const BatchSource& source) { return context.CompileFile(source.Text(), source.FileName()); }, &read);
            },
            [&](std::size_t g, const JointVerdicts& joint) {
                for (std::size_t k = 0; k < groups[g].size(); ++k) {
                    const Judgement verdict = joint.Verdicts[k];
                    if (verdict != Judgement::Accepted && verdict != Judgement::Rejected)
                        continue;
                    const std::size_t run = groups[g][k];
                    SuiteOutcome& outcome = outcomes[run];
                    outcome.Passed = verdict == Judgement::Accepted;
                    const SuiteTest& test = *runs[run].Test;
                    outcome.Result = QuotedTestText(outcome.Passed ? test.SuccessText : test.ErrorText);
                    decided[run] = true;
                }
            });
        if (jointTells != nullptr && std::none_of(batch.begin(), batch.end(), [&](std::size_t i) { return decided[i]; }))
            *jointTells = false;
    }

    // Copies of one test whose errors ran on into the separators, where such copies were
    // told apart before.
    if (resync) {
        std::vector<std::size_t> open;
        for (std::size_t i : batch)
            if (!decided[i])
                open.push_back(i);
        if (open.size() > 1) {
            const std::vector<std::optional<bool>> verdicts = DecideResynced(context, runs, open);
            for (std::size_t k = 0; k < open.size(); ++k) {
                if (verdicts[k]) {
                    outcomes[open[k]] = OutcomeOf(runs[open[k]], *verdicts[k]);
                    decided[open[k]] = true;
                }
            }
        }
    }

    std::vector<std::size_t> alone;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (!decided[i])
            alone.push_back(i);
    context.ForEach(
        alone.size(),
        [&](std::size_t a) {
            SuiteOutcome outcome;
            const SuiteRun& run = runs[alone[a]];
            outcome.Passed = ConductTest(context, *run.Test, DefineText(run), outcome.Result);
            return outcome;
        },
        [&](std::size_t a, SuiteOutcome outcome) { outcomes[alone[a]] = std::move(outcome); });
    return outcomes;
}
