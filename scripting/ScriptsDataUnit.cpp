// The script host.
#include "ScriptsDataUnit.h"

#include "ScriptEngine.h"
#include "util/Cp1251.h"

namespace mirvex {

using script::TNativeCall;
using script::TValue;

namespace {

IScriptSession* SessionOf(TNativeCall& c) { return static_cast<IScriptSession*>(c.Ctx->Param); }
const std::string& Str(TNativeCall& c, std::size_t i) { return c.Arg(i).Deref().Str(); }
std::int64_t Int(TNativeCall& c, std::size_t i) { return c.Arg(i).Deref().Int(); }
bool Bool(TNativeCall& c, std::size_t i) { return c.Arg(i).Deref().Bool(); }

script::THostParam P(const char* name, const char* type, bool isVar = false) { return {name, type, isVar}; }

// One dialog function: which parameters it has decides how the request is
// filled.
struct DialogShape {
    const char* Name;
    TScriptDialogRequest::Kind Kind;
    bool Ex;        // TextIndex instead of Text, no IconIndex
    bool HasList;   // ComboList / RadioLst and var ItemIndex
    bool HasInput;  // var InputText
};

}  // namespace

script::TValue TVarialbleRWBrige::Read() {
    if (Host->IsLive(Entry)) m_scriptValue = script::ValueFromVariant(Entry->Value);
    return m_scriptValue;
}

void TVarialbleRWBrige::Write(const script::TValue& value) {
    m_scriptValue = value.Deref();
    if (Host->IsLive(Entry)) Entry->Value = script::VariantFromValue(value);
}

TDataModuleScripts::TDataModuleScripts() : m_unit("MainUnit"), m_systemValues(std::make_unique<TSystemScriptValues>()) {
    DeclareLibrary();
    for (int i = 0; i < m_systemValues->Count(); ++i) Expose(m_systemValues->Items(i));
}

TDataModuleScripts::~TDataModuleScripts() {
    SetTestValues(nullptr);
    m_bridges.clear();
}

bool TDataModuleScripts::IsLive(const TScriptValueInfo* entry) const {
    return m_systemValues->IndexOf(entry) >= 0 || (m_testValues && m_testValues->IndexOf(entry) >= 0);
}

void TDataModuleScripts::Expose(TScriptValueInfo* entry) {
    const std::string type(ScriptValueKindName(entry->ValueKind));
    if (entry->ReadOnly) {
        m_unit.AddConstant({entry->Name, type, script::ValueFromVariant(entry->Value)});
        return;
    }
    auto bridge = std::make_shared<TVarialbleRWBrige>(entry, this);
    m_bridges.push_back(bridge);
    std::weak_ptr<TVarialbleRWBrige> weak = bridge;
    script::THostVariable variable;
    variable.Name = entry->Name;
    variable.TypeName = type;
    variable.Read = [weak]() -> TValue {
        if (auto b = weak.lock()) return b->Read();
        return TValue();
    };
    variable.Write = [weak](const TValue& value) {
        if (auto b = weak.lock()) b->Write(value);
    };
    m_unit.AddVariable(std::move(variable));
}

void TDataModuleScripts::Withdraw(TScriptValueInfo* entry) {
    if (entry->ReadOnly) {
        m_unit.RemoveConstant(entry->Name);
        return;
    }
    if (!m_unit.RemoveVariable(entry->Name)) return;
    for (auto it = m_bridges.begin(); it != m_bridges.end(); ++it)
        if ((*it)->Entry == entry) {
            m_bridges.erase(it);
            break;
        }
}

void TDataModuleScripts::SetTestValues(TScriptValues* values) {
    if (m_testValues)
        for (int i = 0; i < m_testValues->Count(); ++i) Withdraw(m_testValues->Items(i));
    m_testValues = values;
    if (m_testValues)
        for (int i = 0; i < m_testValues->Count(); ++i) Expose(m_testValues->Items(i));
}

void TDataModuleScripts::RunScript(IScriptSession* session, const std::string& text) {
    m_lastError.reset();
    auto program = script::CompileScript(text, {&m_unit});
    if (program->HasErrors()) {
        m_lastError = program->Errors().front();
        return;
    }
    script::TScriptError error;
    try {
        if (!program->Run(session, &error, StepLimit)) m_lastError = error;
    } catch (const std::exception& e) {
        // An error raised inside a host function that the engine did not
        // expect: discarded like any script error.
        m_lastError = script::TScriptError{script::TScriptError::Kind::Runtime, 0, 0, e.what()};
    }
}

void TDataModuleScripts::RefreshConstants() {
    for (int i = 0; i < m_systemValues->Count(); ++i) {
        TScriptValueInfo* entry = m_systemValues->Items(i);
        if (!entry->ReadOnly) continue;
        Withdraw(entry);
        Expose(entry);
    }
}

bool TDataModuleScripts::GetSystemValue(const std::string& name, TVariant& value) const {
    const TScriptValueInfo* entry = m_systemValues->FindByName(name);
    if (!entry) return false;
    value = entry->Value;
    return true;
}

TVariant TDataModuleScripts::ReadSystemValue(const std::string& name) const {
    TVariant value = TVariant::Null();
    (void)GetSystemValue(name, value);
    return value;
}

void TDataModuleScripts::SetSystemValue(const std::string& name, const TVariant& value) {
    TScriptValueInfo* entry = m_systemValues->FindByName(name);
    if (!entry) return;
    entry->Value = value;
    if (entry->ReadOnly) RefreshConstants();
}

TScriptValueInfo* TDataModuleScripts::FindValue(const std::string& name) const {
    if (TScriptValueInfo* entry = m_systemValues->FindByName(name)) return entry;
    return m_testValues ? m_testValues->FindByName(name) : nullptr;
}

void TDataModuleScripts::DeclareLibrary() {
    using K = TScriptDialogRequest::Kind;
    const DialogShape shapes[] = {
        {"ShowMessage", K::Message, false, false, false},   {"ShowMessageEx", K::UserText, true, false, false},
        {"ShowComboMessage", K::Combo, false, true, false}, {"ShowComboMessageEx", K::Combo, true, true, false},
        {"ShowRadioMessage", K::Radio, false, true, false}, {"ShowRadioMessageEx", K::Radio, true, true, false},
        {"ShowInputMessage", K::Input, false, false, true}, {"ShowInputMessageEx", K::Input, true, false, true},
    };
    for (const DialogShape& shape : shapes) {
        script::THostFunction f;
        f.Name = shape.Name;
        f.ResultType = "Integer";
        f.Params.push_back(P("WindowCaption", "String"));
        f.Params.push_back(shape.Ex ? P("TextIndex", "Integer") : P("Text", "String"));
        f.Params.push_back(P("Buttons", "String"));
        if (shape.HasList) {
            f.Params.push_back(P(shape.Kind == K::Combo ? "ComboList" : "RadioLst", "String"));
            f.Params.push_back(P("ItemIndex", "Integer", true));
        }
        if (shape.HasInput) f.Params.push_back(P("InputText", "String", true));
        f.Params.push_back(P("AutoCloseTime", "Integer"));
        if (!shape.Ex) f.Params.push_back(P("IconIndex", "Integer"));
        f.Fn = [shape](TNativeCall& c) -> TValue {
            TScriptDialogRequest request;
            request.DialogKind = shape.Kind;
            std::size_t i = 0;
            request.Caption = Str(c, i++);
            if (shape.Ex) {
                request.UsesTextIndex = true;
                request.TextIndex = Int(c, i++);
            } else {
                request.Text = Str(c, i++);
            }
            request.Buttons = Str(c, i++);
            std::size_t itemArg = 0, inputArg = 0;
            if (shape.HasList) {
                request.Items = Str(c, i++);
                itemArg = i;
                request.ItemIndex = Int(c, i++);
            }
            if (shape.HasInput) {
                inputArg = i;
                request.InputText = Str(c, i++);
            }
            request.AutoCloseTime = Int(c, i++);
            if (!shape.Ex) request.IconIndex = Int(c, i++);
            IScriptSession* session = SessionOf(c);
            if (!session) return TValue::Integer(-1);
            const std::int64_t button = session->ShowDialog(request);
            if (shape.HasList) c.Arg(itemArg).Deref().SetInt(request.ItemIndex);
            if (shape.HasInput) c.Arg(inputArg).Deref() = TValue::String(request.InputText);
            return TValue::Integer(button);
        };
        m_unit.AddFunction(std::move(f));
    }

    const auto add = [&](const char* name, std::vector<script::THostParam> params, const char* result,
                         script::TNativeFn fn) {
        script::THostFunction f;
        f.Name = name;
        f.Params = std::move(params);
        f.ResultType = result;
        f.Fn = std::move(fn);
        m_unit.AddFunction(std::move(f));
    };
    const std::vector<script::THostParam> iniSave = {P("Section", "String"), P("Ident", "String"), P("Value", "String")};
    const std::vector<script::THostParam> iniLoad = {P("Section", "String"), P("Ident", "String"),
                                                     P("Default", "String")};
    add("LocalSaveToIni", iniSave, "", [](TNativeCall& c) {
        if (auto* s = SessionOf(c)) s->LocalSaveToIni(Str(c, 0), Str(c, 1), Str(c, 2));
        return TValue();
    });
    add("LocalLoadFromIni", iniLoad, "String", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        return TValue::String(s ? s->LocalLoadFromIni(Str(c, 0), Str(c, 1), Str(c, 2)) : Str(c, 2));
    });
    add("RemoteSaveToIni", iniSave, "", [](TNativeCall& c) {
        if (auto* s = SessionOf(c)) s->RemoteSaveToIni(Str(c, 0), Str(c, 1), Str(c, 2));
        return TValue();
    });
    add("RemoteLoadFromIni", iniLoad, "String", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        return TValue::String(s ? s->RemoteLoadFromIni(Str(c, 0), Str(c, 1), Str(c, 2)) : Str(c, 2));
    });
    add("GetCategoryName", {P("CategoryIndex", "Integer")}, "String", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        std::optional<std::string> name = s ? s->GetCategoryName(Int(c, 0)) : std::nullopt;
        if (!name) script::RaiseRangeError();
        return TValue::String(*name);
    });
    add("GetTicketName", {P("TicketIndex", "Integer")}, "String", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        std::optional<std::string> name = s ? s->GetTicketName(Int(c, 0)) : std::nullopt;
        if (!name) script::RaiseRangeError();
        return TValue::String(*name);
    });
    add("AddLineToLog", {P("Str", "String")}, "", [](TNativeCall& c) {
        if (auto* s = SessionOf(c)) s->AddLineToLog(Str(c, 0));
        return TValue();
    });
    add("QuestsCountInCategory", {P("Index", "Integer")}, "Integer", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        std::optional<std::int64_t> n = s ? s->QuestsCountInCategory(Int(c, 0)) : std::nullopt;
        if (!n) script::RaiseRangeError();
        return TValue::Integer(*n);
    });
    add("QuestsCountInTicket", {P("Index", "Integer")}, "Integer", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        std::optional<std::int64_t> n = s ? s->QuestsCountInTicket(Int(c, 0)) : std::nullopt;
        if (!n) script::RaiseRangeError();
        return TValue::Integer(*n);
    });
    add("IsQuestionAnswered", {P("QuestIndex", "Integer")}, "Boolean", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        return TValue::Boolean(s && s->IsQuestionAnswered(Int(c, 0)));
    });
    const std::vector<script::THostParam> shell = {P("CmdLine", "String"), P("RunHidden", "Boolean"),
                                                   P("WaitResult", "Boolean")};
    add("ShellExecute", shell, "Integer", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        return TValue::Integer(s ? s->ShellExecute(Str(c, 0), Bool(c, 1), Bool(c, 2)) : 0);
    });
    add("RemoteShellExecute", shell, "Integer", [](TNativeCall& c) {
        auto* s = SessionOf(c);
        return TValue::Integer(s ? s->RemoteShellExecute(Str(c, 0), Bool(c, 1), Bool(c, 2)) : 0);
    });
    add("InterruptTest", {P("Reason", "String")}, "", [](TNativeCall& c) {
        if (auto* s = SessionOf(c)) s->InterruptTest(Str(c, 0));
        return TValue();
    });
}

}  // namespace mirvex
