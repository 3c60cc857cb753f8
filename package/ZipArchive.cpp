// Zip container with replaceable record signatures.
#include "ZipArchive.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "util/Cp1251.h"
#include "util/UtilsUnit.h"

namespace mirvex {
namespace {

TZipSignatures g_signatures = kSystemZipSignatures;

constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
constexpr std::uint16_t kFlagUtf8 = 0x0800;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
// Deflate cannot expand data by more than about 1032 times.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
void Put16(TBytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(TBytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

TZipStatus Fail(TZipError code, std::string message) { return {code, std::move(message)}; }

bool ReadAt(TFileStream& file, std::uint64_t offset, void* buffer, std::size_t size) {
    file.SetPosition(static_cast<std::int64_t>(offset));
    return file.ReadBuffer(buffer, static_cast<std::int64_t>(size));
}

// The name as stored: OEM bytes, or UTF-8 with the language flag.
std::string EncodeName(std::string_view name, std::uint16_t& flags) {
    if (auto oem = Cp1251ToOem(name)) {
        flags &= static_cast<std::uint16_t>(~kFlagUtf8);
        return *oem;
    }
    flags |= kFlagUtf8;
    return Cp1251ToUtf8(name);
}

std::string DecodeName(std::string_view stored, std::uint16_t flags) {
    return (flags & kFlagUtf8) ? Utf8ToCp1251(stored) : OemToCp1251(stored);
}

void NowAsDos(std::uint16_t& time, std::uint16_t& date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int year = std::clamp(local.tm_year + 1900, 1980, 2107);
    time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    date = static_cast<std::uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
}

// Collects output and writes it in large pieces.
class BufferedWriter {
public:
    explicit BufferedWriter(TFileStream& file) : m_file(file) {}
    TBytes& Buffer() { return m_buffer; }
    std::uint64_t Position() const { return m_written + m_buffer.size(); }
    bool Append(const std::uint8_t* data, std::size_t size) {
        if (m_buffer.size() + size > kChunk && !Flush()) return false;
        if (size >= kChunk) {
            m_written += size;
            return m_file.WriteBuffer(data, static_cast<std::int64_t>(size));
        }
        m_buffer.insert(m_buffer.end(), data, data + size);
        return true;
    }
    bool Flush() {
        if (m_buffer.empty()) return true;
        const bool ok = m_file.WriteBuffer(m_buffer.data(), static_cast<std::int64_t>(m_buffer.size()));
        m_written += m_buffer.size();
        m_buffer.clear();
        return ok;
    }

private:
    static constexpr std::size_t kChunk = 1 << 20;
    TFileStream& m_file;
    TBytes m_buffer;
    std::uint64_t m_written = 0;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

}  // namespace

void InstallZipSignatures(const TZipSignatures& signatures) { g_signatures = signatures; }
const TZipSignatures& ZipSignatures() { return g_signatures; }

std::uint32_t Crc32Of(const void* data, std::size_t size) {
    return static_cast<std::uint32_t>(crc32_z(crc32_z(0L, Z_NULL, 0), static_cast<const Bytef*>(data), size));
}

TBytes DeflateRaw(const void* data, std::size_t size) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    TBytes out(deflateBound(&z, static_cast<uLong>(size)));
    z.next_in = const_cast<Bytef*>(static_cast<const Bytef*>(data));
    z.avail_in = static_cast<uInt>(size);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return rc == Z_STREAM_END ? out : TBytes{};
}

TZipStatus InflateRaw(const std::uint8_t* data, std::size_t size, std::uint64_t expectedSize, TBytes& out) {
    out.assign(static_cast<std::size_t>(expectedSize), 0);
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return Fail(TZipError::Io, "inflate cannot start");
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    int rc = inflate(&z, Z_FINISH);
    TZipStatus status;
    if (rc == Z_BUF_ERROR && z.avail_out == 0) {
        // Output is full: the stream must end right here.
        std::uint8_t probe = 0;
        z.next_out = &probe;
        z.avail_out = 1;
        rc = inflate(&z, Z_FINISH);
        if (rc != Z_STREAM_END || z.avail_out == 0)
            status = Fail(TZipError::TooLarge, "entry inflates beyond its declared size");
    } else if (rc != Z_STREAM_END) {
        status = Fail(TZipError::Damaged, "deflate data is damaged");
    } else if (z.total_out != expectedSize) {
        status = Fail(TZipError::Damaged, "entry is shorter than its declared size");
    }
    inflateEnd(&z);
    if (!status.Ok()) out.clear();
    return status;
}

struct TZipArchive::Item {
    TZipEntry Entry;
    bool Pending = false;
    // Compressed bytes of a staged entry.
    TBytes Data;
};

TZipArchive::TZipArchive(const TZipSignatures& signatures) : m_signatures(signatures) {}
TZipArchive::~TZipArchive() = default;

void TZipArchive::Close() {
    m_file.reset();
    m_path.clear();
    m_items.clear();
    m_sortedOffsets.clear();
    m_centralOffset = 0;
    m_modified = false;
    m_byNameValid = false;
}

void TZipArchive::CreateNew(const std::string& path) {
    Close();
    m_path = path;
}

TZipStatus TZipArchive::Open(const std::string& path) {
    Close();
    m_file = TFileStream::Open(path, TFileMode::OpenRead);
    if (!m_file) return Fail(errno == ENOENT ? TZipError::NotAnArchive : TZipError::Io, "cannot open " + path);
    m_path = path;
    TZipStatus status = ReadDirectory();
    if (!status.Ok()) Close();
    return status;
}

TZipStatus TZipArchive::ReadDirectory() {
    const auto fileSize = static_cast<std::uint64_t>(m_file->Size());
    if (fileSize < kEndRecordSize) return Fail(TZipError::NotAnArchive, "too short for an archive");
    const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, 0xFFFF + kEndRecordSize));
    TBytes tail(tailSize);
    if (!ReadAt(*m_file, fileSize - tailSize, tail.data(), tailSize)) return Fail(TZipError::Io, "cannot read");

    // The last end record whose comment fits the file.
    std::size_t at = tailSize - kEndRecordSize + 1;
    bool found = false;
    while (at-- > 0) {
        if (Get32(&tail[at]) == m_signatures.EndOfCentralDir &&
            at + kEndRecordSize + Get16(&tail[at + 20]) <= tailSize) {
            found = true;
            break;
        }
    }
    if (!found) return Fail(TZipError::NotAnArchive, "no end of central directory record");
    const std::uint8_t* end = &tail[at];
    const std::uint64_t endOffset = fileSize - tailSize + at;
    const std::uint16_t disk = Get16(end + 4), centralDisk = Get16(end + 6);
    const std::uint16_t entriesHere = Get16(end + 8), entries = Get16(end + 10);
    const std::uint32_t centralSize = Get32(end + 12), centralOffset = Get32(end + 16);
    if (disk != 0 || centralDisk != 0 || entriesHere != entries)
        return Fail(TZipError::Unsupported, "multi-part archives are not supported");
    if (entries == 0xFFFF || centralSize == 0xFFFFFFFF || centralOffset == 0xFFFFFFFF)
        return Fail(TZipError::Unsupported, "zip64 archives are not supported");
    if (std::uint64_t{centralOffset} + centralSize > endOffset)
        return Fail(TZipError::Damaged, "central directory lies outside the file");
    if (std::uint64_t{entries} * kCentralHeaderSize > centralSize)
        return Fail(TZipError::Damaged, "central directory is too small for its entries");

    TBytes central(centralSize);
    if (!ReadAt(*m_file, centralOffset, central.data(), centralSize)) return Fail(TZipError::Io, "cannot read");
    std::size_t p = 0;
    m_items.reserve(entries);
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (p + kCentralHeaderSize > central.size() || Get32(&central[p]) != m_signatures.CentralHeader)
            return Fail(TZipError::Damaged, "bad central directory header");
        const std::uint8_t* h = &central[p];
        const std::size_t nameLength = Get16(h + 28), extraLength = Get16(h + 30), commentLength = Get16(h + 32);
        if (p + kCentralHeaderSize + nameLength + extraLength + commentLength > central.size())
            return Fail(TZipError::Damaged, "central directory header runs past the directory");
        auto item = std::make_unique<Item>();
        TZipEntry& e = item->Entry;
        e.Flags = Get16(h + 8);
        e.Method = Get16(h + 10);
        e.DosTime = Get16(h + 12);
        e.DosDate = Get16(h + 14);
        e.Crc32 = Get32(h + 16);
        e.CompressedSize = Get32(h + 20);
        e.UncompressedSize = Get32(h + 24);
        e.LocalHeaderOffset = Get32(h + 42);
        if (e.CompressedSize == 0xFFFFFFFF || e.UncompressedSize == 0xFFFFFFFF || e.LocalHeaderOffset == 0xFFFFFFFF)
            return Fail(TZipError::Unsupported, "zip64 entries are not supported");
        if (e.LocalHeaderOffset + kLocalHeaderSize > centralOffset)
            return Fail(TZipError::Damaged, "local header lies outside the entry area");
        e.Name = DecodeName(
            std::string_view(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameLength), e.Flags);
        m_sortedOffsets.push_back(e.LocalHeaderOffset);
        m_items.push_back(std::move(item));
        m_byNameValid = false;
        p += kCentralHeaderSize + nameLength + extraLength + commentLength;
    }
    std::sort(m_sortedOffsets.begin(), m_sortedOffsets.end());
    if (std::adjacent_find(m_sortedOffsets.begin(), m_sortedOffsets.end()) != m_sortedOffsets.end())
        return Fail(TZipError::Damaged, "two entries share one local header");
    m_centralOffset = centralOffset;
    return TZipStatus::Success();
}

const TZipEntry& TZipArchive::Entry(int index) const { return m_items[static_cast<std::size_t>(index)]->Entry; }

int TZipArchive::Find(std::string_view name) const {
    if (!m_byNameValid) {
        m_byName.clear();
        for (std::size_t i = 0; i < m_items.size(); ++i)
            m_byName.try_emplace(UpperCase1251(m_items[i]->Entry.Name), static_cast<int>(i));
        m_byNameValid = true;
    }
    const auto it = m_byName.find(UpperCase1251(name));
    return it == m_byName.end() ? -1 : it->second;
}

TZipStatus TZipArchive::LocateData(const Item& item, std::uint64_t& dataOffset) const {
    const TZipEntry& e = item.Entry;
    std::uint8_t h[kLocalHeaderSize];
    if (!m_file || !ReadAt(*m_file, e.LocalHeaderOffset, h, sizeof h)) return Fail(TZipError::Io, "cannot read");
    if (Get32(h) != m_signatures.LocalHeader) return Fail(TZipError::Damaged, "bad local header");
    dataOffset = e.LocalHeaderOffset + kLocalHeaderSize + Get16(h + 26) + Get16(h + 28);
    const auto next = std::upper_bound(m_sortedOffsets.begin(), m_sortedOffsets.end(), e.LocalHeaderOffset);
    const std::uint64_t limit = next == m_sortedOffsets.end() ? m_centralOffset : *next;
    if (dataOffset + e.CompressedSize > limit) return Fail(TZipError::Damaged, "entry data overlaps what follows");
    return TZipStatus::Success();
}

TZipStatus TZipArchive::ReadRaw(const Item& item, TBytes& out) const {
    if (item.Pending) {
        out = item.Data;
        return TZipStatus::Success();
    }
    std::uint64_t offset = 0;
    if (TZipStatus s = LocateData(item, offset); !s.Ok()) return s;
    out.resize(static_cast<std::size_t>(item.Entry.CompressedSize));
    if (!ReadAt(*m_file, offset, out.data(), out.size())) return Fail(TZipError::Io, "cannot read entry data");
    return TZipStatus::Success();
}

TZipStatus TZipArchive::RawData(int index, TBytes& out) const {
    if (index < 0 || index >= Count()) return Fail(TZipError::NotFound, "no such entry");
    return ReadRaw(*m_items[static_cast<std::size_t>(index)], out);
}

TZipStatus TZipArchive::Extract(int index, TBytes& out) const {
    out.clear();
    if (index < 0 || index >= Count()) return Fail(TZipError::NotFound, "no such entry");
    const Item& item = *m_items[static_cast<std::size_t>(index)];
    const TZipEntry& e = item.Entry;
    if (e.Flags & (kFlagEncrypted | kFlagStrongEncryption)) return Fail(TZipError::Password, "entry is encrypted");
    if (e.Method != kZipStored && e.Method != kZipDeflated)
        return Fail(TZipError::Unsupported, "unsupported compression method");
    if (e.UncompressedSize > kMaxZipEntrySize) return Fail(TZipError::TooLarge, "entry is too large");
    if (e.Method == kZipStored && e.CompressedSize != e.UncompressedSize)
        return Fail(TZipError::Damaged, "stored entry sizes differ");
    if (e.Method == kZipDeflated && e.UncompressedSize > e.CompressedSize * kMaxDeflateRatio + 1024)
        return Fail(TZipError::TooLarge, "entry declares more than its data can hold");
    TBytes raw;
    if (TZipStatus s = ReadRaw(item, raw); !s.Ok()) return s;
    if (e.Method == kZipStored) {
        out = std::move(raw);
    } else if (TZipStatus s = InflateRaw(raw.data(), raw.size(), e.UncompressedSize, out); !s.Ok()) {
        return s;
    }
    if (Crc32Of(out.data(), out.size()) != e.Crc32) {
        out.clear();
        return Fail(TZipError::Damaged, "CRC mismatch in " + Cp1251ToUtf8(e.Name));
    }
    return TZipStatus::Success();
}

TZipStatus TZipArchive::Extract(std::string_view name, TBytes& out) const {
    const int index = Find(name);
    if (index < 0) {
        out.clear();
        return Fail(TZipError::NotFound, "no entry " + Cp1251ToUtf8(name));
    }
    return Extract(index, out);
}

TZipStatus TZipArchive::ExtractPrefix(int index, std::size_t limit, TBytes& out) const {
    out.clear();
    if (index < 0 || index >= Count()) return Fail(TZipError::NotFound, "no such entry");
    const Item& item = *m_items[static_cast<std::size_t>(index)];
    const TZipEntry& e = item.Entry;
    if (e.Flags & (kFlagEncrypted | kFlagStrongEncryption)) return Fail(TZipError::Password, "entry is encrypted");
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(limit, e.UncompressedSize));
    if (e.Method == kZipStored) {
        TBytes raw;
        if (item.Pending) {
            raw.assign(item.Data.begin(), item.Data.begin() + static_cast<std::ptrdiff_t>(std::min(want, item.Data.size())));
        } else {
            std::uint64_t offset = 0;
            if (TZipStatus s = LocateData(item, offset); !s.Ok()) return s;
            raw.resize(std::min<std::size_t>(want, static_cast<std::size_t>(e.CompressedSize)));
            if (!ReadAt(*m_file, offset, raw.data(), raw.size())) return Fail(TZipError::Io, "cannot read");
        }
        out = std::move(raw);
        return TZipStatus::Success();
    }
    if (e.Method != kZipDeflated) return Fail(TZipError::Unsupported, "unsupported compression method");
    // Feed the compressed bytes in small pieces until enough output exists.
    std::uint64_t offset = 0;
    if (!item.Pending)
        if (TZipStatus s = LocateData(item, offset); !s.Ok()) return s;
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return Fail(TZipError::Io, "inflate cannot start");
    out.resize(want);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(want);
    std::uint8_t chunk[4096];
    std::uint64_t fed = 0;
    int rc = Z_OK;
    while (z.avail_out > 0 && rc == Z_OK && fed < e.CompressedSize) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, e.CompressedSize - fed));
        if (item.Pending) std::memcpy(chunk, item.Data.data() + fed, n);
        else if (!ReadAt(*m_file, offset + fed, chunk, n)) break;
        fed += n;
        z.next_in = chunk;
        z.avail_in = static_cast<uInt>(n);
        while (z.avail_in > 0 && z.avail_out > 0 && rc == Z_OK) rc = inflate(&z, Z_NO_FLUSH);
    }
    out.resize(want - z.avail_out);
    inflateEnd(&z);
    if (rc != Z_OK && rc != Z_STREAM_END) {
        out.clear();
        return Fail(TZipError::Damaged, "deflate data is damaged");
    }
    return TZipStatus::Success();
}

TZipStatus TZipArchive::Put(std::string_view name, const void* data, std::size_t size) {
    if (size > kMaxZipEntrySize) return Fail(TZipError::TooLarge, "entry is too large");
    std::uint16_t nameFlags = 0;
    if (name.empty() || EncodeName(name, nameFlags).size() > 0xFFFF)
        return Fail(TZipError::Unsupported, "bad entry name");
    auto item = std::make_unique<Item>();
    TZipEntry& e = item->Entry;
    e.Name = std::string(name);
    e.Crc32 = Crc32Of(data, size);
    e.UncompressedSize = size;
    NowAsDos(e.DosTime, e.DosDate);
    TBytes deflated = DeflateRaw(data, size);
    if (!deflated.empty() && deflated.size() < size) {
        e.Method = kZipDeflated;
        item->Data = std::move(deflated);
    } else {
        e.Method = kZipStored;
        item->Data.assign(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
    }
    e.CompressedSize = item->Data.size();
    item->Pending = true;
    const int existing = Find(name);
    if (existing >= 0) m_items[static_cast<std::size_t>(existing)] = std::move(item);
    else m_items.push_back(std::move(item));
    m_byNameValid = false;
    m_modified = true;
    return TZipStatus::Success();
}

bool TZipArchive::Delete(std::string_view name) {
    const int index = Find(name);
    if (index < 0) return false;
    m_items.erase(m_items.begin() + index);
    m_byNameValid = false;
    m_modified = true;
    return true;
}

TZipStatus TZipArchive::Commit() {
    if (m_path.empty()) return Fail(TZipError::Io, "no archive");
    if (m_items.size() > 0xFFFE) return Fail(TZipError::Unsupported, "too many entries for a zip archive");
    const std::string folder = FolderOf(m_path);
    const std::size_t slash = m_path.rfind('/');
    const std::string base = slash == std::string::npos ? m_path : m_path.substr(slash + 1);
    const std::string temp = folder + "/." + base + ".~" + NewGuidText();
    auto out = TFileStream::Open(temp, TFileMode::Create);
    if (!out) return Fail(TZipError::Io, "cannot create " + temp);

    struct Written {
        std::uint64_t Offset;
        std::string StoredName;
        std::uint16_t Flags;
    };
    std::vector<Written> written;
    written.reserve(m_items.size());
    BufferedWriter w(*out);
    bool ok = true;
    TBytes raw;
    for (const auto& item : m_items) {
        const TZipEntry& e = item->Entry;
        if (e.CompressedSize > 0xFFFFFFFEu || e.UncompressedSize > 0xFFFFFFFEu) {
            ok = false;
            break;
        }
        std::uint16_t flags = static_cast<std::uint16_t>(e.Flags & ~kFlagDataDescriptor);
        const std::string stored = EncodeName(e.Name, flags);
        const std::uint64_t offset = w.Position();
        if (offset > 0xFFFFFFFEu || stored.size() > 0xFFFF) {
            ok = false;
            break;
        }
        TBytes& b = w.Buffer();
        Put32(b, m_signatures.LocalHeader);
        Put16(b, e.Method == kZipDeflated ? 20 : 10);
        Put16(b, flags);
        Put16(b, e.Method);
        Put16(b, e.DosTime);
        Put16(b, e.DosDate);
        Put32(b, e.Crc32);
        Put32(b, static_cast<std::uint32_t>(e.CompressedSize));
        Put32(b, static_cast<std::uint32_t>(e.UncompressedSize));
        Put16(b, static_cast<std::uint32_t>(stored.size()));
        Put16(b, 0);
        b.insert(b.end(), stored.begin(), stored.end());
        if (!ReadRaw(*item, raw).Ok() || raw.size() != e.CompressedSize || !w.Append(raw.data(), raw.size())) {
            ok = false;
            break;
        }
        written.push_back({offset, stored, flags});
    }
    const std::uint64_t centralOffset = w.Position();
    if (ok) {
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            const TZipEntry& e = m_items[i]->Entry;
            TBytes& b = w.Buffer();
            Put32(b, m_signatures.CentralHeader);
            Put16(b, 20);  // made by: MS-DOS, format 2.0
            Put16(b, e.Method == kZipDeflated ? 20 : 10);
            Put16(b, written[i].Flags);
            Put16(b, e.Method);
            Put16(b, e.DosTime);
            Put16(b, e.DosDate);
            Put32(b, e.Crc32);
            Put32(b, static_cast<std::uint32_t>(e.CompressedSize));
            Put32(b, static_cast<std::uint32_t>(e.UncompressedSize));
            Put16(b, static_cast<std::uint32_t>(written[i].StoredName.size()));
            Put16(b, 0);     // extra
            Put16(b, 0);     // comment
            Put16(b, 0);     // disk
            Put16(b, 0);     // internal attributes
            Put32(b, 0x20);  // external attributes: archive
            Put32(b, static_cast<std::uint32_t>(written[i].Offset));
            b.insert(b.end(), written[i].StoredName.begin(), written[i].StoredName.end());
            if (b.size() > (1 << 20) && !w.Flush()) ok = false;
        }
        const std::uint64_t centralSize = w.Position() - centralOffset;
        ok = ok && centralOffset <= 0xFFFFFFFEu && centralSize <= 0xFFFFFFFEu;
        TBytes& b = w.Buffer();
        Put32(b, m_signatures.EndOfCentralDir);
        Put16(b, 0);
        Put16(b, 0);
        Put16(b, static_cast<std::uint32_t>(m_items.size()));
        Put16(b, static_cast<std::uint32_t>(m_items.size()));
        Put32(b, static_cast<std::uint32_t>(centralSize));
        Put32(b, static_cast<std::uint32_t>(centralOffset));
        Put16(b, 0);
        ok = ok && w.Flush() && out->Sync();
    }
    out.reset();
    if (!ok || std::rename(temp.c_str(), m_path.c_str()) != 0) {
        std::remove(temp.c_str());
        return Fail(TZipError::Io, "cannot write " + m_path);
    }
    SyncFolder(folder);

    // The archive now is the file just written.
    m_file = TFileStream::Open(m_path, TFileMode::OpenRead);
    if (!m_file) return Fail(TZipError::Io, "cannot reopen " + m_path);
    m_sortedOffsets.clear();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        Item& item = *m_items[i];
        item.Entry.LocalHeaderOffset = written[i].Offset;
        item.Entry.Flags = written[i].Flags;
        item.Pending = false;
        item.Data = TBytes();
        m_sortedOffsets.push_back(written[i].Offset);
    }
    m_centralOffset = centralOffset;
    m_modified = false;
    return TZipStatus::Success();
}

}  // namespace mirvex
