// A test package: the catalogue "Settings.ini", the settings "Settings.bin",
// one entry per question and up to three pictures, in the system's zip
// container. Loads questions on demand and writes entries back unless the
// package is protected.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ZipArchive.h"
#include "model/TestQuestion.h"
#include "model/TestSettings.h"
#include "util/Exception.h"
#include "util/IniText.h"

namespace mirvex {

// One catalogue line of a question.
struct TFullQuestionInfo {
    bool TurnOn = true;
    std::int32_t Category = 0;
    std::int32_t Ticket = 0;
    std::string Text;
    // The question's section name, which is also its entry name.
    std::string EntryName;
    std::int32_t Prio = 1;
};

enum class TProtectionState : std::uint8_t {
    Writable = 0,
    ReadOnly = 1,       // "Protection" starting with R
    Protected = 2,      // "Protection" starting with E or S
    PasswordError = 3,  // the archive reported a password error
    NotOpened = 4,      // the archive could not be opened
};

enum class TPackageError : std::uint8_t {
    None = 0,
    OpenFailed = 1,
    IndexOutOfRange = 2,
    Password = 3,
    QuestionLoad = 5,
    EntryRead = 6,
};

enum class TPictureKind { TestIcon = 1, UserPicture = 2, Background = 3 };

// Raised when a protected package is written: "Запись в тест %s запрещена".
class ETestAccess : public Exception {
public:
    using Exception::Exception;
};

class TZipTest {
public:
    TZipTest();

    // Opens the package and reads its catalogue and, when asked, its
    // settings. The password must be empty: packages are never encrypted.
    bool Open(const std::string& path, const std::string& password = "", bool withSettings = true);
    // With write back, saves first; always clears the object.
    void Close(bool writeBack);

    // The entry buffer every read fills and every write takes.
    TMemoryStream& EntryBuffer() { return m_buffer; }
    // Fills the buffer (rewound) with the entry; false when the package is
    // not open or the entry cannot be extracted.
    bool ReadEntry(const std::string& name);
    // Stores the buffer under `name`, replacing an entry of that name, and
    // writes the package. Throws ETestAccess when the package is protected
    // and writes are not overridden.
    bool WriteEntry(const std::string& name);
    // Writes the catalogue back as "Settings.ini" and, when settings were
    // read at open, the settings as "Settings.bin".
    bool Save();

    int Count() const { return static_cast<int>(m_catalogue.size()); }
    // Null outside the catalogue.
    const TFullQuestionInfo* Info(int index) const;
    TFullQuestionInfo* Info(int index);
    bool TurnOn(int index) const;
    std::int32_t Category(int index) const;
    std::int32_t Ticket(int index) const;
    std::int32_t Prio(int index) const;
    std::string Text(int index) const;
    int TurnOnCount() const;
    // Appends a catalogue line (for writers of packages).
    TFullQuestionInfo& AddInfo(TFullQuestionInfo info);

    // Clears the last error first; sets 2, 6 or 5 on failure.
    bool LoadQuestion(int index, TTestQuestion& question);
    std::unique_ptr<TTestQuestion> LoadQuestion(int index);

    // name=value lines of the sections "Categories" and "Tickets".
    TStringList Categories() const { return m_ini.ReadSectionValues("Categories"); }
    TStringList Tickets() const { return m_ini.ReadSectionValues("Tickets"); }
    // "SAVE_GUID" of "Values".
    std::string TestIdentity() const { return m_ini.ReadString("Values", "SAVE_GUID", ""); }
    // The picture's file name and its bytes; false for another kind, a
    // missing entry, a cut name or no data behind the name.
    bool Picture(int kind, std::string& name, TStream& data);
    static const char* PictureEntryName(int kind);

    const std::string& ArchiveName() const { return m_path; }
    TTestSettings& Settings() { return *m_settings; }
    const TTestSettings& Settings() const { return *m_settings; }
    TIniText& Ini() { return m_ini; }
    const TIniText& Ini() const { return m_ini; }
    TZipArchive& Archive() { return m_archive; }

    TProtectionState Protection() const { return m_protection; }
    TPackageError LastError() const { return m_lastError; }
    void ClearLastError() { m_lastError = TPackageError::None; }
    bool SettingsLoaded() const { return m_settingsLoaded; }
    bool WriteOverride = false;
    // Told 100 when an operation completes.
    std::function<void(int percent)> OnProgress;

private:
    void Clear();
    void SetError(TPackageError error);
    bool LoadCatalogue(bool withSettings);
    void ReadProtection();
    void Progress();

    TZipArchive m_archive;
    std::string m_path;
    std::vector<TFullQuestionInfo> m_catalogue;
    TIniText m_ini;
    std::unique_ptr<TTestSettings> m_settings;
    bool m_settingsLoaded = true;
    TProtectionState m_protection = TProtectionState::Writable;
    TPackageError m_lastError = TPackageError::None;
    TMemoryStream m_buffer;
};

}  // namespace mirvex
