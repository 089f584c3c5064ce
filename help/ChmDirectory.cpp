// The .chm directory check. Layout (all little-endian): an ITSF header pointing at the directory, an
// ITSP header, then fixed-size pages: PMGL pages hold the entries and are chained, PMGI pages index
// them as a tree. Compressed objects live in one LZX stream described by a reset table and control data.
#include "help/ChmDirectory.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::size_t kItsfV2Length = 0x58;
constexpr std::size_t kItsfV3Length = 0x60;
constexpr std::size_t kItspLength = 0x54;
constexpr std::size_t kPmglHeaderLength = 0x14;
constexpr std::size_t kPmgiHeaderLength = 0x08;
constexpr std::uint32_t kMinPageLength = 0x20;
constexpr std::uint32_t kMaxPageLength = 0x10000;
constexpr std::uint64_t kMaxPathLength = 512;
constexpr int kMaxEncodedIntegerBytes = 9;
constexpr std::size_t kResetTableLength = 0x28;
constexpr std::size_t kMinControlDataLength = 0x18;
constexpr std::uint64_t kMaxControlDataLength = 256;
constexpr std::uint64_t kLzxFrameLength = 0x8000;
// chmlib reads one compressed frame into a buffer this much larger than the frame.
constexpr std::uint64_t kLzxFrameSlack = 6144;

const char* const kResetTablePath = "::DataSpace/Storage/MSCompressed/Transform/"
                                    "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
const char* const kContentPath = "::DataSpace/Storage/MSCompressed/Content";
const char* const kControlDataPath = "::DataSpace/Storage/MSCompressed/ControlData";

[[noreturn]] void fail(const char* what)
{
    throw ChmFormatError(what);
}

std::uint64_t add(std::uint64_t a, std::uint64_t b)
{
    if (b > UINT64_MAX - a)
        fail("offset out of range");
    return a + b;
}

// Little-endian fields of a byte range, every read checked against the range.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::span<const std::uint8_t> sub(std::uint64_t offset, std::uint64_t length) const
    {
        if (offset > bytes_.size() || length > bytes_.size() - offset)
            fail("file is truncated");
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    }
    std::uint64_t unsignedField(std::uint64_t offset, int width) const
    {
        auto field = sub(offset, static_cast<std::uint64_t>(width));
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = (value << 8) | field[static_cast<std::size_t>(i)];
        return value;
    }
    std::uint32_t u32(std::uint64_t offset) const { return static_cast<std::uint32_t>(unsignedField(offset, 4)); }
    std::int32_t i32(std::uint64_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    std::uint64_t u64(std::uint64_t offset) const { return unsignedField(offset, 8); }
    bool startsWith(const char (&tag)[5]) const
    {
        auto head = sub(0, 4);
        return std::equal(head.begin(), head.end(), tag);
    }
    std::size_t size() const { return bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
};

// Sequential reading of one page's entries, never past `end`.
class EntryReader {
public:
    EntryReader(std::span<const std::uint8_t> page, std::size_t begin, std::size_t end)
        : page_(page), pos_(begin), end_(end)
    {
    }
    bool atEnd() const { return pos_ >= end_; }

    // chmlib's "compressed dword": 7 bits a byte, high bit set on every byte but the last.
    std::uint64_t encodedInteger()
    {
        std::uint64_t value = 0;
        for (int i = 0; i < kMaxEncodedIntegerBytes; ++i) {
            if (pos_ >= end_)
                fail("directory entry runs past its page");
            std::uint8_t byte = page_[pos_++];
            value = (value << 7) | (byte & 0x7f);
            if (byte < 0x80)
                return value;
        }
        fail("directory entry has an overlong number");
    }
    std::string name()
    {
        std::uint64_t length = encodedInteger();
        if (length == 0 || length > kMaxPathLength)
            fail("directory entry has a bad name length");
        if (length > end_ - pos_)
            fail("directory entry runs past its page");
        std::string text(reinterpret_cast<const char*>(page_.data() + pos_), static_cast<std::size_t>(length));
        pos_ += static_cast<std::size_t>(length);
        if (text.find('\0') != std::string::npos)
            fail("directory entry name holds a zero byte");
        return text;
    }

private:
    std::span<const std::uint8_t> page_;
    std::size_t pos_;
    std::size_t end_;
};

// The comparison chmlib uses for names (strcasecmp on plain ASCII).
int compareNames(const std::string& a, const std::string& b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

struct IndexEntry {
    std::string name;
    std::uint32_t child;
};

class Directory {
public:
    explicit Directory(std::span<const std::uint8_t> file) : file_(file) { readHeaders(); }

    std::vector<ChmDirectoryEntry> read()
    {
        std::vector<ChmDirectoryEntry> entries = listingEntries();
        checkIndexTree();
        checkEntries(entries);
        return entries;
    }

private:
    enum class PageKind { Listing, Index, Other };

    void readHeaders()
    {
        if (file_.size() < kItsfV3Length)
            fail("file is too short");
        if (!Bytes(file_.sub(0, 4)).startsWith("ITSF"))
            fail("not a compiled help file");
        std::uint32_t version = file_.u32(4);
        std::int32_t headerLength = file_.i32(8);
        if (version == 2 ? headerLength < std::int32_t(kItsfV2Length)
                         : version != 3 || headerLength < std::int32_t(kItsfV3Length))
            fail("unknown file header");
        std::uint64_t dirOffset = file_.u64(0x48);
        std::uint64_t dirLength = file_.u64(0x50);
        dataOffset_ = version == 3 ? file_.u64(0x58) : add(dirOffset, dirLength);

        Bytes itsp(file_.sub(dirOffset, kItspLength));
        if (!itsp.startsWith("ITSP") || itsp.i32(4) != 1 || itsp.i32(8) != std::int32_t(kItspLength))
            fail("unknown directory header");
        pageLength_ = itsp.u32(0x10);
        indexRoot_ = itsp.i32(0x1c);
        indexHead_ = itsp.i32(0x20);
        pageCount_ = itsp.u32(0x2c);
        if (pageLength_ < kMinPageLength || pageLength_ > kMaxPageLength)
            fail("bad directory page size");
        if (pageCount_ == 0 || pageCount_ > static_cast<std::uint32_t>(INT32_MAX))
            fail("bad directory page count");
        pagesStart_ = add(dirOffset, kItspLength);
        file_.sub(pagesStart_, static_cast<std::uint64_t>(pageCount_) * pageLength_);
        if (indexHead_ < 0 || static_cast<std::uint32_t>(indexHead_) >= pageCount_)
            fail("bad first directory page");
        // chmlib starts its look-ups at the first listing page when there is no index page.
        if (indexRoot_ <= -1)
            indexRoot_ = indexHead_;
        else if (static_cast<std::uint32_t>(indexRoot_) >= pageCount_)
            fail("bad directory root page");
    }

    std::span<const std::uint8_t> page(std::uint32_t index) const
    {
        return file_.sub(pagesStart_ + static_cast<std::uint64_t>(index) * pageLength_, pageLength_);
    }
    PageKind kind(std::uint32_t index) const
    {
        Bytes bytes(page(index));
        if (bytes.startsWith("PMGL"))
            return PageKind::Listing;
        if (bytes.startsWith("PMGI"))
            return PageKind::Index;
        return PageKind::Other;
    }
    EntryReader entriesOf(std::uint32_t index, std::size_t headerLength) const
    {
        std::uint32_t freeSpace = Bytes(page(index)).u32(4);
        if (freeSpace > pageLength_ - headerLength)
            fail("bad free space in a directory page");
        return EntryReader(page(index), headerLength, pageLength_ - freeSpace);
    }

    std::vector<ChmDirectoryEntry> listingPage(std::uint32_t index) const
    {
        std::vector<ChmDirectoryEntry> entries;
        EntryReader reader = entriesOf(index, kPmglHeaderLength);
        while (!reader.atEnd()) {
            ChmDirectoryEntry entry;
            entry.path = reader.name();
            std::uint64_t space = reader.encodedInteger();
            if (space > 1)
                fail("directory entry names an unknown section");
            entry.compressed = space == 1;
            entry.start = reader.encodedInteger();
            entry.length = reader.encodedInteger();
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    std::vector<IndexEntry> indexPage(std::uint32_t index) const
    {
        std::vector<IndexEntry> entries;
        EntryReader reader = entriesOf(index, kPmgiHeaderLength);
        while (!reader.atEnd()) {
            IndexEntry entry;
            entry.name = reader.name();
            std::uint64_t child = reader.encodedInteger();
            if (child >= pageCount_)
                fail("directory index points outside the directory");
            entry.child = static_cast<std::uint32_t>(child);
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    // The chain of listing pages, as chmlib's enumeration walks it; each page at most once.
    std::vector<ChmDirectoryEntry> listingEntries() const
    {
        std::vector<ChmDirectoryEntry> entries;
        std::vector<bool> seen(pageCount_, false);
        std::int32_t current = indexHead_;
        while (current != -1) {
            if (current < 0 || static_cast<std::uint32_t>(current) >= pageCount_)
                fail("directory page chain leaves the directory");
            auto index = static_cast<std::uint32_t>(current);
            if (seen[index])
                fail("directory page chain loops");
            seen[index] = true;
            if (kind(index) != PageKind::Listing)
                fail("directory page chain reaches a foreign page");
            auto pageEntries = listingPage(index);
            entries.insert(entries.end(), pageEntries.begin(), pageEntries.end());
            current = Bytes(page(index)).i32(0x10);
        }
        return entries;
    }

    // Every page that a look-up can reach from the root must be sound, and the index pages must form
    // a tree: chmlib descends without counting steps, so a loop would never end.
    void checkIndexTree() const
    {
        enum : std::uint8_t { Unvisited, Open, Done };
        std::vector<std::uint8_t> state(pageCount_, Unvisited);
        struct Frame {
            std::uint32_t page;
            std::vector<IndexEntry> children;
            std::size_t next;
        };
        std::vector<Frame> stack;
        auto enter = [&](std::uint32_t index) {
            switch (kind(index)) {
            case PageKind::Listing:
                listingPage(index);
                state[index] = Done;
                break;
            case PageKind::Index:
                state[index] = Open;
                stack.push_back(Frame{index, indexPage(index), 0});
                break;
            case PageKind::Other:
                state[index] = Done;
                break;
            }
        };
        enter(static_cast<std::uint32_t>(indexRoot_));
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.next == top.children.size()) {
                state[top.page] = Done;
                stack.pop_back();
                continue;
            }
            std::uint32_t child = top.children[top.next++].child;
            if (state[child] == Open)
                fail("directory index loops");
            if (state[child] == Unvisited)
                enter(child);
        }
    }

    // chmlib's look-up of one name: down the index pages, then an exact match in a listing page.
    std::optional<ChmDirectoryEntry> resolve(const std::string& path) const
    {
        std::int32_t current = indexRoot_;
        for (std::uint32_t steps = 0; current != -1 && steps <= pageCount_; ++steps) {
            auto index = static_cast<std::uint32_t>(current);
            switch (kind(index)) {
            case PageKind::Listing:
                for (auto& entry : listingPage(index))
                    if (compareNames(entry.path, path) == 0)
                        return entry;
                return std::nullopt;
            case PageKind::Index: {
                std::int32_t next = -1;
                for (auto& entry : indexPage(index)) {
                    if (compareNames(entry.name, path) > 0)
                        break;
                    next = static_cast<std::int32_t>(entry.child);
                }
                current = next;
                break;
            }
            case PageKind::Other:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::span<const std::uint8_t> uncompressedObject(const ChmDirectoryEntry& entry) const
    {
        return file_.sub(add(dataOffset_, entry.start), entry.length);
    }

    // What chmlib does when it opens the file: compression is on when the three objects below are
    // found uncompressed and the reset table is version 2; then the control data must make sense,
    // because chmlib divides by its values whether or not it could read them.
    void checkCompression()
    {
        auto resetTable = resolve(kResetTablePath);
        auto content = resolve(kContentPath);
        auto controlData = resolve(kControlDataPath);
        if (!resetTable || !content || !controlData || resetTable->compressed || content->compressed ||
            controlData->compressed)
            return;
        Bytes table(uncompressedObject(*resetTable));
        if (table.size() < kResetTableLength || table.u32(0) != 2)
            return;
        if (controlData->length > kMaxControlDataLength)
            fail("compression control data is too long");
        checkControlData(Bytes(uncompressedObject(*controlData)));
        checkResetTable(table, uncompressedObject(*content).size());
        compressionReadable_ = true;
    }

    static void checkControlData(const Bytes& control)
    {
        if (control.size() < kMinControlDataLength || !Bytes(control.sub(4, 4)).startsWith("LZXC"))
            fail("bad compression control data");
        std::uint32_t version = control.u32(8);
        std::uint32_t resetInterval = control.u32(0x0c);
        std::uint32_t windowSize = control.u32(0x10);
        std::uint32_t windowsPerReset = control.u32(0x14);
        if (version == 2) {
            resetInterval *= 0x8000u;
            windowSize *= 0x8000u;
        }
        bool powerOfTwo = windowSize != 0 && (windowSize & (windowSize - 1)) == 0;
        if (!powerOfTwo || windowSize < (1u << 15) || windowSize > (1u << 21))
            fail("bad compression window");
        std::uint32_t half = windowSize / 2;
        if (resetInterval == 0 || resetInterval % half != 0 || resetInterval / half * windowsPerReset == 0)
            fail("bad compression reset interval");
    }

    void checkResetTable(const Bytes& table, std::uint64_t contentLength)
    {
        std::uint32_t frameCount = table.u32(4);
        std::uint32_t tableOffset = table.u32(0x0c);
        uncompressedLength_ = table.u64(0x10);
        std::uint64_t compressedLength = table.u64(0x18);
        std::uint64_t frameLength = table.u64(0x20);
        if (frameLength != kLzxFrameLength)
            fail("bad compression frame size");
        if (uncompressedLength_ > kChmMaxContentBytes)
            fail("compressed content is too large");
        if (frameCount == 0 || frameCount > kChmMaxContentBytes / kLzxFrameLength + 1 ||
            frameCount * frameLength < uncompressedLength_)
            fail("bad compression frame count");
        if (compressedLength > contentLength)
            fail("compressed content is truncated");
        for (std::uint32_t frame = 0; frame < frameCount; ++frame) {
            std::uint64_t begin = table.u64(add(tableOffset, std::uint64_t(frame) * 8));
            std::uint64_t end =
                frame + 1 < frameCount ? table.u64(add(tableOffset, std::uint64_t(frame + 1) * 8)) : compressedLength;
            if (begin > end || end > compressedLength || end - begin > kLzxFrameLength + kLzxFrameSlack)
                fail("bad compression frame table");
        }
    }

    void checkEntries(const std::vector<ChmDirectoryEntry>& entries)
    {
        checkCompression();
        for (const auto& entry : entries) {
            if (!entry.compressed)
                uncompressedObject(entry);
            else if (compressionReadable_ && add(entry.start, entry.length) > uncompressedLength_)
                fail("compressed object lies outside the content");
        }
    }

    Bytes file_;
    std::uint64_t dataOffset_ = 0;
    std::uint64_t pagesStart_ = 0;
    std::uint32_t pageLength_ = 0;
    std::uint32_t pageCount_ = 0;
    std::int32_t indexRoot_ = -1;
    std::int32_t indexHead_ = 0;
    bool compressionReadable_ = false;
    std::uint64_t uncompressedLength_ = 0;
};

} // namespace

std::vector<ChmDirectoryEntry> ReadChmDirectory(std::span<const std::uint8_t> file)
{
    return Directory(file).read();
}
