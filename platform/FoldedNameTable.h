// A hash index of names that match without regard to ASCII case. It stores only the names'
// numbers (four bytes a slot) and asks the owner for a name when it must compare or rehash, so
// that an index of hundreds of thousands of names costs little beside the text that holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class FoldedNameTable {
public:
    // The same for names that differ only in ASCII case.
    static uint64_t hashOf(std::string_view name)
    {
        uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a
        for (char c : name) {
            char folded = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            hash = (hash ^ static_cast<uint8_t>(folded)) * 0x100000001b3ull;
        }
        return hash ^ (hash >> 29);
    }

    // Room for `count` names without growing; for a table that holds none yet.
    void reserve(size_t count)
    {
        if (count_ == 0 && slotCountFor(count) > slots_.size()) {
            slots_.assign(slotCountFor(count), kEmpty);
        }
    }

    // The stored number whose name hashes to `hash` and for which `sameName(number)` holds.
    template <class SameName> std::optional<uint32_t> find(uint64_t hash, SameName sameName) const
    {
        if (slots_.empty()) {
            return std::nullopt;
        }
        size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            uint32_t number = slots_[i];
            if (number == kEmpty) {
                return std::nullopt;
            }
            if (sameName(number)) {
                return number;
            }
        }
    }

    // Adds `number` under `hash`; the caller has checked that its name is not stored yet.
    // `hashOfNumber` gives the hash of a stored number's name when the table grows.
    template <class HashOfNumber> void insert(uint64_t hash, uint32_t number, HashOfNumber hashOfNumber)
    {
        if (slotCountFor(count_ + 1) > slots_.size()) {
            rehash(slotCountFor(count_ + 1), hashOfNumber);
        }
        place(hash, number);
        ++count_;
    }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;

    // At most half the slots are used, so that a search meets an empty slot soon.
    static size_t slotCountFor(size_t count)
    {
        size_t size = 8;
        while (size < count * 2) {
            size *= 2;
        }
        return size;
    }

    void place(uint64_t hash, uint32_t number)
    {
        size_t mask = slots_.size() - 1;
        size_t i = hash & mask;
        while (slots_[i] != kEmpty) {
            i = (i + 1) & mask;
        }
        slots_[i] = number;
    }

    template <class HashOfNumber> void rehash(size_t slotCount, HashOfNumber hashOfNumber)
    {
        std::vector<uint32_t> old = std::move(slots_);
        slots_.assign(slotCount, kEmpty);
        for (uint32_t number : old) {
            if (number != kEmpty) {
                place(hashOfNumber(number), number);
            }
        }
    }

    std::vector<uint32_t> slots_;
    size_t count_ = 0;
};
