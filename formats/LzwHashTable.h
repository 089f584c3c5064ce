// The LZW string table: 8009 slots of (key << 12) | code, probed by open addressing.
#pragma once

#include <array>
#include <cstdint>

class LzwHashTable {
public:
    static constexpr int kSlots = 8009;
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;

    LzwHashTable() { Clear(); }

    void Clear() { slots_.fill(kEmpty); }

    // The code stored for `key`, or -1; `slot` receives where the probe stopped, which is where
    // the key belongs when it is not there.
    int Lookup(uint32_t key, int& slot) const
    {
        int h = static_cast<int>((key ^ (key >> 4)) % kSlots);
        // The step is fixed by the first probe: kSlots is prime, so the probes visit every slot.
        int d = h == 0 ? 1 : kSlots - h;
        uint32_t wanted = key << 12;
        for (;;) {
            uint32_t value = slots_[static_cast<size_t>(h)];
            if (value >= 0xFFFFF000U) {
                slot = h;
                return -1;
            }
            if ((value & ~0xFFFU) == wanted) {
                slot = h;
                return static_cast<int>(value & 0xFFFU);
            }
            h -= d;
            if (h < 0) {
                h += kSlots;
            }
        }
    }

    void StoreAt(int slot, uint32_t key, int code)
    {
        slots_[static_cast<size_t>(slot)] = (key << 12) | static_cast<uint32_t>(code);
    }

    void Insert(uint32_t key, int code)
    {
        int slot = 0;
        if (Lookup(key, slot) < 0) {
            StoreAt(slot, key, code);
        }
    }

private:
    std::array<uint32_t, kSlots> slots_;
};
