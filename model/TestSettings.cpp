// Test settings and the mark scale.
#include "TestSettings.h"

#include "util/Cp1251.h"
#include "util/FormatSettings.h"

namespace mirvex {

TMarkDescription DecodeMarkLine(std::string_view line) {
    TMarkDescription mark;
    std::string rest = Trim(line);
    std::int32_t* numbers[] = {&mark.Low, &mark.High, &mark.Colour};
    for (std::int32_t* number : numbers) {
        const std::size_t blank = rest.find(' ');
        if (blank == std::string::npos) {
            *number = 0;
            continue;
        }
        *number = StrToIntDef(Trim(std::string_view(rest).substr(0, blank + 1)), 0);
        rest = Trim(std::string_view(rest).substr(blank));
    }
    mark.Text = rest;
    return mark;
}

TTestSettings::TTestSettings() {
    ResetToDefaults();
    ShowInterruptBtn = true;
    Version = 1;
}

TUserTextWithAttach* TTestSettings::MarkText(int index) const {
    return index >= 0 && index < MarkCount() ? m_markTexts[static_cast<std::size_t>(index)].get() : nullptr;
}

void TTestSettings::CheckMarkIndex(int index) const {
    if (index < 0 || index >= MarkCount()) {
        static const std::string kMessage = Cp1251("Индекс оценки %d выходит за границу");
        throw Exception(Format(kMessage, {index}));
    }
}

TMarkDescription TTestSettings::GetMark(int index) const {
    CheckMarkIndex(index);
    TMarkDescription mark = DecodeMarkLine(m_markLines[static_cast<std::size_t>(index)]);
    mark.TextObject = m_markTexts[static_cast<std::size_t>(index)].get();
    return mark;
}

void TTestSettings::DeleteMark(int index) {
    CheckMarkIndex(index);
    m_markLines.erase(m_markLines.begin() + index);
    m_markTexts.erase(m_markTexts.begin() + index);
}

void TTestSettings::ClearMarks() {
    m_markLines.clear();
    m_markTexts.clear();
}

TUserTextWithAttach* TTestSettings::AddMark(std::string line) {
    m_markLines.push_back(std::move(line));
    m_markTexts.push_back(std::make_unique<TUserTextWithAttach>());
    return m_markTexts.back().get();
}

std::optional<TMarkDescription> TTestSettings::FindMark(double value) const {
    for (int i = 0; i < MarkCount(); ++i) {
        TMarkDescription mark = GetMark(i);
        if (mark.Low <= value && value <= mark.High) return mark;
    }
    return std::nullopt;
}

void TTestSettings::ResetToDefaults() {
    BeforeQuestionScript.clear();
    AfterAnswerScript.clear();
    StartScript.clear();
    FinishScript.clear();
    ClearMarks();
    TimeLimitRule = 1;
    TimeLimitValue = 0;
    ShowAnswerRule = 0;
    AnswerAutoCloseSecs = 0;
    SelectQuestsRule = 0;
    SelectQuestsRuleCount = 0;
    RandomizeAnswers = false;
    UseSkipQuests = true;
    SkipQuestsMaxCount = 0;
    UseAnimation = true;
    Reserved = 0;
    BackPictureMode = 0;
    MaxAssessesPoints = 0;
    MaxMark = 5.0;
    CalcMarkRule = 0;
    ShowResultRule = 1;
    UseInternalDialog = true;
    static const std::string kPrompt = Cp1251("Сделайте выбор:");
    InternalDialogPrompt = kPrompt;
}

void TTestSettings::ClearContent() {
    ExtraTexts.Clear();
    ClearMarks();
    Description.Clear();
    ScriptValues.Clear();
}

TTextWithAttaches* TTestSettings::ExtraTextByNumber(int n, const TTestQuestion* currentQuestion) const {
    if (n > 0) return ExtraTexts.Items(n - 1);
    if (n < 0 && currentQuestion && n != INT32_MIN) return currentQuestion->ExtraTexts.Items(-n - 1);
    return nullptr;
}

bool TTestSettings::LoadBody(TStream& s) {
    ClearMarks();
    std::string lines;
    const bool ok = TCustomTanker::LoadBody(s) && ReadString(s, lines) && ReadByte(s, TimeLimitRule) &&
                    ReadInt32(s, TimeLimitValue) && ReadByte(s, ShowAnswerRule) && ReadInt32(s, AnswerAutoCloseSecs) &&
                    ReadByte(s, SelectQuestsRule) && ReadInt32(s, SelectQuestsRuleCount) && ReadBoolean(s, RandomizeAnswers) &&
                    ReadBoolean(s, UseSkipQuests) && ReadBoolean(s, ShowQuestsPanel) &&
                    ReadInt32(s, SkipQuestsMaxCount) && ReadBoolean(s, ShowPremark) && ReadExtended(s, MaxMark) &&
                    ReadByte(s, CalcMarkRule) && ReadInt32(s, MaxAssessesPoints) && ReadByte(s, Reserved) &&
                    ReadByte(s, BackPictureMode) && ReadInt32(s, BackColor) && ReadBoolean(s, UseAnimation) &&
                    ReadBoolean(s, ShowInterruptBtn) && ReadByte(s, ShowResultRule) &&
                    Description.LoadFromStream(s) && ExtraTexts.LoadFromStream(s) &&
                    ReadString(s, BeforeQuestionScript) && ReadString(s, AfterAnswerScript) &&
                    ReadString(s, StartScript) && ReadString(s, FinishScript) && ScriptValues.LoadFromStream(s);
    if (!ok) return false;
    for (std::string& line : SplitLines(lines))
        if (!AddMark(std::move(line))->LoadFromStream(s)) return false;
    if (Version > 0) return ReadBoolean(s, UseInternalDialog) && ReadString(s, InternalDialogPrompt);
    return true;
}

bool TTestSettings::SaveBody(TStream& s) const {
    const bool ok =
        TCustomTanker::SaveBody(s) && WriteString(s, JoinLines(m_markLines)) && WriteByte(s, TimeLimitRule) &&
        WriteInt32(s, TimeLimitValue) && WriteByte(s, ShowAnswerRule) && WriteInt32(s, AnswerAutoCloseSecs) &&
        WriteByte(s, SelectQuestsRule) && WriteInt32(s, SelectQuestsRuleCount) && WriteBoolean(s, RandomizeAnswers) &&
        WriteBoolean(s, UseSkipQuests) && WriteBoolean(s, ShowQuestsPanel) && WriteInt32(s, SkipQuestsMaxCount) &&
        WriteBoolean(s, ShowPremark) && WriteExtended(s, MaxMark) && WriteByte(s, CalcMarkRule) &&
        WriteInt32(s, MaxAssessesPoints) && WriteByte(s, Reserved) && WriteByte(s, BackPictureMode) &&
        WriteInt32(s, BackColor) && WriteBoolean(s, UseAnimation) && WriteBoolean(s, ShowInterruptBtn) &&
        WriteByte(s, ShowResultRule) && Description.SaveToStream(s) && ExtraTexts.SaveToStream(s) &&
        WriteString(s, BeforeQuestionScript) && WriteString(s, AfterAnswerScript) && WriteString(s, StartScript) &&
        WriteString(s, FinishScript) && ScriptValues.SaveToStream(s);
    if (!ok) return false;
    for (const auto& text : m_markTexts)
        if (!text->SaveToStream(s)) return false;
    return WriteBoolean(s, UseInternalDialog) && WriteString(s, InternalDialogPrompt);
}

}  // namespace mirvex
