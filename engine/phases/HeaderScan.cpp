// Walks the header trees named with -i: records which files lie below every directory and
// harvests every identifier from text and binary files alike.
#include "HeaderScan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Reads a whole file with plain system calls; the header walk reads every file of the
// trees, so it avoids stream overhead. Named pipes and devices are never passed here.
bool ReadFileInto(const std::string& path, std::string& buffer)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    std::size_t capacity = fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 4096;
    buffer.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == buffer.size())
            buffer.resize(buffer.size() * 2);
        const ssize_t got = read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0) {
            close(fd);
            buffer.clear();
            return false;
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    close(fd);
    buffer.resize(used);
    return true;
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

bool isTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return true;
    char head[1024];
    in.read(head, sizeof head);
    const std::streamsize got = in.gcount();
    for (std::streamsize i = 0; i < got; ++i)
        if (head[i] == '\0')
            return false;
    return true;
}

void HeaderScanner::ScanFile(const std::string& path)
{
    HarvestFile(path);
    FlushPendingIdentifiers();
}

void HeaderScanner::HarvestFile(const std::string& path)
{
    if (!ReadFileInto(path, ScanBuffer))
        return;
    const std::size_t head = std::min<std::size_t>(ScanBuffer.size(), 1024);
    if (std::memchr(ScanBuffer.data(), '\0', head) == nullptr)
        ParseText(ScanBuffer.data(), ScanBuffer.size());
    else
        HarvestRuns(ScanBuffer);
}

bool HeaderScanner::ScanDirectory(const std::string& directory)
{
    std::vector<std::pair<std::uint64_t, std::uint64_t>> active;
    const bool opened = ScanDirectoryGuarded(directory, active);
    FlushPendingIdentifiers();
    return opened;
}

bool HeaderScanner::ScanDirectoryGuarded(const std::string& directory,
                                         std::vector<std::pair<std::uint64_t, std::uint64_t>>& active)
{
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr)
        return false;
    // A directory reached again through a symbolic link while it is still being walked
    // would be walked for ever; it is recognised by its device and inode.
    struct stat self {};
    if (fstat(dirfd(dir), &self) == 0) {
        const std::pair<std::uint64_t, std::uint64_t> id(self.st_dev, self.st_ino);
        for (const auto& open : active) {
            if (open == id) {
                closedir(dir);
                return false;
            }
        }
        active.push_back(id);
    } else {
        active.emplace_back(~0ULL, ~0ULL);
    }

    std::set<std::string> files;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = directory + "/" + name;
        struct stat info {};
        if (stat(path.c_str(), &info) != 0) {
            // A dangling link, or an entry whose status cannot be read: a file that
            // contributes nothing.
            files.insert(name);
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            ScanDirectoryGuarded(path, active);
            for (const std::string& below : Result.DirFiles[path])
                files.insert(name + "/" + below);
        } else {
            files.insert(name);
            // Opening a named pipe would block for ever, and devices and sockets hold no
            // header text.
            if (S_ISREG(info.st_mode))
                HarvestFile(path);
        }
    }
    closedir(dir);
    active.pop_back();
    Result.DirFiles.emplace(directory, std::move(files));
    return true;
}
