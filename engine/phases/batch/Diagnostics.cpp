#include "engine/phases/batch/Diagnostics.h"

#include <algorithm>
#include <cctype>

#include "engine/core/TextUtilities.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The kind a message names right behind its location: "error", "fatal error", "warning 215",
// "Error[Pe020]", "note" ... The column may follow the line after a dot ("t.c:7.8: error:"),
// which must not hide the kind: an error read as a mere message leaves the item it names
// unjudged.
Diagnostic::Kind KindOf(const std::string& rest)
{
    std::size_t at = 0;
    if (rest.size() > 1 && rest[0] == '.' && IsDigit(rest[1]))
        ++at;
    while (at < rest.size() && (IsDigit(rest[at]) || IsBlank(rest[at]) || rest[at] == ':' || rest[at] == ',' ||
                                rest[at] == ')'))
        ++at;
    std::string field = rest.substr(at, rest.find(':', at) == std::string::npos ? std::string::npos
                                                                                : rest.find(':', at) - at);
    std::transform(field.begin(), field.end(), field.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (field.find("warning") != std::string::npos)
        return Diagnostic::Warning;
    if (field.find("error") != std::string::npos || field.find("fatal") != std::string::npos)
        return Diagnostic::Error;
    if (field.find("note") != std::string::npos)
        return Diagnostic::Note;
    return Diagnostic::Other;
}

// Reads the location at the start of a message line: the file name (which has a dot in it)
// and the line number. False when the line does not start with one.
bool ReadLocation(const std::string& line, Diagnostic& found)
{
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    std::string name;
    std::size_t digits = std::string::npos;
    if (start < line.size() && line[start] == '"') {
        // "t.c", line 12: ...   or   "t.c",12  Error[...]
        const std::size_t close = line.find('"', start + 1);
        if (close == std::string::npos || close + 1 >= line.size() || line[close + 1] != ',')
            return false;
        name = line.substr(start + 1, close - start - 1);
        std::size_t at = close + 2;
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        if (line.compare(at, 4, "line") == 0)
            at += 4;
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        digits = at;
    } else {
        // t.c:12:5: ...   t.c:12: ...   t.c(12) : ...   C:\src\t.c(12,5): ...
        for (std::size_t at = start; at + 1 < line.size() && !IsBlank(line[at]); ++at) {
            if ((line[at] == ':' || line[at] == '(') && IsDigit(line[at + 1])) {
                name = line.substr(start, at - start);
                digits = at + 1;
                break;
            }
        }
    }
    if (digits == std::string::npos || digits >= line.size() || !IsDigit(line[digits]) ||
        name.find('.') == std::string::npos)
        return false;
    std::size_t end = digits;
    long number = 0;
    while (end < line.size() && IsDigit(line[end]) && number < 100000000)
        number = number * 10 + (line[end++] - '0');
    found.File = BaseName(name);
    found.Line = number;
    found.Severity = KindOf(line.substr(end));
    return true;
}

}  // namespace

std::vector<Diagnostic> ReadDiagnostics(const std::string& output)
{
    std::vector<Diagnostic> diagnostics;
    for (const std::string& line : SplitLines(output)) {
        Diagnostic located;
        if (ReadLocation(line, located)) {
            located.Text = line + "\n";
            diagnostics.push_back(std::move(located));
            continue;
        }
        if (diagnostics.empty())
            diagnostics.emplace_back();
        diagnostics.back().Text += line + "\n";
    }
    return diagnostics;
}
