// The statistics file.
#include "Statistic.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "package/ZipArchive.h"
#include "util/Coding.h"
#include "util/FileLock.h"
#include "util/Strings.h"

namespace mirvex {

struct TStatistic::FileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    bool operator==(const FileIdentity& o) const {
        return Device == o.Device && Inode == o.Inode && Size == o.Size && Modified.tv_sec == o.Modified.tv_sec &&
               Modified.tv_nsec == o.Modified.tv_nsec;
    }
};

namespace {

constexpr const char* kIndexEntry = "Index";

std::unique_ptr<TStatistic::FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return nullptr;
    auto id = std::make_unique<TStatistic::FileIdentity>();
    id->Device = st.st_dev;
    id->Inode = st.st_ino;
    id->Size = st.st_size;
    id->Modified = st.st_mtim;
    return id;
}

TStringList ReadIndex(const TZipArchive& archive) {
    TBytes bytes;
    if (!archive.Extract(kIndexEntry, bytes).Ok()) return {};
    return SplitLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The Id of a record entry, read from its first bytes only.
bool ReadEntryId(const TZipArchive& archive, int index, std::int32_t& id) {
    TBytes head;
    if (!archive.ExtractPrefix(index, 4, head).Ok() || head.size() < 4) return false;
    TMemoryStream s(head);
    std::int32_t reservedLength = 0;
    if (!ReadInt32(s, reservedLength) || reservedLength < 0 || reservedLength > (1 << 20)) return false;
    if (!archive.ExtractPrefix(index, 8 + static_cast<std::size_t>(reservedLength), head).Ok()) return false;
    if (head.size() < 8 + static_cast<std::size_t>(reservedLength)) return false;
    TMemoryStream full(head);
    full.SetPosition(4 + reservedLength);
    return ReadInt32(full, id);
}

// Removes temporary archives that a writer killed mid-way left behind.
// Requires: the lock is held, so no other writer is working on one.
void RemoveStaleTemporaries(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string prefix = "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".~";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir))
        if (std::string_view(e->d_name).starts_with(prefix)) std::remove((folder + "/" + e->d_name).c_str());
    ::closedir(dir);
}

std::string IndexText(const TStringList& names) { return JoinLines(names); }

}  // namespace

std::string StatEntryName(int number) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08d", number);
    return buffer;
}

TStatistic::TStatistic() = default;
TStatistic::~TStatistic() = default;

TListItem* TStatistic::Items(int index) const {
    return index >= 0 && index < Count() ? m_items[static_cast<std::size_t>(index)].get() : nullptr;
}

void TStatistic::LoadFromFile(const std::string& path) {
    m_items.clear();
    m_lastId = 0;
    m_fileName = path;
    m_seen = IdentityOf(path);
    if (!m_seen) return;
    TZipArchive archive;
    if (!archive.Open(path).Ok()) return;
    TBytes bytes;
    for (const std::string& name : ReadIndex(archive)) {
        if (!archive.Extract(name, bytes).Ok()) continue;
        auto item = std::make_unique<TListItem>();
        item->EntryName = name;
        TMemoryStream s(std::move(bytes));
        if (!ReadRecordBody(s, item->Record)) continue;
        m_lastId = std::max(m_lastId, item->Record.Id);
        m_items.push_back(std::move(item));
    }
}

int TStatistic::Append(const TSingleRecord& record) {
    if (m_fileName.empty()) return -1;
    const auto lock = TFileLock::Acquire(m_fileName + ".lock");
    if (!lock) return -1;
    RemoveStaleTemporaries(m_fileName);

    TZipArchive archive;
    TStringList index;
    std::int32_t lastId = m_lastId;
    const auto current = IdentityOf(m_fileName);
    if (current && current->Size > 0) {
        // An existing file that is not an archive is somebody's data: never
        // overwrite it.
        if (!archive.Open(m_fileName).Ok()) return -1;
        index = ReadIndex(archive);
        if (!m_seen || !(*current == *m_seen)) {
            // Another program changed the file: its records decide the Id.
            for (const std::string& name : index) {
                std::int32_t id = 0;
                const int at = archive.Find(name);
                if (at >= 0 && ReadEntryId(archive, at, id)) lastId = std::max(lastId, id);
            }
        }
    } else {
        archive.CreateNew(m_fileName);
    }

    auto item = std::make_unique<TListItem>();
    item->Record = record;
    item->Record.Id = lastId + 1;
    std::set<std::string> taken(index.begin(), index.end());
    for (const auto& loaded : m_items) taken.insert(loaded->EntryName);
    for (int n = 1;; ++n) {
        std::string name = StatEntryName(n);
        if (!taken.contains(name)) {
            item->EntryName = std::move(name);
            break;
        }
    }
    TMemoryStream body;
    if (!WriteRecordBody(body, item->Record)) return -1;
    index.push_back(item->EntryName);
    const std::string indexText = IndexText(index);
    if (!archive.Put(item->EntryName, body.Bytes()).Ok() ||
        !archive.Put(kIndexEntry, indexText.data(), indexText.size()).Ok() || !archive.Commit().Ok())
        return -1;

    m_lastId = item->Record.Id;
    m_seen = IdentityOf(m_fileName);
    m_items.push_back(std::move(item));
    return Count() - 1;
}

void TStatistic::Delete(int index) {
    TListItem* item = Items(index);
    if (!item || m_fileName.empty()) return;
    const auto lock = TFileLock::Acquire(m_fileName + ".lock");
    if (!lock) return;
    RemoveStaleTemporaries(m_fileName);
    TZipArchive archive;
    if (!archive.Open(m_fileName).Ok()) return;
    const bool unchanged = m_seen && IdentityOf(m_fileName) && *IdentityOf(m_fileName) == *m_seen;
    TStringList names = ReadIndex(archive);
    if (!archive.Delete(item->EntryName)) return;
    std::erase(names, item->EntryName);
    const std::string indexText = IndexText(names);
    if (!archive.Put(kIndexEntry, indexText.data(), indexText.size()).Ok() || !archive.Commit().Ok()) return;
    m_items.erase(m_items.begin() + index);
    // Only a file nobody else touched stays known; otherwise the next
    // append scans it again.
    m_seen = unchanged ? IdentityOf(m_fileName) : nullptr;
}

bool TStatistic::LoadBody(TStream& s) {
    m_items.clear();
    std::int32_t count = 0;
    if (!TCustomTanker::LoadBody(s) || !ReadCount(s, count, 4)) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        auto item = std::make_unique<TListItem>();
        if (!ReadRecordBody(s, item->Record)) return false;
        m_items.push_back(std::move(item));
    }
    return true;
}

bool TStatistic::SaveBody(TStream& s) const {
    if (!TCustomTanker::SaveBody(s) || !WriteInt32(s, Count())) return false;
    for (const auto& item : m_items)
        if (!WriteRecordBody(s, item->Record)) return false;
    return true;
}

}  // namespace mirvex
