// Reading a compiler's messages about an included header: which copies of the header they
// name, and at which lines. A message that names a file names it with the line it speaks
// of ("file:LINE:", "file(LINE)", "file", line LINE), also in the chain of "included from"
// lines that leads from the test source to the error.
#pragma once

#include <string>
#include <vector>

struct HeaderMention {
    std::string Path;  // as the message spells it, "/." and "/.." steps folded out
    long Line = 0;     // the line number that follows the path; 0 when none does
};

// Every place where the messages name a file whose path ends in "/" + header.
std::vector<HeaderMention> MentionsOf(const std::string& messages, const std::string& header);

// True when the path names a file that exists on this host.
bool NamesFileHere(const std::string& path);

// True when the path names the file: the same text, or the same file on disk (a directory
// reached through a symbolic link, or spelt with "..").
bool SameFile(const std::string& path, const std::string& file);

// True when the given line of the file is a directive that includes a header of exactly
// this name, or of any name when the name is empty (#include, #include_next or #import,
// with <...> or "...").
bool LineIncludes(const std::string& file, long line, const std::string& header);
