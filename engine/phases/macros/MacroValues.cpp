// The values of the predefined macros, as the compiler shows them.
//
// The plain probes cost one compile (or a build and a run) per macro and method. Read
// together, one program prints every value and one object holds them all, each framed by
// markers that name its macro; a macro whose line the compiler rejects is left to its own
// probes, and a group that fails without naming one is split in halves.
//
// The include-name method cannot be read together: a missing header ends the compile. For a
// value made of plain characters it says what the object says, on compilers that quote a
// header name as it was written; two samples, one of them holding every such character,
// decide that for the compiler at hand. Other values still get their own include probe.
#include "engine/phases/macros/MacroValues.h"

#include <algorithm>
#include <functional>
#include <set>

#include "engine/phases/batch/BatchSource.h"
#include "engine/phases/macros/MacroEntry.h"
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
        Say(source + " failed to compile! can't find value of: " + name);
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

// Compilers may quote the name more than once (the message, the echoed source line); every
// pair on one line is a reading. A "zzz" only closes a "yyy" that stands before it on the
// same line: a line with a "yyy" alone shows a name that the compiler cut or replaced after
// an error, and the text up to the end of that line is no value.
std::vector<std::string> ReadIncludeNameValues(const std::string& output)
{
    std::vector<std::string> values;
    std::size_t fromBegin = 0;
    std::size_t fromEnd = 0;
    for (;;) {
        const std::size_t begin = output.find(kValueBegin, fromBegin);
        if (begin == std::string::npos)
            break;
        const std::size_t valueStart = begin + kValueBegin.size();
        const std::size_t end = output.find(kValueEnd, std::max(fromEnd, valueStart));
        if (end == std::string::npos)
            break;
        fromBegin = begin + 1;
        if (output.find('\n', begin) < end)
            continue;
        values.push_back(output.substr(valueStart, end - valueStart));
        fromEnd = end + 1;
    }
    return values;
}

std::vector<std::string> FindValueByIncludeName(const RunContext& context, const std::string& name)
{
    return ReadIncludeNameValues(context.Compile(kStringifyPrelude + IncludeNameTest(name), "deftest").Output());
}

// The value as the object method reads it from the literal "yyy" VALUE "zzz": up to the
// first "zzz" after the "yyy".
std::optional<std::string> ReadObjectValue(const std::string& content, std::size_t from = 0)
{
    const std::size_t begin = content.find(kValueBegin, from);
    if (begin == std::string::npos)
        return std::nullopt;
    const std::size_t valueStart = begin + kValueBegin.size();
    const std::size_t end = content.find(kValueEnd, valueStart);
    if (end == std::string::npos)
        return std::nullopt;
    return content.substr(valueStart, end - valueStart);
}

// Cross compilers, second method: the stringified expansion is concatenated between two
// marker strings, and the compiler stores the whole literal in the object's data.
std::vector<std::string> FindValueInObject(const RunContext& context, const std::string& name)
{
    // Text objects (listings of small-target compilers) keep the literal in an encoded
    // form, so the compile would be wasted.
    if (!context.Target.ObjectIsBinary)
        return {};
    const std::string text = kStringifyPrelude + "char s[] =  \"" + kValueBegin + "\" M(" + name + ") \"" +
                             kValueEnd + "\";\n";
    const CompileResult result = context.Compile(text, "deftest");
    if (!result.MadeObject())
        return {};
    std::optional<std::string> value = ReadObjectValue(*result.Object);
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

// The text between the two markers, when each stands in the bytes exactly once.
std::optional<std::string> Between(const std::string& bytes, const std::string& open, const std::string& close)
{
    const std::size_t begin = bytes.find(open);
    const std::size_t end = bytes.find(close);
    if (begin == std::string::npos || end == std::string::npos || bytes.find(open, begin + 1) != std::string::npos ||
        bytes.find(close, end + 1) != std::string::npos || end < begin + open.size())
        return std::nullopt;
    return bytes.substr(begin + open.size(), end - begin - open.size());
}

// Native: one program prints every value as "@kxvK:LENGTH:" and the value, so that the value
// is known to its last byte, as the macro's own program would print it.
GroupAnswer RunGroup(const RunContext& context, const std::vector<std::string>& names,
                     const std::vector<std::size_t>& group)
{
    BatchSource source(std::string("deftest") + context.Opts.SourceExt());
    source.AddShared(kStringifyPrelude + context.PrintfDecl() + "\n" +
                     "static void kx_put(int kx_k, const char *kx_v)\n"
                     "{ unsigned long kx_n = 0; while (kx_v[kx_n]) ++kx_n; printf(\"@kxv%d:%lu:%s\", kx_k, kx_n, kx_v); }\n"
                     "int main(void) {\n");
    for (std::size_t k = 0; k < group.size(); ++k)
        source.AddItem(k, "kx_put(" + std::to_string(k) + ", M(" + names[group[k]] + "));\n");
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
    for (std::size_t k = 0; k < group.size(); ++k) {
        const std::string head = "@kxv" + std::to_string(k) + ":";
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
        answer.Records.push_back(Record{out.substr(colon + 1, length)});
        at = colon + 1 + length;
    }
    answer.Read = at == out.size();
    return answer;
}

// Cross: one object holds, for every macro, its value as the literal "@kxvK:yyy" VALUE
// "zzz@kxeK:" (known to its last byte), and the name the include-name method would look for:
// a #line directive takes the same stringified name in the same kind of line as #include
// does, and __FILE__ then gives it back.
GroupAnswer CompileGroup(const RunContext& context, const std::string& prelude, const std::vector<std::string>& names,
                         const std::vector<std::size_t>& group)
{
    BatchSource source(std::string("deftest") + context.Opts.SourceExt());
    source.AddShared(kStringifyPrelude + prelude);
    for (std::size_t k = 0; k < group.size(); ++k) {
        const std::string id = std::to_string(k);
        const std::string& name = names[group[k]];
        source.AddItem(k, "char kx_v" + id + "[] = \"@kxv" + id + ":" + kValueBegin + "\" M(" + name + ") \"" +
                              kValueEnd + "@kxe" + id + ":\";\n" +
                              "#line 1 M(" + kValueBegin + " " + name + " " + kValueEnd + ")\n" +
                              "char kx_w" + id + "[] = \"@kxw" + id + ":\" __FILE__ \"@kxf" + id + ":\";\n" +
                              "#line " + std::to_string(source.LineNumber() + 4) + " \"" + source.FileName() + "\"\n");
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
        const std::optional<std::string> value =
            Between(*result.Object, "@kxv" + id + ":" + kValueBegin, kValueEnd + "@kxe" + id + ":");
        const std::optional<std::string> header = Between(*result.Object, "@kxw" + id + ":", "@kxf" + id + ":");
        if (!value)
            answer.Records.emplace_back();
        else if (!header)
            answer.Records.push_back(Record{*value});
        else
            answer.Records.push_back(Record{*value, *header});
    }
    answer.Read = true;
    return answer;
}

// Two samples of macros for the include-name method: one empty, one holding every character
// a plain value may have, spaced in every way, with macros expanded inside it.
const std::string kSampleInner = "KX_SAMPLE_INNER";
const std::string kSampleEmpty = "KX_SAMPLE_EMPTY";
const std::string kSampleFull = "KX_SAMPLE_FULL";
const std::string kSampleDefines =
    "#define " + kSampleInner + " (17 - 1)\n#define " + kSampleEmpty + "\n#define " + kSampleFull +
    " (" + kSampleInner + "+1) * -2 % 3 << 4 >= 5 && !6 || ~7 ^ 8 | 9 & 10 ? 11 : 12; a.b c->d [13] {14} "
    "f(15, 16) 1.5e+3f 0x1fUL == != += -- ++ 'q' " + kSampleInner + " " + kSampleEmpty + " _Q9 xyzzy LONG_Name Wx\n";

// A value the samples speak for: only their characters, no longer than the full sample.
bool IsPlainValue(const std::string& value, std::size_t longest)
{
    static const std::string kPunctuation = "_ ()+-*%<>=!&|~^?:.,;[]{}'";
    if (value.size() > longest)
        return false;
    for (char c : value) {
        const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric && kPunctuation.find(c) == std::string::npos)
            return false;
    }
    return true;
}

// The entries that the values give for the name, once cleaned.
std::set<std::string> EntriesOf(const std::vector<std::string>& values, const std::string& name)
{
    std::set<std::string> entries;
    CapturedLines quiet;
    for (const std::string& value : values)
        TidyAndAddDefine(value, name, entries);
    return entries;
}

// The values the include-name method would read, as far as the header's name tells them.
std::vector<std::string> ValuesInHeaderName(const std::string& header)
{
    return ReadIncludeNameValues(header + "\n");
}

// True when the compiler's message about the sample's missing header adds to the object's
// value just what the header's name holds.
bool IncludeNameAgrees(const RunContext& context, const std::string& sample, const Record& record)
{
    const std::string output =
        context.Compile(kStringifyPrelude + kSampleDefines + IncludeNameTest(sample), "deftest").Output();
    std::vector<std::string> shown = ReadIncludeNameValues(output);
    std::vector<std::string> predicted = ValuesInHeaderName(record[1]);
    shown.push_back(record[0]);
    predicted.push_back(record[0]);
    return EntriesOf(shown, sample) == EntriesOf(predicted, sample);
}

std::vector<std::optional<std::vector<std::string>>> ProgramValues(const RunContext& context,
                                                                   const std::vector<std::string>& names)
{
    std::vector<std::optional<Record>> records = ReadInGroups(
        names.size(), MostInGroup(context), [&](const std::vector<std::size_t>& group) { return RunGroup(context, names, group); });
    return records;
}

std::vector<std::optional<std::vector<std::string>>> ObjectValues(const RunContext& context,
                                                                  const std::vector<std::string>& names)
{
    // The samples ride along with the macros.
    std::vector<std::string> all = names;
    all.insert(all.end(), {kSampleEmpty, kSampleFull});
    const std::vector<std::optional<Record>> records = ReadInGroups(
        all.size(), MostInGroup(context), [&](const std::vector<std::size_t>& group) { return CompileGroup(context, kSampleDefines, all, group); });
    const std::optional<Record>& empty = records[names.size()];
    const std::optional<Record>& full = records[names.size() + 1];
    const bool samplesRead = empty && full && empty->size() == 2 && full->size() == 2;
    const std::size_t longest = samplesRead ? full->front().size() : 0;
    const bool headerNamesAsRead = samplesRead && IsPlainValue(full->front(), longest) &&
                                   IncludeNameAgrees(context, kSampleEmpty, *empty) &&
                                   IncludeNameAgrees(context, kSampleFull, *full);

    std::vector<std::optional<std::vector<std::string>>> values(names.size());
    context.ForEach(
        names.size(),
        [&](std::size_t i) -> std::optional<std::vector<std::string>> {
            if (!records[i])
                return std::nullopt;
            const Record& record = *records[i];
            // The object method reads up to the first "zzz" after the "yyy".
            const std::string objectValue = *ReadObjectValue(kValueBegin + record[0] + kValueEnd);
            std::vector<std::string> found;
            if (headerNamesAsRead && record.size() == 2 && IsPlainValue(record[0], longest))
                found = ValuesInHeaderName(record[1]);
            else
                found = FindValueByIncludeName(context, names[i]);
            found.push_back(objectValue);
            return found;
        },
        [&](std::size_t i, std::optional<std::vector<std::string>> found) { values[i] = std::move(found); });
    return values;
}

}  // namespace

std::vector<std::string> ValuesOfOneMacro(const RunContext& context, const std::string& name)
{
    if (!context.Target.IsCrossCompiler)
        return FindValueByRunning(context, name);
    std::vector<std::string> values = FindValueByIncludeName(context, name);
    for (std::string& value : FindValueInObject(context, name))
        values.push_back(std::move(value));
    return values;
}

std::vector<std::optional<std::vector<std::string>>> ValuesReadTogether(const RunContext& context,
                                                                      const std::vector<std::string>& names)
{
    if (!context.Target.IsCrossCompiler)
        return ProgramValues(context, names);
    // Text objects keep the literals in an encoded form.
    if (context.Target.ObjectIsBinary)
        return ObjectValues(context, names);
    return std::vector<std::optional<std::vector<std::string>>>(names.size());
}
