// Reading a .chm through chmlib once ReadChmDirectory has found the file sound.
#include "help/ChmArchive.h"

#include "common/RegularFile.h"
#include "help/ChmDirectory.h"

#include <chm_lib.h>

namespace {

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

ChmArchive::ChmArchive(const std::string& path) : path_(path)
{
    // Never blocks: a FIFO, device or folder under the help file's name is refused at once.
    RegularFile file(path);
    std::optional<std::string> content = file.readAll(kMaxFileBytes);
    if (!content) {
        error_ = file.problem() == FileProblem::NotFound   ? "the file does not exist"
                 : file.problem() == FileProblem::TooLarge ? "file is too large"
                                                           : file.errorText();
        return;
    }
    std::vector<std::uint8_t> bytes(content->begin(), content->end());
    content.reset();
    std::vector<ChmDirectoryEntry> entries;
    try {
        entries = ReadChmDirectory(bytes);
    } catch (const ChmFormatError& e) {
        error_ = std::string("the file is damaged or not a help file (") + e.what() + ")";
        return;
    }
    // chmlib opens by name: the descriptor's own entry names the very file that was checked, even
    // if the path has been replaced meanwhile.
    std::string checkedFile = "/proc/self/fd/" + std::to_string(file.fd());
    file_ = chm_open(checkedFile.c_str());
    if (file_ == nullptr) {
        error_ = "the file could not be opened as a help file";
        return;
    }
    for (auto& entry : entries)
        objects_.emplace(lowerAscii(entry.path), Object{entry.path, entry.compressed, entry.start, entry.length});
}

ChmArchive::~ChmArchive()
{
    if (file_ != nullptr)
        chm_close(file_);
}

std::vector<std::string> ChmArchive::objectPaths() const
{
    std::vector<std::string> paths;
    paths.reserve(objects_.size());
    for (const auto& [key, object] : objects_)
        paths.push_back(object.path);
    return paths;
}

const ChmArchive::Object* ChmArchive::find(const std::string& objectPath) const
{
    auto it = objects_.find(lowerAscii(objectPath));
    return it == objects_.end() ? nullptr : &it->second;
}

bool ChmArchive::contains(const std::string& objectPath) const
{
    return find(objectPath) != nullptr;
}

std::optional<std::vector<std::uint8_t>> ChmArchive::read(const std::string& objectPath) const
{
    const Object* object = find(objectPath);
    if (file_ == nullptr || object == nullptr || object->length > kMaxObjectBytes)
        return std::nullopt;
    if (!object->path.empty() && object->path.back() == '/')
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(object->length));
    chmUnitInfo unit{};
    unit.start = object->start;
    unit.length = object->length;
    unit.space = object->compressed ? CHM_COMPRESSED : CHM_UNCOMPRESSED;
    std::uint64_t done = 0;
    // Each round either makes progress or ends the loop, so it runs at most length times.
    while (done < bytes.size()) {
        LONGINT64 got =
            chm_retrieve_object(file_, &unit, bytes.data() + done, done, static_cast<LONGINT64>(bytes.size() - done));
        if (got <= 0 || static_cast<std::uint64_t>(got) > bytes.size() - done)
            return std::nullopt;
        done += static_cast<std::uint64_t>(got);
    }
    return bytes;
}
