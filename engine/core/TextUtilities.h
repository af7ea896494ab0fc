// Small text transformations shared by the phases. They work on byte strings and hold no
// state.
#pragma once

#include <string>
#include <vector>

// A character of a C identifier (letters, digits, underscore; no extended characters).
inline bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The text without leading and trailing runs of c.
std::string RemovePreAndTrailChars(char c, const std::string& s);
// The text without any c.
std::string RemoveAllChar(char c, const std::string& s);
// The text without its first parenthesised span, parentheses nested inside it included. An
// opening parenthesis that is never closed takes the rest of the text with it, unless the
// text holds no closing parenthesis at all.
std::string RemoveParen(const std::string& s);
// The text cut before its last double quote when it holds an odd number of them.
std::string RemoveMismatchedQuotes(const std::string& s);
// Folds "/." and "/.." steps out of every path in a compiler message.
void CorrectPathnames(std::string& path);
// Removes every occurrence of name, then every digit and white-space character, so that two
// messages that differ only in line numbers, a file name or layout compare equal.
void RemoveNumbersAndFilename(std::string& text, const std::string& name);
// The text holds a line end (a line feed or a carriage return): it cannot stand on one line
// of a personality, a list file or a compile script.
bool HoldsLineEnd(const std::string& text);
// The lines of a text; a last line without its line end counts, a carriage return before a
// line end does not.
std::vector<std::string> SplitLines(const std::string& text);
