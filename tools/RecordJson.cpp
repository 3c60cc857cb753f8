// JSON images of the records.
#include "RecordJson.h"

#include <zlib.h>

#include <cstdio>

#include "util/Cp1251.h"

namespace mirvex::json {
namespace {

// Writes the fields of a text with attachments into the open object.
void TextFields(TJsonWriter& w, const TTextWithAttaches& r) {
    w.Key("RichText");
    Write(w, r.RichText);
    w.Key("Attachments").BeginArray();
    for (const auto& a : r.Attachments) Write(w, *a);
    w.EndArray();
}

void Lines(TJsonWriter& w, const TStringList& lines) {
    w.BeginArray();
    for (const auto& line : lines) WriteText(w, line);
    w.EndArray();
}

}  // namespace

void WriteText(TJsonWriter& w, std::string_view cp1251) { w.String(Cp1251ToUtf8(cp1251)); }

void WriteBytes(TJsonWriter& w, const TBytes& bytes) {
    const uLong crc = crc32_z(crc32_z(0L, Z_NULL, 0), bytes.data(), bytes.size());
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08lx", static_cast<unsigned long>(crc));
    w.BeginObject().Key("size").Integer(static_cast<std::int64_t>(bytes.size())).Key("crc32").String(hex).EndObject();
}

void WriteVariant(TJsonWriter& w, const TVariant& v) {
    switch (v.GetKind()) {
        case TVariant::Kind::Empty:
        case TVariant::Kind::Null: w.Null(); break;
        case TVariant::Kind::Boolean: w.Boolean(v.AsBoolean()); break;
        case TVariant::Kind::Integer: w.Integer(v.AsInteger()); break;
        case TVariant::Kind::Float:
        case TVariant::Kind::DateTime: w.Number(v.AsFloat()); break;
        case TVariant::Kind::String: WriteText(w, v.AsString()); break;
        case TVariant::Kind::Array:
            w.BeginArray();
            for (const auto& item : v.AsArray()) WriteVariant(w, item);
            w.EndArray();
            break;
    }
}

static const char* VariantTypeName(const TVariant& v) {
    switch (v.GetKind()) {
        case TVariant::Kind::Empty: return "Empty";
        case TVariant::Kind::Null: return "Null";
        case TVariant::Kind::Boolean: return "Boolean";
        case TVariant::Kind::Integer: return "Integer";
        case TVariant::Kind::Float: return "Float";
        case TVariant::Kind::DateTime: return "DateTime";
        case TVariant::Kind::String: return "String";
        case TVariant::Kind::Array: return "Array";
    }
    return "";
}

void Write(TJsonWriter& w, const TRTFText& r) {
    w.BeginObject().Key("Version").Integer(r.Version).Key("PlainText");
    Lines(w, r.PlainText);
    w.Key("RtfData");
    WriteBytes(w, r.RtfData);
    w.EndObject();
}

void Write(TJsonWriter& w, const TAttach& r) {
    w.BeginObject()
        .Key("Version").Integer(r.Version)
        .Key("Kind").Integer(static_cast<int>(r.Kind))
        .Key("PlayMode").Integer(static_cast<int>(r.PlayMode))
        .Key("RepeatPlay").Integer(r.RepeatPlay)
        .Key("LayoutFlag").Integer(r.LayoutFlag)
        .Key("FitMode").Integer(static_cast<int>(r.FitMode))
        .Key("Width").Integer(r.Width)
        .Key("Height").Integer(r.Height)
        .Key("FileName");
    WriteText(w, r.FileName);
    w.Key("FileData");
    WriteBytes(w, r.FileData);
    w.EndObject();
}

void Write(TJsonWriter& w, const TTextWithAttaches& r) {
    w.BeginObject().Key("Version").Integer(r.Version);
    TextFields(w, r);
    w.EndObject();
}

void Write(TJsonWriter& w, const TUserTextWithAttach& r) {
    w.BeginObject().Key("Version").Integer(r.Version).Key("Present").Boolean(r.Present);
    if (r.Present) {
        w.Key("Text");
        Write(w, r.Text);
    }
    w.EndObject();
}

void Write(TJsonWriter& w, const TTextWithAttachesList& r) {
    w.BeginArray();
    for (const auto& item : r) Write(w, *item);
    w.EndArray();
}

void Write(TJsonWriter& w, const TTestAnswer& r) {
    w.BeginObject().Key("Version").Integer(r.Version);
    TextFields(w, r);
    w.Key("IsLeft").Boolean(r.Conformity.IsLeft).Key("Ident");
    WriteText(w, r.Conformity.Ident);
    w.Key("Links");
    WriteText(w, r.Conformity.Links);
    w.Key("Priority").Integer(r.Priority);
    w.EndObject();
}

void Write(TJsonWriter& w, const TTestQuestion& r) {
    w.BeginObject().Key("Version").Integer(r.Version);
    TextFields(w, r);
    w.Key("QuestionType").Integer(static_cast<int>(r.QuestionType)).Key("TimeLimit").Integer(r.TimeLimit);
    w.Key("Answers").BeginArray();
    for (const auto& a : r.Answers) Write(w, *a);
    w.EndArray();
    w.Key("ExtraTexts");
    Write(w, r.ExtraTexts);
    w.Key("QuestionScript");
    WriteText(w, r.QuestionScript);
    w.Key("AnswerScript");
    WriteText(w, r.AnswerScript);
    w.EndObject();
}

void Write(TJsonWriter& w, const TScriptValues& r) {
    w.BeginObject().Key("Version").Integer(r.Version).Key("Values").BeginArray();
    for (int i = 0; i < r.Count(); ++i) {
        const TScriptValueInfo& e = *r.Items(i);
        w.BeginObject().Key("ValueKind").Integer(static_cast<int>(e.ValueKind)).Key("Name");
        WriteText(w, e.Name);
        w.Key("Description");
        WriteText(w, e.Description);
        w.Key("ValueType").String(VariantTypeName(e.Value)).Key("Value");
        WriteVariant(w, e.Value);
        w.Key("ReadOnly").Boolean(e.ReadOnly);
        w.EndObject();
    }
    w.EndArray().EndObject();
}

void Write(TJsonWriter& w, const TTestSettings& r) {
    w.BeginObject()
        .Key("Version").Integer(r.Version)
        .Key("TimeLimitRule").Integer(r.TimeLimitRule)
        .Key("TimeLimitValue").Integer(r.TimeLimitValue)
        .Key("ShowAnswerRule").Integer(r.ShowAnswerRule)
        .Key("AnswerAutoCloseSecs").Integer(r.AnswerAutoCloseSecs)
        .Key("SelectQuestsRule").Integer(r.SelectQuestsRule)
        .Key("SelectQuestsRuleCount").Integer(r.SelectQuestsRuleCount)
        .Key("RandomizeAnswers").Boolean(r.RandomizeAnswers)
        .Key("UseSkipQuests").Boolean(r.UseSkipQuests)
        .Key("ShowQuestsPanel").Boolean(r.ShowQuestsPanel)
        .Key("SkipQuestsMaxCount").Integer(r.SkipQuestsMaxCount)
        .Key("ShowPremark").Boolean(r.ShowPremark)
        .Key("MaxMark").Number(r.MaxMark)
        .Key("CalcMarkRule").Integer(r.CalcMarkRule)
        .Key("MaxAssessesPoints").Integer(r.MaxAssessesPoints)
        .Key("Reserved").Integer(r.Reserved)
        .Key("BackPictureMode").Integer(r.BackPictureMode)
        .Key("BackColor").Integer(r.BackColor)
        .Key("UseAnimation").Boolean(r.UseAnimation)
        .Key("ShowInterruptBtn").Boolean(r.ShowInterruptBtn)
        .Key("ShowResultRule").Integer(r.ShowResultRule)
        .Key("Description");
    Write(w, r.Description);
    w.Key("ExtraTexts");
    Write(w, r.ExtraTexts);
    w.Key("BeforeQuestionScript");
    WriteText(w, r.BeforeQuestionScript);
    w.Key("AfterAnswerScript");
    WriteText(w, r.AfterAnswerScript);
    w.Key("StartScript");
    WriteText(w, r.StartScript);
    w.Key("FinishScript");
    WriteText(w, r.FinishScript);
    w.Key("ScriptValues");
    Write(w, r.ScriptValues);
    w.Key("MarkLines");
    Lines(w, r.MarkLines());
    w.Key("MarkTexts").BeginArray();
    for (int i = 0; i < r.MarkCount(); ++i) Write(w, *r.MarkText(i));
    w.EndArray();
    w.Key("UseInternalDialog").Boolean(r.UseInternalDialog).Key("InternalDialogPrompt");
    WriteText(w, r.InternalDialogPrompt);
    w.EndObject();
}

void Write(TJsonWriter& w, const TCustomUserUnit& r) {
    w.BeginObject()
        .Key("Class").String(r.IsCategory() ? "TUserCategory" : "TUser")
        .Key("Version").Integer(r.Version)
        .Key("UserId").Integer(r.UserId)
        .Key("Description");
    Write(w, r.Description);
    w.Key("Name");
    WriteText(w, r.Name);
    if (r.IsCategory()) {
        const auto& group = static_cast<const TUserCategory&>(r);
        w.Key("ChildLabel");
        WriteText(w, group.ChildLabel);
        w.Key("Children").BeginArray();
        for (int i = 0; i < group.ChildCount(); ++i) Write(w, *group.Child(i));
        w.EndArray();
    } else {
        w.Key("Password");
        WriteText(w, static_cast<const TUser&>(r).Password);
    }
    w.EndObject();
}

void Write(TJsonWriter& w, const TUsers& r) {
    w.BeginObject().Key("Version").Integer(r.Version).Key("LastId").Integer(r.LastId).Key("Root");
    Write(w, r.Root());
    w.EndObject();
}

void Write(TJsonWriter& w, const TSelfSettings& r) {
    w.BeginObject()
        .Key("Version").Integer(r.Version)
        .Key("LoginMode").Integer(static_cast<int>(r.LoginMode))
        .Key("StatMode").Integer(static_cast<int>(r.StatMode))
        .Key("StatFileName");
    WriteText(w, r.StatFileName);
    w.Key("ShowResultsChoice").Boolean(r.ShowResultsChoice).Key("MaxLoginAttempts").Integer(r.MaxLoginAttempts);
    w.Key("LoginPrompt");
    WriteText(w, r.LoginPrompt);
    w.EndObject();
}

void Write(TJsonWriter& w, const TVariableValues& r) {
    w.BeginObject().Key("Version").Integer(r.Version).Key("Text");
    WriteText(w, r.Text);
    w.EndObject();
}

}  // namespace mirvex::json
