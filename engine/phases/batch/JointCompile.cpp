#include "engine/phases/batch/JointCompile.h"

#include <algorithm>
#include <set>

// A directive that C and C++ make an error, and a brace that closes nothing, for a compiler
// that takes the directive for a warning.
const char* const kEndOfSourceControl = "#error the compiler read the source to its end\n}\n";

namespace {

// What one rejected compile says about the items in it.
struct Reading {
    std::set<std::size_t> Rejected;  // items with an error on one of their lines
    std::set<std::size_t> RanOn;     // rejected items whose error ran on into the separator after them
    // Items that a note ties to another item (a name declared twice): neither tells about
    // itself alone, and they are left to the caller's own test, while the compile still
    // tells about the others.
    std::set<std::size_t> Tangled;
    bool Disturbed = false;          // an error elsewhere
};

// separated: a separator follows each item, and an error on one right after an item that
// has an error of its own is that item's error running on (some compilers complain about the
// next line too when a declaration breaks off), not a disturbance; the item after it is not
// judged by this compile.
Reading Read(const BatchSource& source, const CompileResult& result, JointVerdicts& verdicts, bool separated)
{
    Reading reading;
    if (result.Killed()) {
        reading.Disturbed = true;
        return reading;
    }
    // The item the last error or warning was about: a note that points at another item's
    // lines shows that the two items meet (a name declared twice, say), so that neither
    // tells about itself alone.
    constexpr std::size_t kNobody = static_cast<std::size_t>(-1);
    std::size_t speaking = kNobody;
    for (const Diagnostic& diagnostic : ReadDiagnostics(result.Output())) {
        const BatchSource::Owner owner = source.OwnerOf(diagnostic);
        if (owner.What != BatchSource::Owner::Item) {
            verdicts.SaidElsewhere += diagnostic.Text;
            if (diagnostic.Severity == Diagnostic::Error) {
                if (separated && owner.What == BatchSource::Owner::Shared && owner.After)
                    reading.RanOn.insert(*owner.After);
                else
                    reading.Disturbed = true;
            }
            if (diagnostic.Severity == Diagnostic::Error || diagnostic.Severity == Diagnostic::Warning)
                speaking = kNobody;
            continue;
        }
        verdicts.Said[owner.Index] += diagnostic.Text;
        switch (diagnostic.Severity) {
        case Diagnostic::Error:
            reading.Rejected.insert(owner.Index);
            speaking = owner.Index;
            break;
        case Diagnostic::Warning:
            speaking = owner.Index;
            break;
        case Diagnostic::Note:
            if (speaking != kNobody && speaking != owner.Index) {
                reading.Tangled.insert(speaking);
                reading.Tangled.insert(owner.Index);
            }
            break;
        case Diagnostic::Other:
            break;
        }
    }
    for (std::size_t item : reading.RanOn)
        if (reading.Rejected.count(item) == 0 || reading.Tangled.count(item) != 0)
            reading.Disturbed = true;
    for (std::size_t item : reading.Tangled)
        reading.Rejected.erase(item);
    return reading;
}

}  // namespace

bool ReadToItsEnd(const std::string& source, ReadLength& read, const std::function<bool(const std::string&)>& accepts,
                  std::size_t reach)
{
    if (source.size() <= read.load())
        return true;
    // Blank lines up to the reach: a compiler that reads them all reads every source that
    // long, and the other sources of the phase need no control of their own.
    reach = std::max(reach, source.size());
    std::string padding;
    for (std::size_t left = reach - source.size(); left > 0;) {
        const std::size_t line = std::min<std::size_t>(left, 80);
        padding.append(line - 1, ' ');
        padding += '\n';
        left -= line;
    }
    if (accepts(source + padding + kEndOfSourceControl))
        return false;
    for (std::size_t known = read.load(); known < reach && !read.compare_exchange_weak(known, reach);) {
    }
    return true;
}

JointVerdicts JudgeTogether(std::size_t items, const BatchBuilder& build,
                            const std::function<CompileResult(const BatchSource&)>& compile, ReadLength* readLength,
                            LoneRejections lone)
{
    JointVerdicts verdicts;
    verdicts.Verdicts.assign(items, Judgement::Undecided);
    verdicts.Said.resize(items);
    // Where the caller tests an undecided item with a compile of its own, a check that goes
    // on past a passing item or an error that ran on costs more compiles than it saves: then
    // either leaves every rejected item a suspect.
    const bool patient = lone == LoneRejections::GoOn;
    auto run = [&](const std::vector<std::size_t>& order, bool separated, bool& accepted) {
        const BatchSource source = build(order, separated);
        const CompileResult result = compile(source);
        ++verdicts.Compiles;
        accepted = result.Accepted();
        return accepted ? Reading{} : Read(source, result, verdicts, separated && patient);
    };

    // One item alone is the caller's own test.
    if (items < 2)
        return verdicts;
    std::vector<std::size_t> rest(items);
    for (std::size_t i = 0; i < items; ++i)
        rest[i] = i;
    // The check in the reverse order. A compiler may stop early (at a fatal error, or after
    // so many errors): the items after the last one it rejected were not reached, and are
    // checked again on their own, as is an item right after one whose error ran on. An item
    // before that one that passes was only rejected because of its neighbours: it stays a
    // suspect, while the items rejected again, each after a separator that compiled, are
    // rejected in two orders with a clean start.
    std::vector<std::size_t> confirmed;
    // Items rejected first in the source that held them: the check's order gives them no
    // other neighbour before them (none, again) when they come first there too, and a
    // compiler that blames the first item for every error would pass them; they are
    // compiled alone.
    std::vector<bool> rejectedFirst(items, false);
    auto confirm = [&](std::vector<std::size_t> pending) {
        std::vector<std::size_t> alone;
        std::sort(pending.begin(), pending.end());
        while (!pending.empty()) {
            const std::vector<std::size_t> order(pending.rbegin(), pending.rend());
            bool accepted = false;
            const Reading reading = run(order, true, accepted);
            // An item that passes was rejected for what stood before it, and stays a suspect;
            // unless nothing stood before it then: the compiler blamed it for another's error.
            auto blamedWrongly = [&](std::size_t item) {
                verdicts.Misled = verdicts.Misled || rejectedFirst[item];
                return rejectedFirst[item] || !patient;
            };
            if (accepted) {
                if (std::count_if(pending.begin(), pending.end(), blamedWrongly) != 0)
                    return false;
                break;
            }
            if (reading.Disturbed || !reading.Tangled.empty() || reading.Rejected.empty())
                return false;
            std::size_t reached = 0;
            for (std::size_t at = 0; at < order.size(); ++at)
                if (reading.Rejected.count(order[at]) != 0)
                    reached = at + 1;
            std::vector<std::size_t> unreached;
            for (std::size_t at = 0; at < order.size(); ++at) {
                if (at >= reached || (at > 0 && reading.RanOn.count(order[at - 1]) != 0))
                    unreached.push_back(order[at]);
                else if (reading.Rejected.count(order[at]) != 0)
                    (at == 0 && rejectedFirst[order[at]] && patient ? alone : confirmed).push_back(order[at]);
                else if (blamedWrongly(order[at]))
                    return false;
            }
            std::sort(unreached.begin(), unreached.end());
            pending = std::move(unreached);
        }
        for (std::size_t item : alone) {
            bool accepted = false;
            run({item}, false, accepted);
            if (accepted) {
                verdicts.Misled = true;
                return false;
            }
            confirmed.push_back(item);
        }
        return true;
    };

    std::vector<std::size_t> rejected;
    std::vector<std::size_t> unchecked;  // rejected, and not yet checked in the reverse order
    int loneRejections = 0;
    bool trusted = true;
    while (!rest.empty()) {
        bool accepted = false;
        const Reading reading = run(rest, false, accepted);
        if (accepted) {
            // A compiler that silently stops reading a long source accepts all of it. The
            // same source with an error at its end shows that the compiler read that far;
            // if it passes too, no item of the batch is judged here.
            ReadLength none{0};
            const bool read = ReadToItsEnd(build(rest, false).Text(), readLength ? *readLength : none, [&](const std::string&) {
                BatchSource controlled = build(rest, false);
                controlled.AddShared(kEndOfSourceControl);
                ++verdicts.Compiles;
                return compile(controlled).Accepted();
            });
            if (!read)
                return verdicts;
            for (std::size_t item : rest)
                verdicts.Verdicts[item] = Judgement::Accepted;
            break;
        }
        if (reading.Disturbed || (reading.Rejected.empty() && reading.Tangled.empty()))
            break;
        std::vector<std::size_t> next;
        rejectedFirst[rest.front()] = reading.Rejected.count(rest.front()) != 0;
        for (std::size_t item : rest) {
            if (reading.Tangled.count(item) != 0) {
                rejected.push_back(item);
            } else if (reading.Rejected.count(item) != 0) {
                rejected.push_back(item);
                unchecked.push_back(item);
            } else {
                next.push_back(item);
            }
        }
        rest = std::move(next);
        // A compiler that stops at its first error names one item per compile. Going on
        // costs a compile per item; so does its check, which comes first here: a compiler
        // that names the wrong lines would otherwise cost a compile for every item of the
        // batch.
        loneRejections = reading.Rejected.size() == 1 ? loneRejections + 1 : 0;
        if (loneRejections == 2) {
            if (lone == LoneRejections::GiveUp || !confirm(unchecked)) {
                trusted = false;
                break;
            }
            unchecked.clear();
            loneRejections = 0;
        }
    }

    for (std::size_t item : rejected)
        verdicts.Verdicts[item] = Judgement::Suspect;
    if (!trusted || rejected.empty() || !confirm(unchecked))
        return verdicts;
    for (std::size_t item : confirmed)
        verdicts.Verdicts[item] = Judgement::Rejected;
    return verdicts;
}
