// An INI text held in memory: [section] headers and name=value lines.
// Section and key names compare without regard to the case of Latin letters
// (other bytes must match); every section is kept, also those nobody reads,
// and written back in its order. Lines starting with ';' are comments and
// are dropped, as are blank lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Strings.h"

namespace mirvex {

class TIniText {
public:
    TIniText() = default;
    TIniText(const TIniText& other);
    TIniText& operator=(const TIniText& other);

    void Clear();
    // Replaces the content with the lines of `text`.
    void SetText(std::string_view text);
    // Each section as "[name]", its lines, then an empty line; lines end
    // with CR LF.
    std::string Text() const;

    [[nodiscard]] bool LoadFromFile(const std::string& path);
    // Writes through a temporary file renamed over the target.
    [[nodiscard]] bool SaveToFile(const std::string& path) const;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
    // Any integer but 0 is true; a value that is not an integer gives the fallback.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);
    // Empties a section but keeps its place among the sections; a missing
    // section is added at the end.
    void ClearSection(std::string_view section);

    // Section names in order.
    TStringList Sections() const;
    // The names of a section's lines, in order.
    TStringList ReadSection(std::string_view section) const;
    // A section's lines as they stand (name=value).
    TStringList ReadSectionValues(std::string_view section) const;

private:
    struct Section {
        std::string Name;
        TStringList Lines;
        // Upper-cased key -> index of its first line.
        std::unordered_map<std::string, std::size_t> Index;
        void Reindex();
        const std::string* Find(std::string_view key) const;
    };
    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    Section& AddSection(std::string_view name);
    void Reindex();

    std::vector<std::unique_ptr<Section>> m_sections;
    // Upper-cased name -> first section of that name.
    std::unordered_map<std::string, Section*> m_byName;
};

}  // namespace mirvex
