// Everything about a test that is not a question: rules, the mark scale with
// a text for each mark, the description, extra texts, the test's scripts and
// the author's script values.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CustomTanker.h"
#include "RTFText.h"
#include "ScriptValues.h"
#include "TestQuestion.h"
#include "TextWithAttaches.h"
#include "util/Exception.h"
#include "util/Strings.h"

namespace mirvex {

// One decoded line of the mark scale.
struct TMarkDescription {
    // The line's text shown for this mark at the end (when present).
    TUserTextWithAttach* TextObject = nullptr;
    std::int32_t Low = 0;
    std::int32_t High = 0;
    std::int32_t Colour = 0;
    std::string Text;
};

// Splits "low high colour text": three blank-separated integers (0 when not
// a number or missing) and the rest of the line as the mark's text.
TMarkDescription DecodeMarkLine(std::string_view line);

// BackColor value that means the window's own colour.
constexpr std::int32_t kWindowColour = 0x1FFFFFFF;

class TTestSettings : public TCustomTanker {
public:
    TTestSettings();

    std::uint8_t TimeLimitRule = 1;
    std::int32_t TimeLimitValue = 0;
    std::uint8_t ShowAnswerRule = 0;
    std::int32_t AnswerAutoCloseSecs = 0;
    std::uint8_t SelectQuestsRule = 0;
    std::int32_t SelectQuestsRuleCount = 0;
    bool RandomizeAnswers = false;
    bool UseSkipQuests = true;
    bool ShowQuestsPanel = false;
    std::int32_t SkipQuestsMaxCount = 0;
    bool ShowPremark = false;
    double MaxMark = 5.0;
    std::uint8_t CalcMarkRule = 0;
    std::int32_t MaxAssessesPoints = 0;
    // Carried unchanged, not interpreted.
    std::uint8_t Reserved = 0;
    std::uint8_t BackPictureMode = 0;
    std::int32_t BackColor = 0;
    bool UseAnimation = true;
    bool ShowInterruptBtn = true;
    std::uint8_t ShowResultRule = 1;
    TRTFText Description;
    TTextWithAttachesList ExtraTexts;
    std::string BeforeQuestionScript;
    std::string AfterAnswerScript;
    std::string StartScript;
    std::string FinishScript;
    TScriptValues ScriptValues;
    bool UseInternalDialog = true;
    std::string InternalDialogPrompt;

    // The mark scale: parallel lists of equal length.
    const TStringList& MarkLines() const { return m_markLines; }
    int MarkCount() const { return static_cast<int>(m_markLines.size()); }
    // Null outside the scale.
    TUserTextWithAttach* MarkText(int index) const;
    // Throws Exception "Индекс оценки %d выходит за границу" when the index
    // is not below the count (negative counts as too large).
    TMarkDescription GetMark(int index) const;
    void DeleteMark(int index);
    void ClearMarks();
    // Appends a line with an absent text; returns the text for filling.
    TUserTextWithAttach* AddMark(std::string line);
    // The first line in order whose range holds `value`.
    std::optional<TMarkDescription> FindMark(double value) const;

    // Rules and scripts back to their defaults, the marks cleared; the
    // panel, premark, colour, interrupt button, description, extra texts and
    // script values stay.
    void ResetToDefaults();
    // Clears the extra texts, the marks, the description and the values.
    void ClearContent();
    // n > 0: this test's extra text n-1; n < 0: the current question's
    // extra text -n-1; null for 0, a number beyond its list, or no question.
    TTextWithAttaches* ExtraTextByNumber(int n, const TTestQuestion* currentQuestion) const;

    // Body after Version, in this order:
    //   string MarkLines (CR LF after each line)
    //   byte TimeLimitRule, int32 TimeLimitValue
    //   byte ShowAnswerRule, int32 AnswerAutoCloseSecs
    //   byte SelectQuestsRule, int32 SelectQuestsRuleCount
    //   byte RandomizeAnswers, byte UseSkipQuests, byte ShowQuestsPanel,
    //   int32 SkipQuestsMaxCount, byte ShowPremark
    //   extended MaxMark, byte CalcMarkRule, int32 MaxAssessesPoints
    //   byte reserved, byte BackPictureMode, int32 BackColor
    //   byte UseAnimation, byte ShowInterruptBtn, byte ShowResultRule
    //   Description block, ExtraTexts block
    //   strings BeforeQuestionScript, AfterAnswerScript, StartScript, FinishScript
    //   ScriptValues block
    //   one TUserTextWithAttach block per mark line (no count)
    //   Version > 0 only: byte UseInternalDialog, string InternalDialogPrompt
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

private:
    void CheckMarkIndex(int index) const;
    TStringList m_markLines;
    std::vector<std::unique_ptr<TUserTextWithAttach>> m_markTexts;
};

}  // namespace mirvex
