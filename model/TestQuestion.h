// Questions and their answer variants.
#pragma once

#include <string>

#include "TankerList.h"
#include "TextWithAttaches.h"

namespace mirvex {

enum class TQuestionType : std::uint8_t {
    SingleChoice = 0,
    MultipleChoice = 1,
    Ordering = 2,
    TypedInput = 3,
    Conformity = 4,
};

// The matching data of one item of a conformity question.
struct TConformitySettings {
    // True for an item of the left column.
    bool IsLeft = false;
    // For a left item: the Ident values of its right items, blank-separated.
    std::string Links;
    std::string Ident;

    bool operator==(const TConformitySettings&) const = default;
};

// Typed-input answers hold their accepted variants separated by this byte.
constexpr char kTypedAnswerSeparator = '\xA6';

class TTestAnswer : public TTextWithAttaches {
public:
    TConformitySettings Conformity;
    // The weight of a choice or typed answer; the right position, from 0, of
    // an ordering item.
    std::int32_t Priority = 0;

    void Assign(const TTestAnswer& source);

    // Body after the text-with-attaches body (note Ident before Links):
    //   byte IsLeft, string Ident, string Links, int32 Priority
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

class TTestAnswers : public TTankerList<TTestAnswer> {};

class TTestQuestion : public TTextWithAttaches {
public:
    TQuestionType QuestionType = TQuestionType::SingleChoice;
    // Seconds allowed when the test's time limit is per question.
    std::int32_t TimeLimit = 0;
    TTestAnswers Answers;
    TTextWithAttachesList ExtraTexts;
    std::string QuestionScript;
    std::string AnswerScript;

    // Empties both scripts, the answers and the extra texts; the question
    // text stays.
    void Clear();

    // Body after the text-with-attaches body:
    //   byte QuestionType, int32 TimeLimit, Answers block, ExtraTexts block,
    //   string QuestionScript, string AnswerScript
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

}  // namespace mirvex
