#include "engine/output/TemplateMerge.h"

#include <map>
#include <set>

#include "engine/core/Files.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"
#include "engine/core/TextUtilities.h"

namespace {

struct SectionKind {
    const char* Begin;
    const char* End;
    std::vector<std::string> TemplateSections::*Entries;
};

const SectionKind kModify{"<modify>", "</modify>", &TemplateSections::Modify};
const SectionKind kAdd{"<add>", "</add>", &TemplateSections::Add};
const SectionKind kRemove{"<remove>", "</remove>", &TemplateSections::Remove};
const SectionKind* const kKinds[] = {&kModify, &kAdd, &kRemove};

bool Holds(const std::string& line, const char* tag)
{
    return line.find(tag) != std::string::npos;
}

// The first section tag the line holds, opening or closing; nullptr when it holds none.
const char* AnyTag(const std::string& line)
{
    for (const SectionKind* kind : kKinds) {
        if (Holds(line, kind->Begin))
            return kind->Begin;
        if (Holds(line, kind->End))
            return kind->End;
    }
    return nullptr;
}

class SectionReader {
public:
    explicit SectionReader(TemplateSections& sections) : Sections(sections) {}

    void Read(const std::vector<std::string>& lines)
    {
        for (std::size_t i = 0; i < lines.size(); ++i)
            Line(lines[i], i + 1);
        if (Open != nullptr)
            Problem("the " + std::string(Open->Begin) + " section opened at line " + std::to_string(OpenedAt) +
                    " is never closed; its entries are ignored.");
    }

private:
    void Line(const std::string& line, std::size_t number)
    {
        if (Open == nullptr) {
            Outside(line, number, kKinds);
            return;
        }
        if (Holds(line, Open->End)) {
            std::vector<std::string>& entries = Sections.*(Open->Entries);
            entries.insert(entries.end(), Pending.begin(), Pending.end());
            Pending.clear();
            Open = nullptr;
            // The closing line may open the next section at once.
            const SectionKind* const next[] = {&kAdd, &kRemove};
            Outside(line, number, next, false);
            return;
        }
        if (const char* tag = AnyTag(line)) {
            // A tag inside a section means its closing tag went missing: what follows was
            // meant for another section, and taking it for this one would, say, add the lines
            // the user wanted removed.
            Problem("line " + std::to_string(number) + " holds " + tag + " inside the " + Open->Begin +
                    " section opened at line " + std::to_string(OpenedAt) +
                    ", which is not closed before it; that section's entries are ignored.");
            Pending.clear();
            Open = nullptr;
            Outside(line, number, kKinds);
            return;
        }
        Pending.push_back(RemovePreAndTrailChars(' ', line));
    }

    template <std::size_t N>
    void Outside(const std::string& line, std::size_t number, const SectionKind* const (&kinds)[N],
                 bool reportStray = true)
    {
        for (const SectionKind* kind : kinds) {
            const std::size_t at = line.find(kind->Begin);
            if (at == std::string::npos)
                continue;
            // An opening line that also closes its section holds an empty section.
            if (line.find(kind->End, at + std::char_traits<char>::length(kind->Begin)) == std::string::npos) {
                Open = kind;
                OpenedAt = number;
            }
            return;
        }
        if (!reportStray)
            return;
        for (const SectionKind* kind : kKinds) {
            if (Holds(line, kind->End))
                Problem("line " + std::to_string(number) + " closes a " + kind->Begin +
                        " section that was never opened.");
        }
    }

    void Problem(std::string text) { Sections.Problems.push_back(std::move(text)); }

    TemplateSections& Sections;
    const SectionKind* Open = nullptr;
    std::size_t OpenedAt = 0;
    std::vector<std::string> Pending;
};

// The key of a line: blanks, quotes and a parameter list do not distinguish two settings of
// one option; only what stands before the "=" does.
std::string EntryKey(const std::string& line)
{
    std::string text = RemoveParen(RemoveAllChar('"', RemoveAllChar(' ', line)));
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos)
        text.erase(equals);
    return text;
}

}  // namespace

TemplateSections ReadTemplateSections(const std::vector<std::string>& lines)
{
    TemplateSections sections;
    SectionReader(sections).Read(lines);
    return sections;
}

bool EntriesMatch(const std::string& a, const std::string& b)
{
    return EntryKey(a) == EntryKey(b);
}

std::vector<std::string> MergeTemplateSections(std::vector<std::string>& lines, const TemplateSections& sections,
                                               const std::vector<std::string>& keywordDefineEntries)
{
    const std::set<std::string> settled = [&] {
        std::set<std::string> entries(sections.Modify.begin(), sections.Modify.end());
        entries.insert(sections.Remove.begin(), sections.Remove.end());
        return entries;
    }();
    std::vector<std::string> review;
    for (const std::string& entry : keywordDefineEntries) {
        if (settled.count(entry) == 0)
            review.push_back(entry);
    }

    // The first line with a key takes every modify entry of that key and becomes the last
    // of them; the entries are spent, so later lines with the key stay as they are.
    std::map<std::string, std::vector<std::size_t>> modifyByKey;
    for (std::size_t i = 0; i < sections.Modify.size(); ++i)
        modifyByKey[EntryKey(sections.Modify[i])].push_back(i);
    std::vector<bool> spent(sections.Modify.size(), false);
    for (std::string& line : lines) {
        const auto found = modifyByKey.find(EntryKey(line));
        if (found == modifyByKey.end())
            continue;
        for (std::size_t i : found->second)
            spent[i] = true;
        line = sections.Modify[found->second.back()];
        modifyByKey.erase(found);
    }

    std::vector<std::string> additions = sections.Add;
    for (std::size_t i = 0; i < sections.Modify.size(); ++i) {
        if (!spent[i])
            additions.push_back(sections.Modify[i]);
    }

    // Each remove entry deletes the first line equal to it that is still there.
    std::map<std::string, std::size_t> removals;
    for (const std::string& entry : sections.Remove)
        ++removals[entry];
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    for (std::string& line : lines) {
        const auto found = removals.find(line);
        if (found != removals.end() && found->second > 0) {
            --found->second;
            continue;
        }
        kept.push_back(std::move(line));
    }
    lines = std::move(kept);

    std::set<std::string> present(lines.begin(), lines.end());
    for (const std::string& entry : additions) {
        if (present.insert(entry).second)
            lines.push_back(entry);
    }

    return review;
}

void IncorporateTemplatePersonality(std::vector<std::string>& lines, const std::string& templatePersonality,
                                    const std::vector<std::string>& keywordDefineEntries, Reporter& report)
{
    report.Say("Incorporating Template Personality");

    auto sayReview = [&report](const std::vector<std::string>& review) {
        report.Say("The following keywords may need to be reviewed:");
        for (const std::string& entry : review)
            report.Say(entry);
    };

    std::string content;
    std::string error;
    if (!ReadWholeFile(templatePersonality, content, &error, kMaxTextFileBytes)) {
        report.Say("Cannot open template Personality File - " + templatePersonality);
        sayReview({});
        throw RunFailure{"Error: Cannot read the template personality \"" + templatePersonality + "\": " + error};
    }
    const TemplateSections sections = ReadTemplateSections(SplitLines(content));
    sayReview(MergeTemplateSections(lines, sections, keywordDefineEntries));
    // Every fault is named, one line each, before the run ends.
    std::string faults;
    for (const std::string& problem : sections.Problems)
        faults += (faults.empty() ? "" : "\n") + ("Error: The template personality \"" + templatePersonality +
                                                   "\" cannot be used: " + problem);
    if (!faults.empty())
        throw RunFailure{faults};
}
