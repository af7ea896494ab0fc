#include "TemplateMerge.h"

#include "Files.h"
#include "Reporter.h"
#include "TextUtilities.h"

namespace {

const std::string kModifyBegin = "<modify>";
const std::string kModifyEnd = "</modify>";
const std::string kAddBegin = "<add>";
const std::string kAddEnd = "</add>";
const std::string kRemoveBegin = "<remove>";
const std::string kRemoveEnd = "</remove>";

struct TemplateSections {
    std::vector<std::string> Modify;
    std::vector<std::string> Add;
    std::vector<std::string> Remove;
};

struct SectionKind {
    const std::string* Begin;
    const std::string* End;
    std::vector<std::string> TemplateSections::*Entries;
};

// Reads a text file as lines; the last line counts also without a line end. A carriage
// return before the line end (a file saved with DOS line ends) is not part of the line.
bool ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    std::string content;
    if (!ReadWholeFile(path, content))
        return false;
    lines = SplitLines(content);
    return true;
}

bool ContainsExactly(const std::vector<std::string>& lines, const std::string& wanted)
{
    for (const std::string& line : lines) {
        if (line == wanted)
            return true;
    }
    return false;
}

}  // namespace

bool EntriesMatch(const std::string& a, const std::string& b)
{
    // Blanks, quotes and a parameter list do not distinguish two settings of one option:
    // only what stands before the "=" does.
    auto key = [](const std::string& line) {
        std::string text = RemoveParen(RemoveAllChar('"', RemoveAllChar(' ', line)));
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos)
            text.erase(equals);
        return text;
    };
    return key(a) == key(b);
}

void IncorporateTemplatePersonality(std::vector<std::string>& lines, const std::string& templatePersonality,
                                    const std::vector<std::string>& keywordDefineEntries)
{
    Say("Incorporating Template Personality");

    const SectionKind kinds[] = {
        {&kModifyBegin, &kModifyEnd, &TemplateSections::Modify},
        {&kAddBegin, &kAddEnd, &TemplateSections::Add},
        {&kRemoveBegin, &kRemoveEnd, &TemplateSections::Remove},
    };
    auto sayReview = [](const std::vector<std::string>& review) {
        Say("The following keywords may need to be reviewed:");
        for (const std::string& entry : review)
            Say(entry);
    };

    std::vector<std::string> templateLines;
    if (!ReadLines(templatePersonality, templateLines)) {
        Say("Cannot open template Personality File - " + templatePersonality);
        sayReview({});
        return;
    }

    // A section without its closing tag runs to the end of the template; its entries are
    // kept, since everything the user wrote after the opening tag was meant for it.
    TemplateSections sections;
    const SectionKind* open = nullptr;
    for (const std::string& line : templateLines) {
        if (open == nullptr) {
            for (const SectionKind& kind : kinds) {
                const std::size_t at = line.find(*kind.Begin);
                if (at == std::string::npos)
                    continue;
                // An opening line that also closes its section holds an empty section.
                if (line.find(*kind.End, at + kind.Begin->size()) == std::string::npos)
                    open = &kind;
                break;
            }
            continue;
        }
        if (line.find(*open->End) == std::string::npos) {
            (sections.*(open->Entries)).push_back(RemovePreAndTrailChars(' ', line));
            continue;
        }
        // The closing line may open the next section at once.
        open = nullptr;
        for (const SectionKind* kind : {&kinds[1], &kinds[2]}) {
            const std::size_t at = line.find(*kind->Begin);
            if (at == std::string::npos)
                continue;
            if (line.find(*kind->End, at + kind->Begin->size()) == std::string::npos)
                open = kind;
            break;
        }
    }

    std::vector<std::string> review;
    for (const std::string& entry : keywordDefineEntries) {
        if (!ContainsExactly(sections.Modify, entry) && !ContainsExactly(sections.Remove, entry))
            review.push_back(entry);
    }

    std::vector<bool> spent(sections.Modify.size(), false);
    for (std::string& line : lines) {
        const std::string* taken = nullptr;
        for (std::size_t i = 0; i < sections.Modify.size(); ++i) {
            if (!spent[i] && EntriesMatch(line, sections.Modify[i])) {
                spent[i] = true;
                taken = &sections.Modify[i];
            }
        }
        if (taken != nullptr)
            line = *taken;
    }

    std::vector<std::string> additions = sections.Add;
    for (std::size_t i = 0; i < sections.Modify.size(); ++i) {
        if (!spent[i])
            additions.push_back(sections.Modify[i]);
    }

    for (const std::string& entry : sections.Remove) {
        for (auto it = lines.begin(); it != lines.end(); ++it) {
            if (*it == entry) {
                lines.erase(it);
                break;
            }
        }
    }

    for (const std::string& entry : additions) {
        if (!ContainsExactly(lines, entry))
            lines.push_back(entry);
    }

    sayReview(review);
}
