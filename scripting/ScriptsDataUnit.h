// The script host of a testing session: the unit "MainUnit" that every
// script sees (the function library, the system variables and the test's
// own values), running scripts, and the engine's access to the system
// variables by name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HostUnit.h"
#include "ScriptError.h"
#include "SystemScriptValues.h"
#include "model/ScriptValues.h"

namespace mirvex {

// What a script's dialog function asks the user interface to show.
struct TScriptDialogRequest {
    enum class Kind { Message, Radio, Combo, Input, UserText };
    Kind DialogKind = Kind::Message;
    std::string Caption;
    // The plain text, or for the Ex functions the extra text's number.
    std::string Text;
    std::int64_t TextIndex = 0;
    bool UsesTextIndex = false;
    std::string Buttons;
    std::string Items;  // radio and combo lists
    std::int64_t AutoCloseTime = 0;
    // Sent as one byte; the Ex functions use the default kind 1.
    std::int64_t IconIndex = 1;
    // In: the item selected at first and the initial text; out: what the
    // dialog held when it closed (unchanged when no reply came).
    std::int64_t ItemIndex = -1;
    std::string InputText;
};

// The testing session a script acts for: the library functions of
// "MainUnit" call it. The engine implements it; a null session (a script
// run without a session) gives every function its preset result.
class IScriptSession {
public:
    virtual ~IScriptSession() = default;
    // The button pressed, -1 when the dialog closed otherwise.
    virtual std::int64_t ShowDialog(TScriptDialogRequest& request) = 0;
    virtual void LocalSaveToIni(const std::string& section, const std::string& ident, const std::string& value) = 0;
    virtual std::string LocalLoadFromIni(const std::string& section, const std::string& ident,
                                         const std::string& fallback) = 0;
    virtual void RemoteSaveToIni(const std::string& section, const std::string& ident, const std::string& value) = 0;
    virtual std::string RemoteLoadFromIni(const std::string& section, const std::string& ident,
                                          const std::string& fallback) = 0;
    // Null for an index outside the list (the script then stops).
    virtual std::optional<std::string> GetCategoryName(std::int64_t index) = 0;
    virtual std::optional<std::string> GetTicketName(std::int64_t index) = 0;
    virtual std::optional<std::int64_t> QuestsCountInCategory(std::int64_t index) = 0;
    virtual std::optional<std::int64_t> QuestsCountInTicket(std::int64_t index) = 0;
    virtual bool IsQuestionAnswered(std::int64_t index) = 0;
    virtual void AddLineToLog(const std::string& text) = 0;
    virtual std::int64_t ShellExecute(const std::string& commandLine, bool hidden, bool wait) = 0;
    virtual std::int64_t RemoteShellExecute(const std::string& commandLine, bool hidden, bool wait) = 0;
    virtual void InterruptTest(const std::string& reason) = 0;
};

class TDataModuleScripts;

// Connects one script variable to its value entry while the entry is
// exposed.
class TVarialbleRWBrige {
public:
    TVarialbleRWBrige(TScriptValueInfo* entry, TDataModuleScripts* host) : Entry(entry), Host(host) {}
    // The entry's value while it is exposed, else what the script last saw.
    script::TValue Read();
    // Into the entry while it is exposed; ignored otherwise.
    void Write(const script::TValue& value);

    TScriptValueInfo* Entry;
    TDataModuleScripts* Host;

private:
    script::TValue m_scriptValue;
};

class TDataModuleScripts {
public:
    TDataModuleScripts();
    ~TDataModuleScripts();
    TDataModuleScripts(const TDataModuleScripts&) = delete;
    TDataModuleScripts& operator=(const TDataModuleScripts&) = delete;

    // Withdraws the previous test's values and exposes these (or none).
    void SetTestValues(TScriptValues* values);
    TScriptValues* TestValues() const { return m_testValues; }
    // Compiles `text` afresh and runs it once for `session`; every error is
    // swallowed (LastError keeps the latest for diagnostics only).
    void RunScript(IScriptSession* session, const std::string& text);
    // Re-exposes every read-only system value so that the constant carries
    // its current value.
    void RefreshConstants();
    bool GetSystemValue(const std::string& name, TVariant& value) const;
    // Null for an unknown name.
    TVariant ReadSystemValue(const std::string& name) const;
    // Unknown names are ignored; a read-only entry refreshes the constants.
    void SetSystemValue(const std::string& name, const TVariant& value);
    // Among the system values, then the test's values; letter case ignored.
    TScriptValueInfo* FindValue(const std::string& name) const;

    TSystemScriptValues& SystemValues() { return *m_systemValues; }
    const script::THostUnit& Unit() const { return m_unit; }
    int BridgeCount() const { return static_cast<int>(m_bridges.size()); }
    const std::optional<script::TScriptError>& LastError() const { return m_lastError; }
    // Limits each run's loop iterations and calls (0: none, as tests run).
    std::int64_t StepLimit = 0;

private:
    friend class TVarialbleRWBrige;
    void DeclareLibrary();
    void Expose(TScriptValueInfo* entry);
    void Withdraw(TScriptValueInfo* entry);
    bool IsLive(const TScriptValueInfo* entry) const;

    script::THostUnit m_unit;
    std::unique_ptr<TSystemScriptValues> m_systemValues;
    TScriptValues* m_testValues = nullptr;
    std::vector<std::shared_ptr<TVarialbleRWBrige>> m_bridges;
    std::optional<script::TScriptError> m_lastError;
};

}  // namespace mirvex
