// The set of identifiers the header walk has already met. The walk looks up every
// identifier occurrence of every header (tens of millions for a system include tree), so
// this is a flat open-addressing table with a small direct-mapped cache in front: most
// occurrences repeat a name seen moments before, and the cache answers them without
// touching the large table.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

class IdentifierTable {
public:
    IdentifierTable();

    // A word-at-a-time hash: the walk hashes every identifier occurrence, so it reads eight
    // bytes per step instead of one.
    static std::uint64_t Hash(const char* p, std::size_t length)
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ULL * (length + 1);
        while (length >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            h = (h ^ word) * 0xFF51AFD7ED558CCDULL;
            h ^= h >> 32;
            p += 8;
            length -= 8;
        }
        std::uint64_t tail = 0;
        for (std::size_t i = 0; i < length; ++i)
            tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
        h = (h ^ tail) * 0xC4CEB9FE1A85EC53ULL;
        return h ^ (h >> 29);
    }

    // Inserts the name when it is new. Returns true when it was new.
    bool Insert(std::string_view name, std::uint64_t hash)
    {
        CacheEntry& cached = Cache[hash & (CacheSize - 1)];
        if (cached.Hash == hash && cached.Length == name.size() && Same(cached.Text, name))
            return false;
        const char* stored = nullptr;
        const bool isNew = InsertSlow(name, hash, stored);
        cached = {hash, stored, static_cast<std::uint32_t>(name.size())};
        return isNew;
    }

    std::size_t Size() const { return Count; }

private:
    struct Slot {
        std::uint64_t Hash;
        const char* Text;  // null for an empty slot
        std::uint32_t Length;
    };
    struct CacheEntry {
        std::uint64_t Hash;
        const char* Text;
        std::uint32_t Length;
    };
    static constexpr std::size_t CacheSize = 1 << 15;

    // Identifiers are short: an inline loop beats a call of memcmp.
    static bool Same(const char* text, std::string_view name)
    {
        for (std::size_t i = 0; i < name.size(); ++i)
            if (text[i] != name[i])
                return false;
        return true;
    }
    bool InsertSlow(std::string_view name, std::uint64_t hash, const char*& stored);
    const char* Store(std::string_view name);
    void Grow();

    std::vector<Slot> Slots;
    std::size_t Count = 0;
    std::vector<CacheEntry> Cache;
    std::vector<std::unique_ptr<char[]>> Chunks;
    std::size_t ChunkUsed = 0;
    std::size_t ChunkSize = 0;
};
