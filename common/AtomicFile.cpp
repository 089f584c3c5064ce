#include "common/AtomicFile.h"

#include "common/ZentrapError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemError(int error, const std::string& path)
{
    return std::string(std::strerror(error)) + ": " + path;
}

// Buffers writes so that encoders can hand over small pieces cheaply.
class FileDescriptorSink : public ByteSink {
public:
    FileDescriptorSink(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    void write(const void* data, size_t size) override
    {
        const auto* p = static_cast<const uint8_t*>(data);
        if (buffer_.size() + size > kBufferSize) {
            flush();
        }
        if (size >= kBufferSize) {
            writeAll(p, size);
            return;
        }
        buffer_.insert(buffer_.end(), p, p + size);
    }

    void flush()
    {
        writeAll(buffer_.data(), buffer_.size());
        buffer_.clear();
    }

private:
    static constexpr size_t kBufferSize = 1 << 16;

    void writeAll(const uint8_t* p, size_t size)
    {
        while (size > 0) {
            ssize_t n = ::write(fd_, p, size);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw ZentrapError(systemError(errno, path_));
            }
            p += n;
            size -= static_cast<size_t>(n);
        }
    }

    int fd_;
    std::string path_;
    std::vector<uint8_t> buffer_;
};

std::string folderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

void writeFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce)
{
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        throw ZentrapError(systemError(errno, path));
    }
    std::string tempPath(name.data());
    try {
        // mkstemp creates 0600; a saved file gets the usual permissions, or the target's own.
        struct stat existing {};
        mode_t mode = 0666 & ~[] { mode_t m = ::umask(0); ::umask(m); return m; }();
        if (::stat(path.c_str(), &existing) == 0) {
            mode = existing.st_mode & 07777;
        }
        ::fchmod(fd, mode);
        FileDescriptorSink sink(fd, path);
        produce(sink);
        sink.flush();
        if (::fsync(fd) != 0) {
            throw ZentrapError(systemError(errno, path));
        }
        if (::close(fd) != 0) {
            fd = -1;
            throw ZentrapError(systemError(errno, path));
        }
        fd = -1;
        if (::rename(tempPath.c_str(), path.c_str()) != 0) {
            throw ZentrapError(systemError(errno, path));
        }
    } catch (...) {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(tempPath.c_str());
        throw;
    }
    // Make the rename itself durable.
    int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
