// Walks the header trees named with -i: records which files lie below every directory and
// harvests every identifier from text and binary files alike.
#include "engine/phases/includes/HeaderScan.h"

#include "engine/core/Files.h"
#include "engine/core/Reporter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <thread>

namespace {

enum ByteClass : unsigned char { Space, IdentChar, Delimiter, Invalid };

constexpr std::array<ByteClass, 256> MakeByteClasses()
{
    std::array<ByteClass, 256> table{};
    for (int c = 0; c < 256; ++c) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r')
            table[c] = Space;
        else if (c < 0x20 || c > 0x7E)
            table[c] = Invalid;
        else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            table[c] = IdentChar;
        else
            table[c] = Delimiter;
    }
    return table;
}

constexpr std::array<ByteClass, 256> kByteClass = MakeByteClasses();

inline ByteClass ClassOf(char c)
{
    return kByteClass[static_cast<unsigned char>(c)];
}

inline bool StartsIdentifier(char c)
{
    return ClassOf(c) == IdentChar && !(c >= '0' && c <= '9');
}

std::string SizeText(std::uint64_t bytes)
{
    const std::uint64_t mebibyte = std::uint64_t{1} << 20;
    return bytes % mebibyte == 0 ? std::to_string(bytes / mebibyte) + " MiB" : std::to_string(bytes) + " bytes";
}

}  // namespace

void HeaderScanner::RecordIdentifier(const char* begin, std::size_t length, std::uint64_t hash)
{
    const std::string_view name(begin, length);
    if (!ScannedIdentifiers.Insert(name, hash))
        return;
    std::string identifier(name);
    if (IgnoreKeywords.count(identifier) == 0)
        PendingIdentifiers.push_back(std::move(identifier));
}

// Moves the identifiers met for the first time into the ordered candidate sets; sorted
// first, so that the set is filled from its end.
void HeaderScanner::FlushPendingIdentifiers()
{
    std::sort(PendingIdentifiers.begin(), PendingIdentifiers.end());
    for (std::string& identifier : PendingIdentifiers)
        Result.Identifiers.emplace_hint(Result.Identifiers.end(), std::move(identifier));
    PendingIdentifiers.clear();
}

// Records the identifiers of a run that holds only printable bytes: it is cut at every
// delimiter, and pieces that begin with a digit are numbers.
void HeaderScanner::RecordPieces(const char* begin, const char* end)
{
    const char* p = begin;
    while (p < end) {
        if (ClassOf(*p) != IdentChar) {
            ++p;
            continue;
        }
        const char* start = p;
        do
            ++p;
        while (p < end && ClassOf(*p) == IdentChar);
        if (StartsIdentifier(*start)) {
            const std::size_t length = static_cast<std::size_t>(p - start);
            RecordIdentifier(start, length, IdentifierTable::Hash(start, length));
        }
    }
}

void HeaderScanner::Parse(const std::string& word)
{
    for (char c : word)
        if (c < 0x20 || c > 0x7E)
            return;
    RecordPieces(word.data(), word.data() + word.size());
    FlushPendingIdentifiers();
}

void HeaderScanner::ParseBuffer(const char* data, std::size_t size)
{
    ParseText(data, size);
    FlushPendingIdentifiers();
}

void HeaderScanner::ParseText(const char* data, std::size_t size)
{
    // One pass: the identifier pieces of the current word are held back until the word
    // ends, because a word with a control byte or a byte above 0x7E is dropped whole: it is
    // not source text that the compiler could treat as an identifier.
    struct Piece {
        const char* Begin;
        std::size_t Length;
        std::uint64_t Hash;
    };
    Piece pieces[64];
    std::size_t count = 0;
    bool overflow = false;
    bool valid = true;
    const char* wordStart = data;
    auto finishWord = [&](const char* wordEnd) {
        if (valid) {
            if (overflow) {
                RecordPieces(wordStart, wordEnd);
            } else {
                for (std::size_t i = 0; i < count; ++i)
                    RecordIdentifier(pieces[i].Begin, pieces[i].Length, pieces[i].Hash);
            }
        }
        count = 0;
        overflow = false;
        valid = true;
    };

    const char* p = data;
    const char* const end = data + size;
    while (p < end) {
        switch (ClassOf(*p)) {
        case Space:
            finishWord(p);
            ++p;
            wordStart = p;
            break;
        case IdentChar: {
            const char* start = p;
            do
                ++p;
            while (p < end && ClassOf(*p) == IdentChar);
            if (StartsIdentifier(*start)) {
                const std::size_t length = static_cast<std::size_t>(p - start);
                if (count < std::size(pieces))
                    pieces[count++] = {start, length, IdentifierTable::Hash(start, length)};
                else
                    overflow = true;
            }
            break;
        }
        case Invalid:
            valid = false;
            ++p;
            break;
        default:
            ++p;
            break;
        }
    }
    finishWord(end);
}

void HeaderScanner::HarvestBinary(const std::string& content)
{
    HarvestRuns(content);
    FlushPendingIdentifiers();
}

void HeaderScanner::HarvestRuns(const std::string& content)
{
    const char* const data = content.data();
    const std::size_t size = content.size();
    const char* nul = static_cast<const char*>(std::memchr(data, '\0', size));
    while (nul != nullptr) {
        const char* start = nul;
        while (start > data && nul - start < 127) {
            const unsigned char c = static_cast<unsigned char>(start[-1]);
            if (c < 0x20 || c > 0x7E)
                break;
            --start;
        }
        if (start < nul)
            RecordPieces(start, nul);
        const char* next = nul + 1;
        nul = next < data + size ? static_cast<const char*>(std::memchr(next, '\0', static_cast<std::size_t>(data + size - next))) : nullptr;
    }
}

void HeaderScanner::ScanFile(const std::string& path)
{
    HarvestFile(path);
    FlushPendingIdentifiers();
}

void HeaderScanner::HarvestFile(const std::string& path)
{
    // An empty file holds nothing, and files of /proc claim to be empty although reading
    // them may block or take what they hold away from their reader (/proc/kmsg).
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        HarvestRegularFile(path, static_cast<std::uint64_t>(info.st_size));
    Report.SayAll(Notes);
    Notes.clear();
}

void HeaderScanner::HarvestRegularFile(const std::string& path, std::uint64_t size)
{
    if (size > HarvestLimit) {
        Notes.push_back("The identifiers of \"" + path + "\" were not harvested: the file is larger than " +
                        SizeText(HarvestLimit) + ", which no header is.");
        return;
    }
    // The buffer is kept from file to file: the walk reads every file of the trees. A file
    // that cannot be read contributes nothing, and its identifiers are missing.
    std::string error;
    if (!ReadWholeFile(path, ScanBuffer, &error, static_cast<std::size_t>(HarvestLimit))) {
        Notes.push_back("Error: Cannot read \"" + path + "\" of the search directories: " + error +
                        "; the macros and keywords only it names may be missing.");
        ++Result.Unreadable;
        return;
    }
    const std::size_t head = std::min<std::size_t>(ScanBuffer.size(), 1024);
    if (std::memchr(ScanBuffer.data(), '\0', head) == nullptr)
        ParseText(ScanBuffer.data(), ScanBuffer.size());
    else
        HarvestRuns(ScanBuffer);
}

void HeaderScanner::ScanSearchDirectories(const std::vector<std::string>& directories)
{
    for (const std::string& directory : directories) {
        struct stat info {};
        if (stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            GivenNames.emplace(Identity(info.st_dev, info.st_ino), directory);
    }
    for (const std::string& directory : directories)
        ScanDirectory(directory);
}

bool HeaderScanner::ScanDirectory(const std::string& directory)
{
    struct stat info {};
    if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    const Identity id(info.st_dev, info.st_ino);
    const auto given = GivenNames.find(id);
    // Walked already: below an earlier search directory, or under the name given first.
    if (Visited.count(id) != 0 || (given != GivenNames.end() && given->second != directory))
        return true;
    Walk(directory, info);
    HarvestQueued();
    FlushPendingIdentifiers();
    return true;
}

// Reading and cutting the files is most of the walk's time, and each file is harvested on
// its own: scanners of their own take the files in turn, and their new names meet in this
// one's table. What they say is said in the order of the files, as a single scanner would.
void HeaderScanner::HarvestQueued()
{
    std::vector<std::pair<std::string, std::uint64_t>> files = std::move(Queued);
    Queued.clear();
    const std::size_t threads = std::min<std::size_t>(Threads, files.size() / 64);
    std::vector<std::vector<std::string>> notes(files.size());
    if (threads < 2) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            HarvestRegularFile(files[i].first, files[i].second);
            notes[i] = std::move(Notes);
            Notes.clear();
        }
    } else {
        std::vector<std::unique_ptr<HeaderScanner>> workers;
        for (std::size_t t = 0; t < threads; ++t)
            workers.push_back(std::make_unique<HeaderScanner>(IgnoreKeywords, Report, HarvestLimit));
        std::atomic<std::size_t> next{0};
        std::vector<std::thread> running;
        for (std::size_t t = 0; t < threads; ++t)
            running.emplace_back([&, worker = workers[t].get()] {
                for (std::size_t i = next++; i < files.size(); i = next++) {
                    worker->HarvestRegularFile(files[i].first, files[i].second);
                    notes[i] = std::move(worker->Notes);
                    worker->Notes.clear();
                }
                // Sorted here, on the worker's own processor, for the merge below.
                std::sort(worker->PendingIdentifiers.begin(), worker->PendingIdentifiers.end());
            });
        for (std::thread& thread : running)
            thread.join();
        // The workers' new names, merged in order: the candidate set is filled from its end.
        // A name met before this walk (in an earlier directory) is dropped by the set itself.
        std::vector<std::string> merged;
        for (const std::unique_ptr<HeaderScanner>& worker : workers) {
            Result.Unreadable += worker->Result.Unreadable;
            std::vector<std::string> both;
            both.reserve(merged.size() + worker->PendingIdentifiers.size());
            std::merge(std::make_move_iterator(merged.begin()), std::make_move_iterator(merged.end()),
                       std::make_move_iterator(worker->PendingIdentifiers.begin()),
                       std::make_move_iterator(worker->PendingIdentifiers.end()), std::back_inserter(both));
            merged = std::move(both);
        }
        merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
        for (std::string& name : merged)
            Result.Identifiers.emplace_hint(Result.Identifiers.end(), std::move(name));
    }
    for (const std::vector<std::string>& said : notes)
        Report.SayAll(said);
}

void HeaderScanner::Walk(const std::string& directory, const struct stat& self)
{
    Visited.emplace(self.st_dev, self.st_ino);
    // In the order of the names, so that of two links to one directory the same one is
    // walked on every run, whatever order the file system lists them in.
    std::vector<std::string> names;
    if (!SortedDirectoryEntries(directory, names)) {
        Report.Say("Error: Cannot read the directory \"" + directory + "\" of the search directories: " + ErrnoText() +
            "; its headers are left out.");
        ++Result.Unreadable;
    }

    std::set<std::string> files;
    for (const std::string& name : names) {
        const std::string path = directory + "/" + name;
        struct stat info {};
        // A dangling link, a named pipe, a socket or a device is no header that the
        // compiler could read; only regular files are listed.
        if (stat(path.c_str(), &info) != 0)
            continue;
        if (S_ISREG(info.st_mode)) {
            // An empty file is left out too: files of /proc claim to be empty, and a
            // compiler asked to include one may block (/proc/kmsg).
            if (info.st_size > 0) {
                files.insert(name);
                Queued.emplace_back(path, static_cast<std::uint64_t>(info.st_size));
            }
            continue;
        }
        if (!S_ISDIR(info.st_mode))
            continue;
        const Identity id(info.st_dev, info.st_ino);
        const auto given = GivenNames.find(id);
        if (given != GivenNames.end() && given->second != path)
            continue;  // listed under the name the user gave it
        if (Visited.count(id) == 0) {
            Walk(path, info);
        } else if (Result.DirFiles.count(path) == 0) {
            // Met again through a link: a cycle, or another way into a directory that is
            // listed under its first name already.
            continue;
        }
        for (const std::string& below : Result.DirFiles[path])
            files.insert(name + "/" + below);
    }
    Result.DirFiles.emplace(directory, std::move(files));
}
