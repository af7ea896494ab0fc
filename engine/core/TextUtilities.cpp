#include "engine/core/TextUtilities.h"

#include <string_view>

std::string RemovePreAndTrailChars(char c, const std::string& s)
{
    const std::size_t first = s.find_first_not_of(c);
    if (first == std::string::npos)
        return "";
    const std::size_t last = s.find_last_not_of(c);
    return s.substr(first, last - first + 1);
}

std::string RemoveAllChar(char c, const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char ch : s)
        if (ch != c)
            out.push_back(ch);
    return out;
}

std::string RemoveParen(const std::string& s)
{
    const std::size_t open = s.find('(');
    if (open == std::string::npos)
        return s;
    int depth = 0;
    for (std::size_t i = open; i < s.size(); ++i) {
        if (s[i] == '(')
            ++depth;
        else if (s[i] == ')' && --depth == 0)
            return s.substr(0, open) + s.substr(i + 1);
    }
    // Never closed: the span runs to the end, unless the text holds no closing parenthesis
    // at all and so no parenthesised span.
    return s.find(')') == std::string::npos ? s : s.substr(0, open);
}

std::string RemoveMismatchedQuotes(const std::string& s)
{
    std::size_t quotes = 0;
    for (char ch : s)
        if (ch == '"')
            ++quotes;
    if (quotes % 2 == 0)
        return s;
    return s.substr(0, s.rfind('"'));
}

void CorrectPathnames(std::string& path)
{
    static const char* const separators = " \n\t/\\";
    // The first piece runs up to the first separator; every later piece starts at one.
    std::vector<std::string_view> kept;
    const std::string_view text(path);
    std::size_t sep = text.find_first_of(separators);
    kept.push_back(text.substr(0, sep));
    while (sep != std::string::npos) {
        const std::size_t next = text.find_first_of(separators, sep + 1);
        const std::string_view piece = text.substr(sep, next == std::string::npos ? std::string::npos : next - sep);
        if (next == std::string::npos)
            kept.push_back(piece);
        else if (piece == "/..") {
            if (!kept.empty())
                kept.pop_back();
        } else if (piece != "/.") {
            kept.push_back(piece);
        }
        sep = next;
    }
    std::string out;
    out.reserve(path.size());
    for (std::string_view piece : kept)
        out += piece;
    path = std::move(out);
}

void RemoveNumbersAndFilename(std::string& text, const std::string& name)
{
    // One pass over the text: erasing each occurrence in place would cost the square of the
    // length on long messages.
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (!name.empty() && text.compare(i, name.size(), name) == 0) {
            i += name.size();
            continue;
        }
        const unsigned char u = static_cast<unsigned char>(text[i++]);
        if ((u >= '0' && u <= '9') || u == ' ' || u == '\t' || u == '\n' || u == '\v' || u == '\f' || u == '\r')
            continue;
        out.push_back(static_cast<char>(u));
    }
    text = std::move(out);
}

bool HoldsLineEnd(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}
