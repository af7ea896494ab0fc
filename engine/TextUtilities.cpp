#include "KestrixEngine.h"

#include <vector>

std::string KestrixEngine::RemovePreAndTrailChars(char c, const std::string& s) const
{
    const std::size_t first = s.find_first_not_of(c);
    if (first == std::string::npos)
        return "";
    const std::size_t last = s.find_last_not_of(c);
    return s.substr(first, last - first + 1);
}

std::string KestrixEngine::RemoveAllChar(char c, const std::string& s) const
{
    std::string out;
    out.reserve(s.size());
    for (char ch : s)
        if (ch != c)
            out.push_back(ch);
    return out;
}

std::string KestrixEngine::RemoveParen(const std::string& s) const
{
    const std::size_t open = s.find('(');
    const std::size_t close = s.find(')');
    if (open == std::string::npos || close == std::string::npos)
        return s;
    std::string out = s;
    if (close < open)
        out.erase(open);
    else
        out.erase(open, close - open + 1);
    return out;
}

std::string KestrixEngine::RemoveMismatchedQuotes(const std::string& s) const
{
    std::size_t quotes = 0;
    for (char ch : s)
        if (ch == '"')
            ++quotes;
    if (quotes % 2 == 0)
        return s;
    return s.substr(0, s.rfind('"'));
}

void KestrixEngine::CorrectPathnames(std::string& path) const
{
    static const char* const separators = " \n\t/\\";
    // The first piece runs up to the first separator; every later piece starts at one.
    std::vector<std::string> pieces;
    std::size_t sep = path.find_first_of(separators);
    pieces.push_back(path.substr(0, sep));
    while (sep != std::string::npos) {
        const std::size_t next = path.find_first_of(separators, sep + 1);
        pieces.push_back(path.substr(sep, next == std::string::npos ? std::string::npos : next - sep));
        sep = next;
    }

    std::vector<std::string> kept;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        if (i + 1 == pieces.size()) {
            kept.push_back(piece);
        } else if (piece == "/..") {
            if (!kept.empty())
                kept.pop_back();
        } else if (piece != "/.") {
            kept.push_back(piece);
        }
    }
    path.clear();
    for (const std::string& piece : kept)
        path += piece;
}

void KestrixEngine::RemoveNumbersAndFilename(std::string& text, const std::string& name) const
{
    if (!name.empty()) {
        std::size_t at = text.find(name);
        while (at != std::string::npos) {
            text.erase(at, name.size());
            at = text.find(name, at);
        }
    }
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const unsigned char u = static_cast<unsigned char>(ch);
        if ((u >= '0' && u <= '9') || u == ' ' || u == '\t' || u == '\n' || u == '\v' ||
            u == '\f' || u == '\r')
            continue;
        out.push_back(ch);
    }
    text = std::move(out);
}
