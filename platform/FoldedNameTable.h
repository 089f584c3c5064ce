// A hash index of names that match without regard to ASCII case, stored flat (no allocation per
// name) so that a key with hundreds of thousands of values indexes in linear time.
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

    // The stored index whose hash is `hash` and for which `sameName(index)` holds.
    template <class SameName> std::optional<size_t> find(uint64_t hash, SameName sameName) const
    {
        if (slots_.empty()) {
            return std::nullopt;
        }
        size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.indexPlusOne == 0) {
                return std::nullopt;
            }
            if (slot.hash == hash && sameName(slot.indexPlusOne - 1)) {
                return slot.indexPlusOne - 1;
            }
        }
    }

    // Adds `index` under `hash`; the caller has checked that its name is not stored yet.
    void insert(uint64_t hash, size_t index)
    {
        if ((count_ + 1) * 2 > slots_.size()) {
            grow();
        }
        place(Slot{hash, index + 1});
        ++count_;
    }

private:
    struct Slot {
        uint64_t hash = 0;
        size_t indexPlusOne = 0; // 0: empty
    };

    void place(const Slot& slot)
    {
        size_t mask = slots_.size() - 1;
        size_t i = slot.hash & mask;
        while (slots_[i].indexPlusOne != 0) {
            i = (i + 1) & mask;
        }
        slots_[i] = slot;
    }

    void grow()
    {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 8 : old.size() * 2, Slot{});
        for (const Slot& slot : old) {
            if (slot.indexPlusOne != 0) {
                place(slot);
            }
        }
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
};
