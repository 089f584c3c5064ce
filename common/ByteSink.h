// Where encoders write their bytes: memory for measuring, a file for saving.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const void* data, size_t size) = 0;
    // A hint from encoders that know their output size, so memory sinks grow once.
    virtual void reserve(size_t /*size*/) {}
    void writeByte(uint8_t b) { write(&b, 1); }
};

class VectorSink : public ByteSink {
public:
    void write(const void* data, size_t size) override
    {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    }
    void reserve(size_t size) override { bytes.reserve(bytes.size() + size); }
    std::vector<uint8_t> bytes;
};
