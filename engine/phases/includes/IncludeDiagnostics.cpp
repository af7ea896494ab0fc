#include "engine/phases/includes/IncludeDiagnostics.h"

#include <cctype>
#include <sys/stat.h>

#include "engine/core/Files.h"
#include "engine/phases/includes/HeaderScan.h"
#include "engine/core/TextUtilities.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Characters that end a path on its left in a message: blanks, quotes of any kind (bytes
// above 0x7E belong to typographic quotes) and the brackets that enclose a path.
bool EndsPathOnTheLeft(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isspace(u) || u > 0x7E || c == '"' || c == '\'' || c == '`' || c == '(' || c == '<' || c == '[' ||
           c == '=' || c == ',';
}

// Characters that may continue a file name: after the header's name they show that the
// path names another file (stdint.h.gch, stdint.hpp).
bool ContinuesName(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '-' || c == '/';
}

// The number at the text's position, or 0.
long NumberAt(const std::string& text, std::size_t at)
{
    long value = 0;
    std::size_t digits = 0;
    for (; at < text.size() && IsDigit(text[at]) && digits < 9; ++at, ++digits)
        value = value * 10 + (text[at] - '0');
    return digits == 0 ? 0 : value;
}

// The line number that follows a path: "path:12", "path(12)", "path", line 12.
long LineAfter(const std::string& text, std::size_t at)
{
    if (at < text.size() && text[at] == '"')
        ++at;
    if (at + 1 < text.size() && (text[at] == ':' || text[at] == '(') && IsDigit(text[at + 1]))
        return NumberAt(text, at + 1);
    static const std::string kLineWord = ", line ";
    if (text.compare(at, kLineWord.size(), kLineWord) == 0)
        return NumberAt(text, at + kLineWord.size());
    return 0;
}

}  // namespace

std::vector<HeaderMention> MentionsOf(const std::string& messages, const std::string& header)
{
    std::vector<HeaderMention> mentions;
    if (header.empty())
        return mentions;
    const std::string tail = "/" + header;
    for (std::size_t at = messages.find(tail); at != std::string::npos; at = messages.find(tail, at + 1)) {
        const std::size_t end = at + tail.size();
        if (end < messages.size() && ContinuesName(messages[end]))
            continue;
        std::size_t begin = at;
        while (begin > 0 && !EndsPathOnTheLeft(messages[begin - 1]))
            --begin;
        HeaderMention mention;
        mention.Path = messages.substr(begin, end - begin);
        CorrectPathnames(mention.Path);
        mention.Line = LineAfter(messages, end);
        mentions.push_back(std::move(mention));
    }
    return mentions;
}

bool NamesFileHere(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool SameFile(const std::string& path, const std::string& file)
{
    std::string folded = file;
    CorrectPathnames(folded);
    if (path == folded)
        return true;
    struct stat a {};
    struct stat b {};
    return stat(path.c_str(), &a) == 0 && stat(file.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool LineIncludes(const std::string& file, long line, const std::string& header)
{
    if (line <= 0)
        return false;
    std::string content;
    if (!ReadWholeFile(file, content, nullptr, static_cast<std::size_t>(kHarvestLimit)))
        return false;
    std::size_t start = 0;
    for (long n = 1; n < line; ++n) {
        start = content.find('\n', start);
        if (start == std::string::npos)
            return false;
        ++start;
    }
    const std::size_t stop = content.find('\n', start);
    const std::string text = content.substr(start, stop == std::string::npos ? std::string::npos : stop - start);

    std::size_t at = 0;
    auto skipBlanks = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
    };
    skipBlanks();
    if (at == text.size() || text[at] != '#')
        return false;
    ++at;
    skipBlanks();
    if (text.compare(at, 7, "include") != 0 && text.compare(at, 6, "import") != 0)
        return false;
    while (at < text.size() && (std::isalpha(static_cast<unsigned char>(text[at])) || text[at] == '_'))
        ++at;
    skipBlanks();
    if (at == text.size() || (text[at] != '<' && text[at] != '"'))
        return false;
    const char close = text[at] == '<' ? '>' : '"';
    const std::size_t nameEnd = text.find(close, at + 1);
    return nameEnd != std::string::npos && (header.empty() || text.compare(at + 1, nameEnd - at - 1, header) == 0);
}
