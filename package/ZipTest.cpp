// Test packages.
#include "ZipTest.h"

#include "util/Coding.h"
#include "util/Cp1251.h"
#include "util/FormatSettings.h"

namespace mirvex {
namespace {

constexpr const char* kCatalogueEntry = "Settings.ini";
constexpr const char* kSettingsEntry = "Settings.bin";

}  // namespace

TZipTest::TZipTest() : m_settings(std::make_unique<TTestSettings>()) {}

void TZipTest::Clear() {
    m_catalogue.clear();
    m_ini.Clear();
    // A fresh object: every field at its default.
    m_settings = std::make_unique<TTestSettings>();
    m_buffer.Clear();
}

void TZipTest::SetError(TPackageError error) {
    if (m_lastError == TPackageError::None) m_lastError = error;
}

void TZipTest::Progress() {
    if (OnProgress) OnProgress(100);
}

bool TZipTest::Open(const std::string& path, const std::string& password, bool withSettings) {
    Close(false);
    m_protection = TProtectionState::Writable;
    m_lastError = TPackageError::None;
    m_path = path;
    (void)password;  // packages carry no encrypted entries
    if (!m_archive.Open(path).Ok()) {
        SetError(TPackageError::OpenFailed);
    } else if (!LoadCatalogue(withSettings)) {
        SetError(TPackageError::EntryRead);
    }
    switch (m_lastError) {
        case TPackageError::OpenFailed:
        case TPackageError::EntryRead: m_protection = TProtectionState::NotOpened; break;
        case TPackageError::Password: m_protection = TProtectionState::PasswordError; break;
        default: ReadProtection(); break;
    }
    Progress();
    return m_lastError == TPackageError::None;
}

void TZipTest::Close(bool writeBack) {
    struct ClearOnExit {
        TZipTest& self;
        ~ClearOnExit() {
            self.Clear();
            self.m_archive.Close();
            self.m_path.clear();
        }
    } clear{*this};
    if (m_archive.IsOpen() && writeBack) Save();
}

bool TZipTest::LoadCatalogue(bool withSettings) {
    if (!ReadEntry(kCatalogueEntry)) return false;
    m_ini.SetText(std::string_view(reinterpret_cast<const char*>(m_buffer.Data()), static_cast<std::size_t>(m_buffer.Size())));
    for (const std::string& line : m_ini.ReadSection("Main")) {
        TFullQuestionInfo info;
        info.EntryName = m_ini.ReadString("Main", line, "");
        info.TurnOn = m_ini.ReadBool(info.EntryName, "TurnOn", true);
        info.Category = m_ini.ReadInteger(info.EntryName, "Category", 0);
        info.Ticket = m_ini.ReadInteger(info.EntryName, "Ticket", 0);
        info.Text = m_ini.ReadString(info.EntryName, "Text", "");
        info.Prio = m_ini.ReadInteger(info.EntryName, "Prio", 1);
        m_catalogue.push_back(std::move(info));
    }
    m_settingsLoaded = withSettings;
    if (!withSettings) return true;
    if (!ReadEntry(kSettingsEntry)) {
        m_settings = std::make_unique<TTestSettings>();
        return false;
    }
    // A settings block that does not load keeps what was read of it.
    (void)m_settings->LoadFromStream(m_buffer);
    return true;
}

void TZipTest::ReadProtection() {
    m_protection = TProtectionState::Writable;
    const std::string value = m_ini.ReadString("Values", "Protection", "");
    if (value.empty()) return;
    if (value[0] == 'E' || value[0] == 'S') m_protection = TProtectionState::Protected;
    else if (value[0] == 'R') m_protection = TProtectionState::ReadOnly;
}

bool TZipTest::ReadEntry(const std::string& name) {
    m_buffer.Clear();
    if (m_protection == TProtectionState::PasswordError || m_protection == TProtectionState::NotOpened) return false;
    if (!m_archive.IsOpen()) return false;
    TBytes bytes;
    const TZipStatus status = m_archive.Extract(name, bytes);
    if (status.Code == TZipError::Password) SetError(TPackageError::Password);
    if (!status.Ok()) return false;
    m_buffer = TMemoryStream(std::move(bytes));
    return true;
}

bool TZipTest::WriteEntry(const std::string& name) {
    if (m_protection != TProtectionState::Writable && !WriteOverride) {
        static const std::string kMessage = Cp1251("Запись в тест %s запрещена");
        throw ETestAccess(Format(kMessage, {Utf8ToCp1251(m_path)}));
    }
    if (!m_archive.IsOpen()) return false;
    const bool ok = m_archive.Put(name, m_buffer.Bytes()).Ok() && m_archive.Commit().Ok();
    m_buffer.SetPosition(0);
    if (ok) Progress();
    return ok;
}

bool TZipTest::Save() {
    m_ini.ClearSection("Main");
    for (std::size_t i = 0; i < m_catalogue.size(); ++i) {
        const TFullQuestionInfo& info = m_catalogue[i];
        m_ini.WriteString("Main", std::to_string(i), info.EntryName);
        m_ini.WriteBool(info.EntryName, "TurnOn", info.TurnOn);
        m_ini.WriteInteger(info.EntryName, "Category", info.Category);
        m_ini.WriteInteger(info.EntryName, "Ticket", info.Ticket);
        m_ini.WriteString(info.EntryName, "Text", info.Text);
        m_ini.WriteInteger(info.EntryName, "Prio", info.Prio);
    }
    const std::string text = m_ini.Text();
    m_buffer = TMemoryStream(text.data(), text.size());
    if (!WriteEntry(kCatalogueEntry)) return false;
    if (!m_settingsLoaded) return true;
    m_buffer.Clear();
    return m_settings->SaveToStream(m_buffer) && WriteEntry(kSettingsEntry);
}

const TFullQuestionInfo* TZipTest::Info(int index) const {
    return index >= 0 && index < Count() ? &m_catalogue[static_cast<std::size_t>(index)] : nullptr;
}

TFullQuestionInfo* TZipTest::Info(int index) {
    return index >= 0 && index < Count() ? &m_catalogue[static_cast<std::size_t>(index)] : nullptr;
}

bool TZipTest::TurnOn(int index) const { return Info(index) && Info(index)->TurnOn; }
std::int32_t TZipTest::Category(int index) const { return Info(index) ? Info(index)->Category : 0; }
std::int32_t TZipTest::Ticket(int index) const { return Info(index) ? Info(index)->Ticket : 0; }
std::int32_t TZipTest::Prio(int index) const { return Info(index) ? Info(index)->Prio : 0; }
std::string TZipTest::Text(int index) const { return Info(index) ? Info(index)->Text : std::string(); }

int TZipTest::TurnOnCount() const {
    int n = 0;
    for (const auto& info : m_catalogue) n += info.TurnOn ? 1 : 0;
    return n;
}

TFullQuestionInfo& TZipTest::AddInfo(TFullQuestionInfo info) {
    m_catalogue.push_back(std::move(info));
    return m_catalogue.back();
}

bool TZipTest::LoadQuestion(int index, TTestQuestion& question) {
    ClearLastError();
    const TFullQuestionInfo* info = Info(index);
    if (!info) {
        SetError(TPackageError::IndexOutOfRange);
        return false;
    }
    if (!ReadEntry(info->EntryName)) {
        SetError(TPackageError::EntryRead);
        return false;
    }
    if (!question.LoadFromStream(m_buffer)) {
        SetError(TPackageError::QuestionLoad);
        return false;
    }
    Progress();
    return true;
}

std::unique_ptr<TTestQuestion> TZipTest::LoadQuestion(int index) {
    auto question = std::make_unique<TTestQuestion>();
    if (!LoadQuestion(index, *question)) return nullptr;
    return question;
}

const char* TZipTest::PictureEntryName(int kind) {
    switch (kind) {
        case 1: return "TESTICON.BIN";
        case 2: return "USERBMP.BIN";
        case 3: return "BACKPIC.BIN";
        default: return nullptr;
    }
}

bool TZipTest::Picture(int kind, std::string& name, TStream& data) {
    name.clear();
    const char* entry = PictureEntryName(kind);
    if (!entry || !ReadEntry(entry)) return false;
    const bool ok = ReadString(m_buffer, name) && m_buffer.Remaining() > 0 &&
                    data.CopyFrom(m_buffer, m_buffer.Remaining());
    m_buffer.Clear();
    if (ok) Progress();
    return ok;
}

}  // namespace mirvex
