// The template reader and the merge on a template, a NUL byte and the personality's lines: no
// entry holds a section tag, and merged lines come only from the personality or the entries.
#include <set>

#include "engine/core/TextUtilities.h"
#include "engine/output/TemplateMerge.h"
#include "tests/fuzz/Harness.h"

namespace {

bool HoldsTag(const std::string& line)
{
    for (const char* tag : {"<modify>", "</modify>", "<add>", "</add>", "<remove>", "</remove>"})
        if (line.find(tag) != std::string::npos)
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const TemplateSections sections = ReadTemplateSections(SplitLines(input.substr(0, split)));
    std::vector<std::string> lines =
        split == std::string::npos ? std::vector<std::string>{} : SplitLines(input.substr(split + 1));

    std::set<std::string> allowed(lines.begin(), lines.end());
    for (const auto* kind : {&sections.Modify, &sections.Add, &sections.Remove}) {
        for (const std::string& entry : *kind) {
            if (HoldsTag(entry))
                std::abort();
            allowed.insert(entry);
        }
    }
    const std::size_t before = lines.size();
    const std::vector<std::string> defines = lines;
    const std::vector<std::string> review = MergeTemplateSections(lines, sections, defines);
    if (review.size() > before)
        std::abort();
    for (const std::string& line : lines)
        if (allowed.count(line) == 0)
            std::abort();
    return 0;
}
