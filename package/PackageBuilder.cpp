// Package writer.
#include "PackageBuilder.h"

#include <cstdio>

#include "util/Coding.h"
#include "util/IniText.h"

namespace mirvex {

void TPackageBuilder::AddCategory(std::int32_t id, const std::string& name) { m_categories.emplace_back(id, name); }

void TPackageBuilder::AddTicket(std::int32_t id, const std::string& name) { m_tickets.emplace_back(id, name); }

void TPackageBuilder::AddQuestion(const TFullQuestionInfo& info, const TTestQuestion& question) {
    m_questions.push_back({info, SaveToBytes(question)});
}

void TPackageBuilder::SetPicture(int kind, const std::string& fileName, const TBytes& data) {
    TMemoryStream s;
    if (!WriteString(s, fileName) || !s.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()))) return;
    m_pictures[kind] = s.TakeBytes();
}

std::string TPackageBuilder::CatalogueText() const {
    TIniText ini;
    ini.ClearSection("Main");
    for (std::size_t i = 0; i < m_questions.size(); ++i) ini.WriteString("Main", std::to_string(i), m_questions[i].Info.EntryName);
    for (const auto& q : m_questions) {
        const TFullQuestionInfo& info = q.Info;
        ini.WriteBool(info.EntryName, "TurnOn", info.TurnOn);
        ini.WriteInteger(info.EntryName, "Category", info.Category);
        ini.WriteInteger(info.EntryName, "Ticket", info.Ticket);
        ini.WriteString(info.EntryName, "Text", info.Text);
        ini.WriteInteger(info.EntryName, "Prio", info.Prio);
    }
    for (const auto& [id, name] : m_categories) ini.WriteString("Categories", std::to_string(id), name);
    for (const auto& [id, name] : m_tickets) ini.WriteString("Tickets", std::to_string(id), name);
    for (const auto& [key, value] : m_values) ini.WriteString("Values", key, value);
    return ini.Text();
}

TZipStatus TPackageBuilder::Write(const std::string& path, const TZipSignatures& signatures) const {
    TZipArchive archive(signatures);
    archive.CreateNew(path);
    const std::string catalogue = CatalogueText();
    TZipStatus s = archive.Put("Settings.ini", catalogue.data(), catalogue.size());
    if (s.Ok() && WithSettings) s = archive.Put("Settings.bin", SaveToBytes(Settings));
    for (const auto& q : m_questions)
        if (s.Ok()) s = archive.Put(q.Info.EntryName, q.Image);
    for (const auto& [kind, bytes] : m_pictures)
        if (s.Ok()) s = archive.Put(TZipTest::PictureEntryName(kind), bytes);
    return s.Ok() ? archive.Commit() : s;
}

}  // namespace mirvex
