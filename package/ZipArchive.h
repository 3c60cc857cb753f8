// The zip container of packages and statistics files, on zlib.
//
// The records are those of the published zip format (local file headers,
// central directory, end of central directory record), stored or deflated
// entries with CRC-32, no encryption, no multi-part and no zip64 archives,
// with one twist: the three record signatures are the system's own values,
// installed process-wide at start. Entry names are code page 1251 in memory
// and OEM code page 866 in the file (UTF-8 with the language flag when a
// name has no OEM form).
//
// An archive is changed by staging entries and committing: the new archive
// is written beside the old one, flushed to disk and renamed over it, and
// the compressed bytes of kept entries are copied as they are.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/Stream.h"

namespace mirvex {

struct TZipSignatures {
    std::uint32_t CentralHeader;
    std::uint32_t LocalHeader;
    std::uint32_t EndOfCentralDir;
};

constexpr TZipSignatures kStandardZipSignatures{0x02014B50, 0x04034B50, 0x06054B50};
constexpr TZipSignatures kSystemZipSignatures{0x01234567, 0x19ABCDEF, 0x1FAACCEE};

// The signatures every archive of the process uses unless it is given its
// own; the system's values from the start. Install once, before any
// archive is touched.
void InstallZipSignatures(const TZipSignatures& signatures);
const TZipSignatures& ZipSignatures();

enum class TZipError {
    None,
    NotAnArchive,  // no valid end record, or not a file
    Damaged,       // a record or an entry's data is inconsistent
    Password,      // the entry is encrypted
    Unsupported,   // compression method, zip64 or a multi-part archive
    NotFound,      // no entry of that name
    TooLarge,      // an entry declares or inflates beyond what it may
    Io,            // the file could not be read or written
};

struct TZipStatus {
    TZipError Code = TZipError::None;
    std::string Message;
    bool Ok() const { return Code == TZipError::None; }
    static TZipStatus Success() { return {}; }
};

constexpr std::uint16_t kZipStored = 0;
constexpr std::uint16_t kZipDeflated = 8;
// The largest entry this container inflates into memory.
constexpr std::uint64_t kMaxZipEntrySize = std::uint64_t{1} << 31;

struct TZipEntry {
    std::string Name;  // code page 1251
    std::uint16_t Flags = 0;
    std::uint16_t Method = kZipStored;
    std::uint16_t DosTime = 0;
    std::uint16_t DosDate = 0;
    std::uint32_t Crc32 = 0;
    std::uint64_t CompressedSize = 0;
    std::uint64_t UncompressedSize = 0;
    std::uint64_t LocalHeaderOffset = 0;  // in the file the entry was read from
};

class TZipArchive {
public:
    explicit TZipArchive(const TZipSignatures& signatures = ZipSignatures());
    ~TZipArchive();
    TZipArchive(const TZipArchive&) = delete;
    TZipArchive& operator=(const TZipArchive&) = delete;

    // Reads the directory of the archive at `path`.
    TZipStatus Open(const std::string& path);
    // Starts an empty archive that Commit creates at `path`.
    void CreateNew(const std::string& path);
    void Close();
    bool IsOpen() const { return !m_path.empty(); }
    const std::string& Path() const { return m_path; }

    int Count() const { return static_cast<int>(m_items.size()); }
    // Requires: 0 <= index < Count().
    const TZipEntry& Entry(int index) const;
    // Names compare ignoring code page 1251 letter case; -1 when absent.
    int Find(std::string_view name) const;

    // Inflates an entry and checks its size and CRC.
    TZipStatus Extract(int index, TBytes& out) const;
    TZipStatus Extract(std::string_view name, TBytes& out) const;
    // The first bytes of an entry (at most `limit`), without the CRC check.
    TZipStatus ExtractPrefix(int index, std::size_t limit, TBytes& out) const;

    // Stages an entry, compressed now at level 6 (stored when deflate does
    // not make it smaller); an entry of the same name is replaced in place.
    TZipStatus Put(std::string_view name, const void* data, std::size_t size);
    TZipStatus Put(std::string_view name, const TBytes& data) { return Put(name, data.data(), data.size()); }
    // Stages the removal of an entry; false when there is none of that name.
    bool Delete(std::string_view name);
    bool Modified() const { return m_modified; }

    // Writes the archive with the staged changes atomically and reopens it.
    TZipStatus Commit();

    // The compressed bytes of an entry as stored (for tests and dumps).
    TZipStatus RawData(int index, TBytes& out) const;

private:
    struct Item;
    TZipStatus ReadDirectory();
    TZipStatus LocateData(const Item& item, std::uint64_t& dataOffset) const;
    TZipStatus ReadRaw(const Item& item, TBytes& out) const;

    TZipSignatures m_signatures;
    std::string m_path;
    std::unique_ptr<TFileStream> m_file;
    std::uint64_t m_centralOffset = 0;
    std::vector<std::unique_ptr<Item>> m_items;
    // Local header offsets of the file's entries, ascending: the data of an
    // entry must end before the next header (or the central directory).
    std::vector<std::uint64_t> m_sortedOffsets;
    bool m_modified = false;
    // Upper-cased name -> first index of that name; rebuilt after changes.
    mutable std::unordered_map<std::string, int> m_byName;
    mutable bool m_byNameValid = false;
};

// Deflates `size` bytes into a raw deflate stream at level 6.
TBytes DeflateRaw(const void* data, std::size_t size);
// Inflates a raw deflate stream that must produce exactly `expectedSize` bytes.
TZipStatus InflateRaw(const std::uint8_t* data, std::size_t size, std::uint64_t expectedSize, TBytes& out);
std::uint32_t Crc32Of(const void* data, std::size_t size);

}  // namespace mirvex
