// Questions and answers.
#include "TestQuestion.h"

namespace mirvex {

void TTestAnswer::Assign(const TTestAnswer& source) {
    if (&source == this) return;
    TTextWithAttaches::Assign(source);
    Conformity = source.Conformity;
    Priority = source.Priority;
}

bool TTestAnswer::LoadBody(TStream& s) {
    return TTextWithAttaches::LoadBody(s) && ReadBoolean(s, Conformity.IsLeft) && ReadString(s, Conformity.Ident) &&
           ReadString(s, Conformity.Links) && ReadInt32(s, Priority);
}

bool TTestAnswer::SaveBody(TStream& s) const {
    return TTextWithAttaches::SaveBody(s) && WriteBoolean(s, Conformity.IsLeft) &&
           WriteString(s, Conformity.Ident) && WriteString(s, Conformity.Links) && WriteInt32(s, Priority);
}

void TTestQuestion::Clear() {
    QuestionScript.clear();
    AnswerScript.clear();
    Answers.Clear();
    ExtraTexts.Clear();
}

bool TTestQuestion::LoadBody(TStream& s) {
    return TTextWithAttaches::LoadBody(s) && ReadEnum(s, QuestionType) && ReadInt32(s, TimeLimit) &&
           Answers.LoadFromStream(s) && ExtraTexts.LoadFromStream(s) && ReadString(s, QuestionScript) &&
           ReadString(s, AnswerScript);
}

bool TTestQuestion::SaveBody(TStream& s) const {
    return TTextWithAttaches::SaveBody(s) && WriteEnum(s, QuestionType) && WriteInt32(s, TimeLimit) &&
           Answers.SaveToStream(s) && ExtraTexts.SaveToStream(s) && WriteString(s, QuestionScript) &&
           WriteString(s, AnswerScript);
}

}  // namespace mirvex
