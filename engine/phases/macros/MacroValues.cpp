// The values of the predefined macros, as the compiler shows them.
//
// The plain probes cost one compile (or a build and a run) per macro and method. Read
// together, one program prints every value and one object holds them all, each framed by
// markers that name its macro; a macro whose line the compiler rejects is left to its own
// probes, and a group that fails without naming one is split in halves.
//
// Each macro gets one value: on cross compilers the object's, which holds the value's bytes
// exactly; the name of a missing header, which a compiler may escape, cut or replace, only
// where the objects are listings or the object probe fails. The include-name method cannot
// be read together: a missing header ends the compile.
#include "engine/phases/macros/MacroValues.h"

#include <algorithm>
#include <functional>
#include <set>

#include "engine/phases/batch/BatchSource.h"
#include "engine/core/Reporter.h"

namespace {

// The words that bracket a value in the compiler's message or in the object's data.
const std::string kValueBegin = "yyy";
const std::string kValueEnd = "zzz";
const std::string kStringifyPrelude = "#define S(X) #X\n#define M(X) S(X)\n";

// Native compilers: the macro's expansion, stringified, is printed by a test program.
std::vector<std::string> FindValueByRunning(const RunContext& context, const std::string& name)
{
    const std::string source = std::string("deftest") + context.Opts.SourceExt();
    const std::string text = kStringifyPrelude + context.PrintfDecl() + "\n" +
                             "int main(void) { printf(\"%s\", M(" + name + ")); return 0;}\n";
    const ProgramResult result = context.BuildAndRun(text, source);
    if (!result.Built) {
        context.Report.Say(source + " failed to compile! can't find value of: " + name);
        return {};
    }
    // A program that was killed printed no complete value.
    if (result.Run.TimedOut || result.Run.Signal != 0)
        return {};
    return {result.Run.Stdout};
}

// Cross compilers, first method: the stringified expansion becomes the name of a header
// that does not exist, and the compiler quotes that name when it says so.
std::string IncludeNameTest(const std::string& name)
{
    return "#include M(" + kValueBegin + " " + name + " " + kValueEnd + ")\n";
}

// Compilers may quote the name more than once (the message, the echoed source line), each
// on a line of its own. A line's last "zzz" after its "yyy" closes the name, so that a value
// holding the word is read whole; a line with a "yyy" alone shows a name that the compiler
// cut or replaced after an error, and the text up to the end of that line is no value.
std::vector<std::string> ReadIncludeNameValues(const std::string& output)
{
    std::vector<std::string> values;
    std::size_t from = 0;
    for (;;) {
        const std::size_t begin = output.find(kValueBegin, from);
        if (begin == std::string::npos)
            break;
        const std::size_t valueStart = begin + kValueBegin.size();
        const std::size_t lineEnd = std::min(output.find('\n', begin), output.size());
        const std::size_t end = output.rfind(kValueEnd, lineEnd - kValueEnd.size());
        if (end != std::string::npos && end >= valueStart && end + kValueEnd.size() <= lineEnd)
            values.push_back(output.substr(valueStart, end - valueStart));
        from = lineEnd;
    }
    return values;
}

// The first reading that is not the echoed source line (which shows the macro's name).
std::vector<std::string> FindValueByIncludeName(const RunContext& context, const std::string& name)
{
    for (std::string& value :
         ReadIncludeNameValues(context.Compile(kStringifyPrelude + IncludeNameTest(name), "deftest").Output()))
        if (value.find_first_not_of(' ') == std::string::npos || value.substr(value.find_first_not_of(' '),
                                                                                 name.size() + 1) != name + " ")
            return {std::move(value)};
    return {};
}

// The text between the two markers, when each stands in the bytes exactly once. Markers that
// name their item cannot be met inside a value by chance, so a value holding the closing
// word (say "zzz") is read whole.
std::optional<std::string> Between(const std::string& bytes, const std::string& open, const std::string& close)
{
    const std::size_t begin = bytes.find(open);
    const std::size_t end = bytes.find(close);
    if (begin == std::string::npos || end == std::string::npos || bytes.find(open, begin + 1) != std::string::npos ||
        bytes.find(close, end + 1) != std::string::npos || end < begin + open.size())
        return std::nullopt;
    return bytes.substr(begin + open.size(), end - begin - open.size());
}

// The object's literal for item K: the stringified expansion between markers that name K.
std::string ObjectItem(const std::string& array, const std::string& id, const std::string& name)
{
    return "char kx_" + array + id + "[] = \"@kx" + array + id + ":\" M(" + name + ") \"@kx" + array + id + "e:\";\n";
}
std::optional<std::string> ReadObjectItem(const std::string& object, const std::string& array, const std::string& id)
{
    return Between(object, "@kx" + array + id + ":", "@kx" + array + id + "e:");
}

// Cross compilers, second method: the compiler stores the stringified expansion in the
// object's data, byte for byte.
std::vector<std::string> FindValueInObject(const RunContext& context, const std::string& name)
{
    // Text objects (listings of small-target compilers) keep the literal in an encoded
    // form, so the compile would be wasted.
    if (!context.Target.ObjectIsBinary)
        return {};
    const CompileResult result = context.Compile(kStringifyPrelude + ObjectItem("v", "0", name), "deftest");
    if (!result.MadeObject())
        return {};
    std::optional<std::string> value = ReadObjectItem(*result.Object, "v", "0");
    if (!value)
        return {};
    return {std::move(*value)};
}

// ---- Many values at once ----

// What one group compile read for one macro: the texts of its probes.
using Record = std::vector<std::string>;

// One attempt at a group of macros.
struct GroupAnswer {
    bool Read = false;
    std::vector<std::optional<Record>> Records;  // when read: per macro of the group
    std::set<std::size_t> Rejected;              // otherwise: the group's macros the errors name
};
using GroupReader = std::function<GroupAnswer(const std::vector<std::size_t>& group)>;

// Reads the macros in groups of at most `most`. A group that fails loses the macros its
// errors name, and is tried again; one that fails without naming any is split. A macro on
// its own is left to its own probes, which cost no more.
std::vector<std::optional<Record>> ReadInGroups(std::size_t count, std::size_t most, const GroupReader& read)
{
    std::vector<std::optional<Record>> records(count);
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < count; ++i) {
        if (i % most == 0)
            groups.emplace_back();
        groups.back().push_back(i);
    }
    std::reverse(groups.begin(), groups.end());
    while (!groups.empty()) {
        std::vector<std::size_t> group = std::move(groups.back());
        groups.pop_back();
        if (group.size() < 2)
            continue;
        GroupAnswer answer = read(group);
        if (answer.Read) {
            for (std::size_t k = 0; k < group.size(); ++k)
                records[group[k]] = std::move(answer.Records[k]);
        } else if (!answer.Rejected.empty()) {
            std::vector<std::size_t> rest;
            for (std::size_t k = 0; k < group.size(); ++k)
                if (answer.Rejected.count(k) == 0)
                    rest.push_back(group[k]);
            groups.push_back(std::move(rest));
        } else {
            const auto middle = group.begin() + static_cast<std::ptrdiff_t>(group.size() / 2);
            groups.emplace_back(middle, group.end());
            groups.emplace_back(group.begin(), middle);
        }
    }
    return records;
}

// Macros in one group: no larger a source than a batch of existence tests.
std::size_t MostInGroup(const RunContext& context)
{
    return context.Limits.MacrosPerGroup;
}

// The group's positions that the compiler's errors name.
std::set<std::size_t> RejectedLines(const BatchSource& source, const CompileResult& result)
{
    std::set<std::size_t> rejected;
    for (const Diagnostic& diagnostic : ReadDiagnostics(result.Output())) {
        const BatchSource::Owner owner = source.OwnerOf(diagnostic);
        if (diagnostic.Severity == Diagnostic::Error && owner.What == BatchSource::Owner::Item)
            rejected.insert(owner.Index);
    }
    return rejected;
}

// A value whose expansion depends on where it stands (it uses __LINE__ or __COUNTER__) reads
// differently in a group than in its own probe. Every value is therefore expanded twice, on
// two lines: one that changes is left to its own probes, so that both methods give the
// value as expanded first in a source of its own.
std::optional<Record> SameBothTimes(const std::optional<std::string>& first, const std::optional<std::string>& second)
{
    if (!first || !second || *first != *second)
        return std::nullopt;
    return Record{*first};
}

// Native: one program prints every value, twice, as "@kxvK:LENGTH:" and the value, so that
// the value is known to its last byte, as the macro's own program would print it.
GroupAnswer RunGroup(const RunContext& context, const std::vector<std::string>& names,
                     const std::vector<std::size_t>& group)
{
    BatchSource source(std::string("deftest") + context.Opts.SourceExt());
    source.AddShared(kStringifyPrelude + context.PrintfDecl() + "\n" +
                     "static void kx_put(int kx_k, const char *kx_v)\n"
                     "{ unsigned long kx_n = 0; while (kx_v[kx_n]) ++kx_n; printf(\"@kxv%d:%lu:%s\", kx_k, kx_n, kx_v); }\n"
                     "int main(void) {\n");
    for (std::size_t k = 0; k < group.size(); ++k) {
        const std::string put = "kx_put(" + std::to_string(k) + ", M(" + names[group[k]] + "));\n";
        source.AddItem(k, put + put);
    }
    source.AddShared("return 0;}\n");
    const ProgramResult program = context.BuildAndRun(source.Text(), source.FileName());
    GroupAnswer answer;
    if (!program.Built) {
        answer.Rejected = RejectedLines(source, program.Build);
        return answer;
    }
    if (program.Run.TimedOut || program.Run.Signal != 0)
        return answer;
    const std::string& out = program.Run.Stdout;
    std::size_t at = 0;
    std::vector<std::string> printed;
    for (std::size_t j = 0; j < 2 * group.size(); ++j) {
        const std::string head = "@kxv" + std::to_string(j / 2) + ":";
        if (out.compare(at, head.size(), head) != 0)
            return answer;
        at += head.size();
        const std::size_t colon = out.find(':', at);
        if (colon == std::string::npos || colon == at || colon - at > 12)
            return answer;
        const std::string digits = out.substr(at, colon - at);
        if (digits.find_first_not_of("0123456789") != std::string::npos)
            return answer;
        const std::size_t length = std::stoul(digits);
        if (length > out.size() - colon - 1)
            return answer;
        printed.push_back(out.substr(colon + 1, length));
        at = colon + 1 + length;
    }
    for (std::size_t k = 0; k < group.size(); ++k)
        answer.Records.push_back(SameBothTimes(printed[2 * k], printed[2 * k + 1]));
    answer.Read = at == out.size();
    return answer;
}

// Cross: one object holds every value, twice, each literal between markers that name it.
GroupAnswer CompileGroup(const RunContext& context, const std::vector<std::string>& names,
                         const std::vector<std::size_t>& group)
{
    BatchSource source(std::string("deftest") + context.Opts.SourceExt());
    source.AddShared(kStringifyPrelude);
    for (std::size_t k = 0; k < group.size(); ++k) {
        const std::string id = std::to_string(k);
        source.AddItem(k, ObjectItem("v", id, names[group[k]]) + ObjectItem("u", id, names[group[k]]));
    }
    const CompileResult result = context.Compile(source.Text(), "deftest");
    GroupAnswer answer;
    if (!result.MadeObject()) {
        if (!result.Accepted())
            answer.Rejected = RejectedLines(source, result);
        return answer;
    }
    for (std::size_t k = 0; k < group.size(); ++k) {
        const std::string id = std::to_string(k);
        answer.Records.push_back(
            SameBothTimes(ReadObjectItem(*result.Object, "v", id), ReadObjectItem(*result.Object, "u", id)));
    }
    answer.Read = true;
    return answer;
}

}  // namespace

std::vector<std::string> ValuesOfOneMacro(const RunContext& context, const std::string& name)
{
    if (!context.Target.IsCrossCompiler)
        return FindValueByRunning(context, name);
    // The object holds the value's bytes exactly, where a header's name may come back
    // escaped, cut or replaced: the name is read only where no object tells.
    std::vector<std::string> values = FindValueInObject(context, name);
    if (values.empty())
        values = FindValueByIncludeName(context, name);
    return values;
}

std::vector<std::optional<std::vector<std::string>>> ValuesReadTogether(const RunContext& context,
                                                                      const std::vector<std::string>& names)
{
    // Text objects keep the literals in an encoded form.
    if (context.Target.IsCrossCompiler && !context.Target.ObjectIsBinary)
        return std::vector<std::optional<std::vector<std::string>>>(names.size());
    return ReadInGroups(names.size(), MostInGroup(context), [&](const std::vector<std::size_t>& group) {
        return context.Target.IsCrossCompiler ? CompileGroup(context, names, group) : RunGroup(context, names, group);
    });
}
