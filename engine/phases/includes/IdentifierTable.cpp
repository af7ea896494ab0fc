#include "engine/phases/includes/IdentifierTable.h"

namespace {
constexpr std::size_t kChunkBytes = 1 << 20;
}

IdentifierTable::IdentifierTable() : Slots(1 << 16, Slot{0, nullptr, 0}), Cache(CacheSize, CacheEntry{0, nullptr, 0}) {}

const char* IdentifierTable::Store(std::string_view name)
{
    if (Chunks.empty() || ChunkUsed + name.size() > ChunkSize) {
        ChunkSize = std::max(kChunkBytes, name.size());
        Chunks.emplace_back(new char[ChunkSize]);
        ChunkUsed = 0;
    }
    char* text = Chunks.back().get() + ChunkUsed;
    std::memcpy(text, name.data(), name.size());
    ChunkUsed += name.size();
    return text;
}

bool IdentifierTable::InsertSlow(std::string_view name, std::uint64_t hash, const char*& stored)
{
    std::size_t mask = Slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = Slots[i];
        if (slot.Text == nullptr) {
            if ((Count + 1) * 2 > Slots.size()) {
                Grow();
                return InsertSlow(name, hash, stored);
            }
            slot = {hash, Store(name), static_cast<std::uint32_t>(name.size())};
            ++Count;
            stored = slot.Text;
            return true;
        }
        if (slot.Hash == hash && slot.Length == name.size() && Same(slot.Text, name)) {
            stored = slot.Text;
            return false;
        }
    }
}

void IdentifierTable::Grow()
{
    std::vector<Slot> old(Slots.size() * 2, Slot{0, nullptr, 0});
    old.swap(Slots);
    const std::size_t mask = Slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.Text == nullptr)
            continue;
        std::size_t i = slot.Hash & mask;
        while (Slots[i].Text != nullptr)
            i = (i + 1) & mask;
        Slots[i] = slot;
    }
}
