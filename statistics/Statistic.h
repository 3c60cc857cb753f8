// The statistics file: an archive in the package container with one entry
// per recorded session (named 00000001, 00000002, ...) and an "Index" entry
// listing the record entries in order, one per line.
//
// Every change is made under an exclusive lock on the companion file
// "<path>.lock", re-reads the file's current index under that lock, and
// replaces the file atomically, so that neither a crash nor a second
// program appending to the same file loses a record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SingleRecord.h"
#include "model/CustomTanker.h"

namespace mirvex {

struct TListItem {
    TSingleRecord Record;
    std::string EntryName;
};

// "00000001" for 1: decimal, left-padded with "0" to 8 digits.
std::string StatEntryName(int number);

class TStatistic : public TCustomTanker {
public:
    TStatistic();
    ~TStatistic() override;

    // Remembers the path (native) and reads every record the index lists; a
    // missing or damaged file gives what could be read. Never raises.
    void LoadFromFile(const std::string& path);
    int Count() const { return static_cast<int>(m_items.size()); }
    // Null outside 0..Count()-1.
    TListItem* Items(int index) const;
    // Adds the record to the file and to the list, with the next Id and the
    // lowest free entry name; returns its list index, or -1.
    int Append(const TSingleRecord& record);
    // Removes the record from the file and, when that worked, from the list.
    void Delete(int index);

    const std::string& FileName() const { return m_fileName; }
    std::int32_t LastId() const { return m_lastId; }

    // Body after Version: int32 count, then each item's record body.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

    // Device, inode, size and modification time of the file.
    struct FileIdentity;

private:
    std::string m_fileName;
    std::vector<std::unique_ptr<TListItem>> m_items;
    std::int32_t m_lastId = 0;
    // The file as this object last saw it; a file that changed since is
    // scanned again before an append picks its Id.
    std::unique_ptr<FileIdentity> m_seen;
};

}  // namespace mirvex
