// Hands out a fuzz input's bytes in order, then zeros, so that every input drives a whole run.
#pragma once

#include <cstddef>
#include <cstdint>

class FuzzReader {
public:
    FuzzReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    // A value from `low` to `high` (both included) made of the next byte.
    int range(int low, int high) { return low + byte() % (high - low + 1); }
    // The bytes not handed out yet.
    size_t left() const { return size_ - at_; }
    const uint8_t* rest() const { return data_ + at_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};
