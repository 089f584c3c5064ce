#include "platform/wayland/ShmBuffer.h"

#include <wayland-client.h>

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, int width, int height, int stride, uint32_t format)
{
    if (shm == nullptr || width <= 0 || height <= 0 || stride <= 0) {
        return nullptr;
    }
    const size_t size = static_cast<size_t>(stride) * static_cast<size_t>(height);
    // A pool's size travels as a signed 32-bit number.
    if (size > INT32_MAX) {
        return nullptr;
    }
    std::unique_ptr<ShmBuffer> result(new ShmBuffer);
    result->size_ = size;
    // An anonymous file: nothing lands in a folder, and it goes with the last descriptor.
    result->fd_ = memfd_create("zentrap-screen", MFD_CLOEXEC);
    if (result->fd_ < 0 || ftruncate(result->fd_, static_cast<off_t>(result->size_)) != 0) {
        return nullptr;
    }
    void* memory = mmap(nullptr, result->size_, PROT_READ | PROT_WRITE, MAP_SHARED, result->fd_, 0);
    if (memory == MAP_FAILED) {
        return nullptr;
    }
    result->memory_ = memory;
    wl_shm_pool* pool = wl_shm_create_pool(shm, result->fd_, static_cast<int32_t>(result->size_));
    result->buffer_ = wl_shm_pool_create_buffer(pool, 0, width, height, stride, format);
    // The buffer keeps the pool's memory; the pool itself is needed no more.
    wl_shm_pool_destroy(pool);
    return result;
}

ShmBuffer::~ShmBuffer()
{
    if (buffer_ != nullptr) {
        wl_buffer_destroy(buffer_);
    }
    if (memory_ != nullptr) {
        munmap(memory_, size_);
    }
    if (fd_ >= 0) {
        close(fd_);
    }
}
