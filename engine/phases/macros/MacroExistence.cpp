// Which candidates the compiler defines, by group testing: a batch of existence tests that
// makes the compiler take the #include of a missing header holds a defined name.
//
// The plain method halves such a batch down to single names, one compile per question. A
// compiler that writes objects can say more from one compile: a string whose pieces the
// preprocessor keeps only for defined names lists them all in the object's data. Where the
// data cannot be read so (a text object spells it as numbers, some formats cut a string
// into pieces or keep it as code that stores it), objects that the preprocessor keeps only
// for defined names list them by their own names, which every object format spells as they
// are. The list is then checked with the plain test of all the other names of the batch,
// which must leave the compiler content. A batch that cannot be read either way is halved.
#include "engine/phases/macros/MacroExistence.h"

#include <algorithm>
#include <map>
#include <optional>

#include "engine/phases/batch/BatchHalving.h"
#include "engine/phases/batch/Diagnostics.h"
#include "engine/core/Reporter.h"

namespace {

const std::string kTag = "macros";
// The words around the list of defined names in the object's data.
const std::string kListOpen = "@kxd:";
const std::string kListClose = ":kxd@";

// The plain question about a batch: does any of these names make the compiler take the
// #include of the missing header? Most compilers name the header in their complaint; some
// only say that an include file could not be opened. A rejection that does not name it
// counts when the same conditionals without the #include lines are accepted: then nothing
// but an #include taken made the compiler fail.
bool TakesTheMissingInclude(const RunContext& context, const std::vector<std::string>& names)
{
    std::string text;
    std::string conditionals;
    for (const std::string& name : names) {
        text += PrintPossibleDefines(name);
        conditionals += "#ifdef " + name + "\n#endif\n";
    }
    const CompileResult result = context.Compile(text, "deftest");
    if (result.Output().find(kUndefinedId) != std::string::npos)
        return true;
    if (result.Accepted() || result.Killed())
        return false;
    return context.Compile(conditionals, "deftest").Accepted();
}

// A string of which the preprocessor keeps the piece "I," of each defined name I.
std::string ListingSource(const std::vector<std::string>& names)
{
    std::string text = "char kx_defined[] = \"" + kListOpen + "\"\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += "#ifdef " + names[i] + "\n\"" + std::to_string(i) + ",\"\n#endif\n";
    return text + "\"" + kListClose + "\";\n";
}

// The indices listed in the object, when the list is there once and well-formed.
std::optional<std::vector<std::size_t>> ReadListing(const std::string& object, std::size_t count)
{
    const std::size_t open = object.find(kListOpen);
    if (open == std::string::npos || object.find(kListOpen, open + 1) != std::string::npos)
        return std::nullopt;
    const std::size_t begin = open + kListOpen.size();
    const std::size_t close = object.find(kListClose, begin);
    if (close == std::string::npos)
        return std::nullopt;
    std::vector<std::size_t> indices;
    std::size_t index = 0;
    bool digits = false;
    for (std::size_t at = begin; at < close; ++at) {
        const char c = object[at];
        if (c >= '0' && c <= '9' && index < count) {
            index = index * 10 + static_cast<std::size_t>(c - '0');
            digits = true;
        } else if (c == ',' && digits && index < count && (indices.empty() || index > indices.back())) {
            indices.push_back(index);
            index = 0;
            digits = false;
        } else {
            return std::nullopt;
        }
    }
    if (digits)
        return std::nullopt;
    return indices;
}

// The word that starts the name of the object kept for a defined name, before its index
// and an 'x' that shows the name was not cut short (some formats keep only its first few
// characters).
const std::string kSymbolStem = "kxdef";

// An object of a name of its own for each defined name; the declaration keeps the source from
// being empty when none is.
std::string SymbolListingSource(const std::vector<std::string>& names)
{
    std::string text = "extern int kx_listing;\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += "#ifdef " + names[i] + "\nint " + kSymbolStem + std::to_string(i) + "x = 1;\n#endif\n";
    return text;
}

// The indices whose objects the object file names, in ascending order; a name that is cut
// short or out of range names none.
std::vector<std::size_t> ReadSymbolListing(const std::string& object, std::size_t count)
{
    std::vector<bool> named(count, false);
    for (std::size_t at = object.find(kSymbolStem); at != std::string::npos; at = object.find(kSymbolStem, at + 1)) {
        std::size_t end = at + kSymbolStem.size();
        std::size_t index = 0;
        const std::size_t digits = end;
        while (end < object.size() && object[end] >= '0' && object[end] <= '9' && index < count)
            index = index * 10 + static_cast<std::size_t>(object[end++] - '0');
        if (end > digits && end < object.size() && object[end] == 'x' && index < count)
            named[index] = true;
    }
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < count; ++i)
        if (named[i])
            indices.push_back(i);
    return indices;
}

// The defined names of the batch as the object of one compile lists them; nothing when no
// object says it.
std::optional<std::vector<std::size_t>> ListDefined(const RunContext& context, const std::vector<std::string>& batch)
{
    if (context.Target.ObjectIsBinary) {
        const CompileResult listing = context.Compile(ListingSource(batch), "deftest");
        if (listing.MadeObject()) {
            std::optional<std::vector<std::size_t>> defined = ReadListing(*listing.Object, batch.size());
            if (defined && !defined->empty())
                return defined;
        }
    }
    const CompileResult symbols = context.Compile(SymbolListingSource(batch), "deftest");
    if (!symbols.MadeObject())
        return std::nullopt;
    std::vector<std::size_t> defined = ReadSymbolListing(*symbols.Object, batch.size());
    if (defined.empty())
        return std::nullopt;
    return defined;
}

struct BatchAnswer {
    bool Halve = false;                // the batch could not be read: it goes on to the halving
    std::vector<std::size_t> Defined;  // otherwise: the defined names, by index
};

BatchAnswer ReadBatch(const RunContext& context, const std::vector<std::string>& batch)
{
    if (!TakesTheMissingInclude(context, batch))
        return {};
    std::optional<std::vector<std::size_t>> defined = ListDefined(context, batch);
    if (!defined)
        return {true, {}};
    std::vector<std::string> others;
    std::size_t next = 0;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (next < defined->size() && (*defined)[next] == i)
            ++next;
        else
            others.push_back(batch[i]);
    }
    if (!others.empty() && TakesTheMissingInclude(context, others))
        return {true, {}};
    return {false, std::move(*defined)};
}

}  // namespace

std::string PrintPossibleDefines(const std::string& name)
{
    return "#ifdef " + name + "\n" + "#include \"" + kUndefinedId + "\"\n#endif\n";
}

std::vector<std::string> FindDefinedNames(const RunContext& context, std::vector<std::string> candidates)
{
    const std::size_t batchSize = context.Limits.CheapNamesPerBatch;
    auto takesTheMissingInclude = [&](const std::vector<std::string>& batch) {
        return TakesTheMissingInclude(context, batch);
    };
    const std::size_t level = FirstLevel(candidates.size(), batchSize);
    if (context.Opts.Exact || level < 2)
        return HalvingBatches(context, std::move(candidates), batchSize, kTag, takesTheMissingInclude);

    const std::vector<std::vector<std::string>> batches = CutIntoBatches(candidates, level);
    context.Report.Say("  [" + kTag + "] batches of " + std::to_string(level) + ": " + std::to_string(candidates.size()) + " names, " +
        std::to_string(batches.size()) + " read from the objects of single compiles");
    std::vector<std::string> defined;
    std::vector<std::string> toHalve;
    context.ForEach(
        batches.size(), [&](std::size_t b) { return ReadBatch(context, batches[b]); },
        [&](std::size_t b, const BatchAnswer& answer) {
            if (answer.Halve)
                toHalve.insert(toHalve.end(), batches[b].begin(), batches[b].end());
            for (std::size_t i : answer.Defined)
                defined.push_back(batches[b][i]);
        });
    context.Report.Say("  [" + kTag + "] " + std::to_string(defined.size()) + " macros found; " + std::to_string(toHalve.size()) +
        " names to halve");
    for (std::string& name : HalvingBatches(context, std::move(toHalve), level / 2, kTag, takesTheMissingInclude))
        defined.push_back(std::move(name));

    // In the order of the candidates, as the halving keeps them.
    std::map<std::string, std::size_t> position;
    for (const std::string& name : defined)
        position.emplace(name, 0);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const auto found = position.find(candidates[i]);
        if (found != position.end())
            found->second = i;
    }
    std::sort(defined.begin(), defined.end(),
              [&](const std::string& a, const std::string& b) { return position[a] < position[b]; });
    return defined;
}
