// The walk over the header trees named with -i: which files lie below every directory, and
// every identifier of every file, text and binary alike, as candidate macro names and
// keywords.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/Reporter.h"
#include "engine/phases/includes/IdentifierTable.h"

struct stat;

struct HeaderTrees {
    // Every directory walked, with the paths (relative to it) of the files below it.
    std::map<std::string, std::set<std::string>> DirFiles;
    // The identifiers harvested: the candidates of both macro and keyword discovery.
    std::set<std::string> Identifiers;
    // Files and directories of the trees that could not be read, each named in a message.
    int Unreadable = 0;
};

// Files larger than this are listed, but their identifiers are not harvested: no header is
// that large, and reading it whole would cost its size in memory.
constexpr std::uint64_t kHarvestLimit = std::uint64_t{64} << 20;

class HeaderScanner {
public:
    // Identifiers in the ignore list are never recorded. The files of a walk are harvested
    // by up to `threads` threads at once.
    HeaderScanner(const std::set<std::string>& ignoreKeywords, Reporter& report,
                  std::uint64_t harvestLimit = kHarvestLimit, unsigned threads = 1)
        : IgnoreKeywords(ignoreKeywords), Report(report), HarvestLimit(harvestLimit), Threads(threads) {}

    // Walks the search directories in the order given. Every real directory is walked once
    // and recorded under one name: the name given here when it is one of these directories,
    // otherwise the first name the walk meets it by.
    void ScanSearchDirectories(const std::vector<std::string>& directories);
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
    void Walk(const std::string& directory, const struct stat& self);
    void HarvestRegularFile(const std::string& path, std::uint64_t size);
    void HarvestQueued();

    // A file or directory as the system knows it: its device and inode.
    using Identity = std::pair<std::uint64_t, std::uint64_t>;

    const std::set<std::string>& IgnoreKeywords;
    Reporter& Report;  // the files and directories that cannot be read, and the files too large to harvest
    const std::uint64_t HarvestLimit;
    const unsigned Threads;
    // The regular files the walk met, with their sizes, to be harvested when it ends.
    std::vector<std::pair<std::string, std::uint64_t>> Queued;
    // What the harvest of the current file has to say, said in the order of the files.
    std::vector<std::string> Notes;
    // Every directory walked so far, under whatever name: links that lead to one directory
    // many times (cycles, or two links in each of a chain of directories) walk it once.
    std::set<Identity> Visited;
    // The search directories by identity, with the name they were given by.
    std::map<Identity, std::string> GivenNames;
    HeaderTrees Result;
    // Every identifier the walk has met, ignored ones included, so that the ordered
    // candidate set is consulted once per distinct name only.
    IdentifierTable ScannedIdentifiers;
    std::vector<std::string> PendingIdentifiers;
    std::string ScanBuffer;
};
