// Reads the #define lines of a header and the conditionals around them. Only the
// directives' own shape is read: which branch a conditional takes is left to the compiler.
#include "engine/phases/includes/HeaderCopies.h"

#include <vector>

#include "engine/core/TextUtilities.h"

namespace {

void SkipBlanks(const std::string& text, std::size_t& at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
}

std::string Word(const std::string& text, std::size_t& at)
{
    SkipBlanks(text, at);
    const std::size_t start = at;
    while (at < text.size() && IsIdentifierChar(text[at]))
        ++at;
    return text.substr(start, at - start);
}

// The logical lines: a backslash at the end of a line joins the next one.
std::vector<std::string> LogicalLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string pending;
    for (std::string line : SplitLines(text)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.back() == '\\') {
            line.pop_back();
            pending += line;
            continue;
        }
        lines.push_back(pending + line);
        pending.clear();
    }
    if (!pending.empty())
        lines.push_back(pending);
    return lines;
}

}  // namespace

CopyDefinitions ReadDefinitions(const std::string& text)
{
    CopyDefinitions copy;
    std::set<std::string> tested;
    std::set<std::string> unconditional;
    int depth = 0;
    // The include guard: an #ifndef G as the first directive, #define G as the second.
    int directives = 0;
    std::string guard;
    bool guarded = false;
    bool guardBranch = false;  // inside the guard's first branch, at depth 1
    for (const std::string& line : LogicalLines(text)) {
        std::size_t at = 0;
        SkipBlanks(line, at);
        if (at == line.size() || line[at] != '#')
            continue;
        ++at;
        const std::string directive = Word(line, at);
        ++directives;
        if (directive == "include" || directive == "include_next" || directive == "import")
            copy.Includes = true;
        if (directive == "if" || directive == "ifdef" || directive == "ifndef") {
            for (std::size_t p = at; p < line.size();) {
                if (IsIdentifierChar(line[p])) {
                    const std::size_t start = p;
                    while (p < line.size() && IsIdentifierChar(line[p]))
                        ++p;
                    tested.insert(line.substr(start, p - start));
                } else {
                    ++p;
                }
            }
            if (directives == 1 && directive == "ifndef") {
                std::size_t name = at;
                guard = Word(line, name);
            }
            ++depth;
        } else if (directive == "elif" || directive == "else") {
            if (depth == 1)
                guardBranch = false;
        } else if (directive == "endif") {
            if (depth > 0)
                --depth;
            if (depth == 0)
                guardBranch = false;
        } else if (directive == "define" || directive == "undef") {
            const std::string name = Word(line, at);
            if (name.empty())
                continue;
            // An #undef before the #define (a header making sure of its own value) leaves
            // the name defined; one after it, or in a branch, may not.
            if (directive == "undef") {
                unconditional.erase(name);
                continue;
            }
            copy.All.insert(name);
            if (directives == 2 && depth == 1 && name == guard) {
                guarded = true;
                guardBranch = true;
            }
            if (depth == 0 || (depth == 1 && guarded && guardBranch))
                unconditional.insert(name);
        }
    }
    for (const std::string& name : unconditional)
        if (tested.count(name) == 0)
            copy.Sure.insert(name);
    return copy;
}
