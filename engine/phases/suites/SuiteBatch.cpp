#include "engine/phases/suites/SuiteBatch.h"

#include <algorithm>

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

BatchSource Copies(const RunContext& context, const std::vector<SuiteRun>& runs, const std::vector<std::size_t>& batch,
                   const std::vector<std::size_t>& order)
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
        source.StartFile("kxsep" + id + ext);
        if (!run.Keyword.empty())
            source.AddShared("#undef XXX\n");
        source.AddShared(BatchSeparator(k));
    }
    return source;
}

}  // namespace

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

std::vector<SuiteOutcome> ConductTests(const RunContext& context, const std::vector<SuiteRun>& runs)
{
    std::vector<SuiteOutcome> outcomes(runs.size());
    std::vector<bool> decided(runs.size(), false);
    // Programs are run one by one: their output is their result.
    std::vector<std::size_t> batch;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (!runs[i].Test->Execute)
            batch.push_back(i);
    if (!context.Opts.Exact && batch.size() > 1) {
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
                    [&](const std::vector<std::size_t>& order, bool) { return Copies(context, runs, groups[g], order); },
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
