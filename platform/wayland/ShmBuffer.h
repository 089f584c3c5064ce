// A wl_buffer in shared memory that the compositor copies a picture into and this process reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct wl_buffer;
struct wl_shm;

class ShmBuffer {
public:
    // Nothing when the memory cannot be had (the caller reports it).
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, int width, int height, int stride, uint32_t format);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return buffer_; }
    const uint8_t* pixels() const { return static_cast<const uint8_t*>(memory_); }

private:
    ShmBuffer() = default;

    int fd_ = -1;
    void* memory_ = nullptr;
    size_t size_ = 0;
    wl_buffer* buffer_ = nullptr;
};
