// Opens and reads files that must be ordinary files (settings, help, pictures) without ever
// blocking: a FIFO, device or socket under such a name is refused at once instead of read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Why a file could not be opened or read as a regular file.
enum class FileProblem {
    None,
    NotFound,         // the file or a folder on its path does not exist
    Folder,           // a directory
    NotRegular,       // a FIFO, device or socket
    PermissionDenied, // the file or a folder on its path may not be read
    SymlinkLoop,      // too many levels of symbolic links
    TooLarge,         // larger than the caller's limit
    ReadFailed,       // any other system error while opening or reading
};

// A file opened for reading after checking that it is a regular file. Opening and reading never
// block (the descriptor stays O_NONBLOCK: a "regular" file whose read would wait is refused as
// NotRegular) and a device is never opened at all (the name is checked first).
class RegularFile {
public:
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    FileProblem problem() const { return problem_; }
    // The errno behind the problem (0 when there is none or it has no system error).
    int systemError() const { return systemError_; }
    // A user-facing text for the problem ("Not a regular file (a FIFO)", "Permission denied", ...).
    std::string errorText() const;

    int fd() const { return fd_; }
    // The size fstat reported at opening.
    std::uint64_t size() const { return size_; }

    // Reads from the current position to the end. More than `maxBytes` gives nothing and the
    // problem TooLarge; a read error gives nothing and ReadFailed.
    std::optional<std::string> readAll(std::uint64_t maxBytes);

private:
    void fail(FileProblem problem, int error);
    void close();

    int fd_ = -1;
    FileProblem problem_ = FileProblem::None;
    int systemError_ = 0;
    std::uint64_t size_ = 0;
    std::string notRegularText_; // what a non-regular file is
};

// The whole content of a regular file, or the reason why there is none.
struct RegularFileContents {
    std::optional<std::string> bytes;
    FileProblem problem = FileProblem::None;
    int systemError = 0;
    std::string errorText; // empty on success
};

RegularFileContents readRegularFile(const std::string& path, std::uint64_t maxBytes);

// The text for a problem when no RegularFile is at hand ("No such file or directory", ...).
std::string describeFileProblem(FileProblem problem, int systemError);
// The text for a file of this st_mode that is not a regular file ("Not a regular file (a FIFO)").
std::string nonRegularFileText(unsigned mode);
