#include "engine/core/ListIterators.h"

bool line_iterator::ReadLine(std::istream& stream, std::string& line)
{
    line.clear();
    std::streambuf* buffer = stream.rdbuf();
    if (!stream.good() || buffer == nullptr) {
        stream.setstate(std::ios::failbit);
        return false;
    }
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            stream.setstate(std::ios::eofbit | std::ios::failbit);
            return false;
        }
        if (c == '\n')
            return true;
        if (c != '\r')
            line.push_back(static_cast<char>(c));
    }
}

void line_iterator::read()
{
    const bool terminated = ReadLine(*Stream, Line);
    Valid = terminated || !Line.empty();
}

void map_iterator::read()
{
    std::string line;
    const bool terminated = line_iterator::ReadLine(*Stream, line);
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
        Pair.first = line;
        Pair.second = line;
    } else {
        Pair.first = line.substr(0, eq);
        Pair.second = line.substr(eq + 1);
    }
    // A last line without its newline is still an entry: dropping it would silently lose
    // the user's last replacement.
    Valid = terminated || !line.empty();
}
