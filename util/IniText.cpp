// In-memory INI text.
#include "IniText.h"

#include <cstdio>
#include <filesystem>

#include "Cp1251.h"
#include "Stream.h"
#include "UtilsUnit.h"

namespace mirvex {
namespace {

std::string_view NameOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? line : line.substr(0, eq);
}

}  // namespace

TIniText::TIniText(const TIniText& other) { *this = other; }

TIniText& TIniText::operator=(const TIniText& other) {
    if (this == &other) return *this;
    Clear();
    for (const auto& section : other.m_sections) {
        auto copy = std::make_unique<Section>(*section);
        m_sections.push_back(std::move(copy));
    }
    Reindex();
    return *this;
}

void TIniText::Section::Reindex() {
    Index.clear();
    for (std::size_t i = 0; i < Lines.size(); ++i) Index.try_emplace(UpperCaseAscii(NameOf(Lines[i])), i);
}

const std::string* TIniText::Section::Find(std::string_view key) const {
    const auto it = Index.find(UpperCaseAscii(key));
    return it == Index.end() ? nullptr : &Lines[it->second];
}

void TIniText::Reindex() {
    m_byName.clear();
    for (const auto& section : m_sections) m_byName.try_emplace(UpperCaseAscii(section->Name), section.get());
}

void TIniText::Clear() {
    m_sections.clear();
    m_byName.clear();
}

void TIniText::SetText(std::string_view text) {
    Clear();
    Section* current = nullptr;
    for (std::string& raw : SplitLines(text)) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            auto section = std::make_unique<Section>();
            section->Name = Trim(std::string_view(line).substr(1, line.size() - 2));
            current = section.get();
            m_sections.push_back(std::move(section));
            m_byName.try_emplace(UpperCaseAscii(current->Name), current);
        } else if (current) {
            current->Lines.push_back(line);
        }
    }
    for (const auto& section : m_sections) section->Reindex();
}

std::string TIniText::Text() const {
    std::string out;
    for (const auto& section : m_sections) {
        out += '[';
        out += section->Name;
        out += "]\r\n";
        for (const auto& line : section->Lines) {
            out += line;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

bool TIniText::LoadFromFile(const std::string& path) {
    TBytes bytes;
    if (!ReadFileBytes(path, bytes)) return false;
    SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

bool TIniText::SaveToFile(const std::string& path) const {
    const std::string text = Text();
    const std::string temp = path + ".tmp" + NewGuidText();
    if (!WriteFileBytes(temp, text.data(), text.size())) {
        std::remove(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

const TIniText::Section* TIniText::FindSection(std::string_view name) const {
    const auto it = m_byName.find(UpperCaseAscii(name));
    return it == m_byName.end() ? nullptr : it->second;
}

TIniText::Section* TIniText::FindSection(std::string_view name) {
    const auto it = m_byName.find(UpperCaseAscii(name));
    return it == m_byName.end() ? nullptr : it->second;
}

TIniText::Section& TIniText::AddSection(std::string_view name) {
    if (Section* found = FindSection(name)) return *found;
    auto section = std::make_unique<Section>();
    section->Name = std::string(name);
    Section* raw = section.get();
    m_sections.push_back(std::move(section));
    m_byName.try_emplace(UpperCaseAscii(raw->Name), raw);
    return *raw;
}

bool TIniText::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TIniText::ValueExists(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    return s && s->Find(key);
}

std::string TIniText::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    const Section* s = FindSection(section);
    const std::string* line = s ? s->Find(key) : nullptr;
    if (!line) return std::string(fallback);
    const std::size_t eq = line->find('=');
    return eq == std::string::npos ? std::string() : line->substr(eq + 1);
}

std::int32_t TIniText::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
    const std::string value = ReadString(section, key, "");
    return value.empty() ? fallback : StrToIntDef(value, fallback);
}

bool TIniText::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniText::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = AddSection(section);
    std::string line(key);
    line += '=';
    line.append(value);
    const auto it = s.Index.find(UpperCaseAscii(key));
    if (it != s.Index.end()) {
        s.Lines[it->second] = std::move(line);
    } else {
        s.Lines.push_back(std::move(line));
        s.Index.emplace(UpperCaseAscii(key), s.Lines.size() - 1);
    }
}

void TIniText::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniText::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniText::DeleteKey(std::string_view section, std::string_view key) {
    Section* s = FindSection(section);
    if (!s) return;
    const auto it = s->Index.find(UpperCaseAscii(key));
    if (it == s->Index.end()) return;
    s->Lines.erase(s->Lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->Reindex();
}

void TIniText::EraseSection(std::string_view section) {
    const std::string name = UpperCaseAscii(section);
    std::erase_if(m_sections, [&](const auto& s) { return UpperCaseAscii(s->Name) == name; });
    Reindex();
}

void TIniText::ClearSection(std::string_view section) {
    Section& s = AddSection(section);
    s.Lines.clear();
    s.Index.clear();
}

TStringList TIniText::Sections() const {
    TStringList names;
    for (const auto& section : m_sections) names.push_back(section->Name);
    return names;
}

TStringList TIniText::ReadSection(std::string_view section) const {
    TStringList names;
    if (const Section* s = FindSection(section))
        for (const auto& line : s->Lines) names.emplace_back(NameOf(line));
    return names;
}

TStringList TIniText::ReadSectionValues(std::string_view section) const {
    const Section* s = FindSection(section);
    return s ? s->Lines : TStringList();
}

}  // namespace mirvex
