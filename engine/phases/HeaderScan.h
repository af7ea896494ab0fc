// The walk over the header trees named with -i: which files lie below every directory, and
// every identifier of every file, text and binary alike, as candidate macro names and
// keywords.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "IdentifierTable.h"

struct HeaderTrees {
    // Every directory walked, with the paths (relative to it) of the files below it.
    std::map<std::string, std::set<std::string>> DirFiles;
    // The identifiers harvested: the candidates of both macro and keyword discovery.
    std::set<std::string> Identifiers;
};

class HeaderScanner {
public:
    // Identifiers in the ignore list are never recorded.
    explicit HeaderScanner(const std::set<std::string>& ignoreKeywords) : IgnoreKeywords(ignoreKeywords) {}

    // Walks the tree below the directory; false when it cannot be opened as a directory.
    bool ScanDirectory(const std::string& directory);
    // Harvests one file (text or binary by its first 1024 bytes).
    void ScanFile(const std::string& path);
    // Harvests one word, or a whole text.
    void Parse(const std::string& word);
    void ParseBuffer(const char* data, std::size_t size);
    void HarvestBinary(const std::string& content);

    const HeaderTrees& Trees() const { return Result; }
    HeaderTrees Take() { return std::move(Result); }

private:
    void RecordIdentifier(const char* begin, std::size_t length, std::uint64_t hash);
    void FlushPendingIdentifiers();
    void ParseText(const char* data, std::size_t size);
    void HarvestRuns(const std::string& content);
    void HarvestFile(const std::string& path);
    void RecordPieces(const char* begin, const char* end);
    bool ScanDirectoryGuarded(const std::string& directory,
                              std::vector<std::pair<std::uint64_t, std::uint64_t>>& active);

    const std::set<std::string>& IgnoreKeywords;
    HeaderTrees Result;
    // Every identifier the walk has met, ignored ones included, so that the ordered
    // candidate set is consulted once per distinct name only.
    IdentifierTable ScannedIdentifiers;
    std::vector<std::string> PendingIdentifiers;
    std::string ScanBuffer;
};

// True when the first 1024 bytes of the file hold no NUL byte (an unreadable file counts as
// text).
bool isTextFile(const std::string& path);
