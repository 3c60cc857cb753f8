// The answer a user gave to one question, as the answer packet carries it:
//
//   byte ResultKind (the question type), then by kind
//   0 single choice    int32 index of the chosen answer as sent
//   1 multiple choice  int32 N, N bytes (1 = checked), one per answer
//   2 ordering         int32 N, N int32 (the arrangement made)
//   3 typed input      string, the text typed
//   4 conformity       int32 N, N times (byte IsLeft, string Links, string Ident)
//   other              nothing
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/TestQuestion.h"
#include "util/Stream.h"

namespace mirvex {

using TCheckedAnswers = std::vector<std::uint8_t>;
using TOrderedAnswers = std::vector<std::int32_t>;
using TConformityAnswers = std::vector<TConformitySettings>;

struct TQuestionResult {
    std::uint8_t ResultKind = 0;
    std::int32_t SingleAnswer = 0;
    TCheckedAnswers Checked;
    TOrderedAnswers Ordered;
    std::string TypedText;
    TConformityAnswers Conformity;

    bool operator==(const TQuestionResult&) const = default;
};

[[nodiscard]] bool WriteQuestionResult(TStream& s, const TQuestionResult& result);
// Clears what the previous kind left; a count beyond the bytes left fails.
[[nodiscard]] bool ReadQuestionResult(TStream& s, TQuestionResult& result);

}  // namespace mirvex
