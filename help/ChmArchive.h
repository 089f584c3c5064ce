// A compiled HTML help file (.chm) opened for reading: lists its objects and reads one object's
// bytes. The file's directory is checked before chmlib sees it, and every read is bounded.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

class ChmArchive {
public:
    // Opens `path`; when that fails, isOpen() is false and error() says why.
    explicit ChmArchive(const std::string& path);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

    // Object paths as stored ("/HTML/Saving.htm", "/#SYSTEM", "::DataSpace/..."), folders included.
    std::vector<std::string> objectPaths() const;
    // Whether an object exists; names match without regard to ASCII case, as in the file format.
    bool contains(const std::string& objectPath) const;
    // The object's bytes; null when it is missing, a folder, larger than kMaxObjectBytes or unreadable.
    std::optional<std::vector<std::uint8_t>> read(const std::string& objectPath) const;

    static constexpr std::uint64_t kMaxFileBytes = 128ull << 20;
    static constexpr std::uint64_t kMaxObjectBytes = 16ull << 20;

private:
    struct Object {
        std::string path;
        bool compressed;
        std::uint64_t start;
        std::uint64_t length;
    };
    const Object* find(const std::string& objectPath) const;

    std::string path_;
    std::string error_;
    chmFile* file_ = nullptr;
    std::map<std::string, Object> objects_; // by lower-case path
};
