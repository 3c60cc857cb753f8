// The script host: system variables and test values as scripts see them,
// the engine's access by name, and the library reaching the session.
#include "scripting/ScriptsDataUnit.h"

#include <gtest/gtest.h>

#include "util/Cp1251.h"

namespace mirvex {
namespace {

// A session that records what the library asked of it.
class TFakeSession : public IScriptSession {
public:
    std::vector<TScriptDialogRequest> Dialogs;
    std::int64_t Button = 1;
    std::int64_t NewItem = 2;
    std::string NewText = "typed";
    std::vector<std::string> Log;
    std::string Interrupted;
    bool WasInterrupted = false;
    std::map<std::string, std::string> Remote;

    std::int64_t ShowDialog(TScriptDialogRequest& r) override {
        Dialogs.push_back(r);
        r.ItemIndex = NewItem;
        r.InputText = NewText;
        return Button;
    }
    void LocalSaveToIni(const std::string&, const std::string&, const std::string&) override {}
    std::string LocalLoadFromIni(const std::string&, const std::string&, const std::string& d) override { return d; }
    void RemoteSaveToIni(const std::string& s, const std::string& k, const std::string& v) override {
        Remote[s + "/" + k] = v;
    }
    std::string RemoteLoadFromIni(const std::string& s, const std::string& k, const std::string& d) override {
        const auto it = Remote.find(s + "/" + k);
        return it == Remote.end() ? d : it->second;
    }
    std::optional<std::string> GetCategoryName(std::int64_t i) override {
        if (i < 0 || i > 1) return std::nullopt;
        return i == 0 ? std::string("Geo") : Cp1251("Категория по-умолчанию");
    }
    std::optional<std::string> GetTicketName(std::int64_t) override { return std::nullopt; }
    std::optional<std::int64_t> QuestsCountInCategory(std::int64_t i) override {
        if (i != 0) return std::nullopt;
        return 4;
    }
    std::optional<std::int64_t> QuestsCountInTicket(std::int64_t) override { return 0; }
    bool IsQuestionAnswered(std::int64_t i) override { return i == 1; }
    void AddLineToLog(const std::string& text) override { Log.push_back(text); }
    std::int64_t ShellExecute(const std::string&, bool, bool wait) override { return wait ? 7 : 0; }
    std::int64_t RemoteShellExecute(const std::string&, bool, bool) override { return 9; }
    void InterruptTest(const std::string& reason) override {
        WasInterrupted = true;
        Interrupted = reason;
    }
};

class HostTest : public ::testing::Test {
protected:
    TVariant Sys(const std::string& name) { return host.ReadSystemValue(name); }
    void Run(const std::string& utf8) { host.RunScript(&session, Cp1251(utf8)); }
    std::string LastError() const {
        return host.LastError() ? Cp1251ToUtf8(host.LastError()->Message) : std::string();
    }
    TDataModuleScripts host;
    TFakeSession session;
};

TEST_F(HostTest, CatalogueInOrderWithItsDefaults) {
    TSystemScriptValues& values = host.SystemValues();
    ASSERT_EQ(values.Count(), 67);
    EXPECT_EQ(values.Items(0)->Name, "SysQuestionsPassed");
    EXPECT_EQ(values.Items(27)->Name, "SysCurrentMark");
    EXPECT_EQ(values.Items(66)->Name, "SysWantedQuestionsCount");
    const struct {
        const char* name;
        TScriptValueKind kind;
        bool readOnly;
        TVariant value;
    } cases[] = {
        {"SysQuestionsPassed", TScriptValueKind::Integer, true, TVariant(0)},
        {"SysUserString", TScriptValueKind::String, true, TVariant(std::string())},
        {"SysUseInternalDialog", TScriptValueKind::Boolean, false, TVariant(true)},
        {"SysShowQuestsPanel", TScriptValueKind::Boolean, false, TVariant(0)},
        {"SysCurrentMark", TScriptValueKind::Float, false, TVariant(0)},
        {"SysLastUserAnswerIndex", TScriptValueKind::Integer, true, TVariant(-1)},
        {"SysWantedNextQuestionIndex", TScriptValueKind::Integer, false, TVariant(-1)},
        {"SysWantedQuestionsCount", TScriptValueKind::Integer, false, TVariant(-1)},
        {"SysSaveResults", TScriptValueKind::Boolean, false, TVariant(false)},
        {"SysMaxMark", TScriptValueKind::Integer, false, TVariant(0)},
    };
    for (const auto& c : cases) {
        const TScriptValueInfo* e = values.FindByName(c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->ValueKind, c.kind) << c.name;
        EXPECT_EQ(e->ReadOnly, c.readOnly) << c.name;
        EXPECT_EQ(e->Value, c.value) << c.name;
        EXPECT_FALSE(e->Description.empty()) << c.name;
    }
    int readOnly = 0;
    for (int i = 0; i < values.Count(); ++i) readOnly += values.Items(i)->ReadOnly ? 1 : 0;
    EXPECT_EQ(host.BridgeCount(), values.Count() - readOnly);
}

TEST_F(HostTest, EmptyScriptChangesNothing) {
    host.SetSystemValue("SysSaveResults", TVariant(true));
    Run("");
    EXPECT_FALSE(host.LastError());
    EXPECT_EQ(Sys("SysSaveResults"), TVariant(true));
}

TEST_F(HostTest, WritesAreSeenRightAfterTheHook) {
    host.SetSystemValue("SysSaveResults", TVariant(true));
    Run("SysSaveResults := False; SysSesstionRemarks := 'замечание'; SysCurrentMark := 4.5;");
    EXPECT_FALSE(host.LastError()) << LastError();
    EXPECT_EQ(Sys("SysSaveResults"), TVariant(false));
    EXPECT_EQ(Sys("sysSESSTIONremarks"), TVariant(Cp1251("замечание")));
    EXPECT_EQ(Sys("SysCurrentMark"), TVariant(4.5));
}

TEST_F(HostTest, ReadOnlyAssignmentStopsTheWholeScript) {
    host.SetSystemValue("SysSaveResults", TVariant(true));
    Run("SysSaveResults := False;\nSysQuestionsPassed := 5;");
    ASSERT_TRUE(host.LastError());
    EXPECT_EQ(host.LastError()->Line, 2);
    EXPECT_NE(LastError().find("cannot assign to a constant"), std::string::npos) << LastError();
    EXPECT_EQ(Sys("SysSaveResults"), TVariant(true));
    EXPECT_EQ(Sys("SysQuestionsPassed"), TVariant(0));
}

TEST_F(HostTest, ScriptsCannotStoreAnotherTypeIntoAVariable) {
    Run("SysTicketNumber := 'three';");
    ASSERT_TRUE(host.LastError());
    EXPECT_NE(LastError().find("incompatible types"), std::string::npos);
}

TEST_F(HostTest, RefreshedConstantIsSeenByTheNextRun) {
    Run("SysSesstionRemarks := IntToStr(SysTotalAskQuestsCount);");
    EXPECT_EQ(Sys("SysSesstionRemarks"), TVariant(std::string("0")));
    host.SetSystemValue("SysTotalAskQuestsCount", TVariant(12));
    Run("SysSesstionRemarks := IntToStr(SysTotalAskQuestsCount);");
    EXPECT_EQ(Sys("SysSesstionRemarks"), TVariant(std::string("12")));
}

TEST_F(HostTest, RunTimeErrorKeepsEarlierEffects) {
    Run("SysDialogsWidth := 640;\nSysDialogsWidth := SysDialogsWidth div SysAnimationSteps;\nSysDialogsWidth := 1;");
    ASSERT_TRUE(host.LastError());
    EXPECT_EQ(host.LastError()->Line, 2);
    EXPECT_EQ(Sys("SysDialogsWidth"), TVariant(640));
}

TEST_F(HostTest, EngineAccessByName) {
    TVariant v(std::string("kept"));
    EXPECT_FALSE(host.GetSystemValue("NoSuchValue", v));
    EXPECT_EQ(v, TVariant(std::string("kept")));
    EXPECT_TRUE(host.ReadSystemValue("NoSuchValue").IsNull());
    host.SetSystemValue("NoSuchValue", TVariant(1));
    EXPECT_TRUE(host.GetSystemValue("sysdialogswidth", v));
    EXPECT_EQ(host.FindValue("SYSUSERSTRING"), host.SystemValues().FindByName("SysUserString"));
    EXPECT_EQ(host.FindValue("Bonus"), nullptr);
}

TEST_F(HostTest, TestValuesAreWithdrawnAndReplaced) {
    const int systemBridges = host.BridgeCount();
    TScriptValues first, second;
    TScriptValueInfo* bonus = first.Add();
    bonus->Name = "Bonus";
    bonus->ValueKind = TScriptValueKind::Integer;
    bonus->Value = TVariant(3);
    TScriptValueInfo* title = first.Add();
    title->Name = "Title";
    title->ValueKind = TScriptValueKind::String;
    title->ReadOnly = true;
    title->Value = TVariant(std::string("first"));
    TScriptValueInfo* other = second.Add();
    other->Name = "Other";
    other->ValueKind = TScriptValueKind::Float;
    other->Value = TVariant(1.5);

    host.SetTestValues(&first);
    EXPECT_EQ(host.BridgeCount(), systemBridges + 1);
    Run("Bonus := Bonus * 10; SysSesstionRemarks := Title;");
    EXPECT_FALSE(host.LastError()) << LastError();
    EXPECT_EQ(bonus->Value, TVariant(30));
    EXPECT_EQ(Sys("SysSesstionRemarks"), TVariant(std::string("first")));
    EXPECT_EQ(host.FindValue("bonus"), bonus);
    TVariant unused;
    EXPECT_FALSE(host.GetSystemValue("Bonus", unused));  // the engine reaches system values only

    host.SetTestValues(&second);
    EXPECT_EQ(host.BridgeCount(), systemBridges + 1);
    Run("Bonus := 1;");
    ASSERT_TRUE(host.LastError());
    EXPECT_NE(LastError().find("undeclared identifier: 'Bonus'"), std::string::npos);
    Run("Title := 'x';");
    EXPECT_NE(LastError().find("undeclared identifier: 'Title'"), std::string::npos);
    Run("Other := Other + 1;");
    EXPECT_FALSE(host.LastError()) << LastError();
    EXPECT_EQ(other->Value, TVariant(2.5));
    host.SetTestValues(nullptr);
    EXPECT_EQ(host.BridgeCount(), systemBridges);
    EXPECT_EQ(host.Unit().Variables().size(), static_cast<std::size_t>(systemBridges));
}

TEST_F(HostTest, DialogsReachTheSessionAndHandValuesBack) {
    host.SetSystemValue("SysSaveResults", TVariant(true));
    Run("var i: Integer; var t: String;\n"
        "i := 0;\n"
        "SysTicketNumber := ShowComboMessage('Выбор', 'Текст', 'Да|Нет', 'a|b|c', i, 5, 2);\n"
        "SysCategoryNumber := i;\n"
        "t := 'start';\n"
        "SysAnimationSteps := ShowInputMessageEx('Ввод', -1, '', t, 0);\n"
        "SysSesstionRemarks := t;\n");
    EXPECT_FALSE(host.LastError()) << LastError();
    ASSERT_EQ(session.Dialogs.size(), 2u);
    const TScriptDialogRequest& combo = session.Dialogs[0];
    EXPECT_EQ(combo.DialogKind, TScriptDialogRequest::Kind::Combo);
    EXPECT_EQ(combo.Caption, Cp1251("Выбор"));
    EXPECT_EQ(combo.Items, "a|b|c");
    EXPECT_EQ(combo.ItemIndex, 0);
    EXPECT_EQ(combo.AutoCloseTime, 5);
    EXPECT_EQ(combo.IconIndex, 2);
    const TScriptDialogRequest& input = session.Dialogs[1];
    EXPECT_TRUE(input.UsesTextIndex);
    EXPECT_EQ(input.TextIndex, -1);
    EXPECT_EQ(input.InputText, "start");
    EXPECT_EQ(Sys("SysTicketNumber"), TVariant(1));
    EXPECT_EQ(Sys("SysCategoryNumber"), TVariant(2));
    EXPECT_EQ(Sys("SysSesstionRemarks"), TVariant(std::string("typed")));
}

TEST_F(HostTest, WithoutASessionTheLibraryKeepsItsPresets) {
    host.RunScript(nullptr, "var i: Integer; i := 3; SysTicketNumber := ShowRadioMessage('', '', '', 'a', i, 0, 1); "
                            "SysCategoryNumber := i; SysSesstionRemarks := RemoteLoadFromIni('s', 'k', 'dflt');");
    EXPECT_FALSE(host.LastError()) << LastError();
    EXPECT_EQ(Sys("SysTicketNumber"), TVariant(-1));
    EXPECT_EQ(Sys("SysCategoryNumber"), TVariant(3));
    EXPECT_EQ(Sys("SysSesstionRemarks"), TVariant(std::string("dflt")));
}

TEST_F(HostTest, SessionFunctions) {
    Run("AddLineToLog('из сценария');\n"
        "RemoteSaveToIni('S', 'K', 'v');\n"
        "SysSesstionRemarks := RemoteLoadFromIni('S', 'K', 'd') + GetCategoryName(1);\n"
        "SysTicketNumber := QuestsCountInCategory(0) + ShellExecute('true', True, True) + RemoteShellExecute('x', False, False);\n"
        "if IsQuestionAnswered(1) and not IsQuestionAnswered(0) then InterruptTest('');\n"
        "SysDialogsWidth := 1;\n"
        "SysSesstionRemarks := GetCategoryName(5);\n"
        "SysDialogsWidth := 2;\n");
    ASSERT_TRUE(host.LastError());
    EXPECT_EQ(host.LastError()->Line, 7);  // the index outside the list stops the script
    EXPECT_EQ(session.Log, std::vector<std::string>{Cp1251("из сценария")});
    EXPECT_EQ(Sys("SysSesstionRemarks"), TVariant(Cp1251("vКатегория по-умолчанию")));
    EXPECT_EQ(Sys("SysTicketNumber"), TVariant(4 + 7 + 9));
    EXPECT_TRUE(session.WasInterrupted);
    EXPECT_EQ(session.Interrupted, "");
    EXPECT_EQ(Sys("SysDialogsWidth"), TVariant(1));
}

TEST_F(HostTest, StepLimitStopsRunawayScripts) {
    host.StepLimit = 10000;
    Run("while True do SysDialogsWidth := SysDialogsWidth + 1;");
    ASSERT_TRUE(host.LastError());
    EXPECT_NE(LastError().find("too long"), std::string::npos);
}

}  // namespace
}  // namespace mirvex
