// One recorded testing session and its image in the statistics file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "util/DateTime.h"
#include "util/Stream.h"

namespace mirvex {

enum class TOutcome : std::uint8_t { Wrong = 0, PartlyRight = 1, Right = 2, Skipped = 3 };

struct TQuestionOutcome {
    // Position of the question in the package catalogue, from 0.
    std::int32_t QuestionIndex = 0;
    TOutcome Outcome = TOutcome::Wrong;
    bool operator==(const TQuestionOutcome&) const = default;
};

struct TSingleRecord {
    std::int32_t Id = 0;
    std::string Reserved;
    std::string TestGuid;
    std::string TestFileName;
    std::int32_t UserId = 0;
    std::string UserName;
    TDateTime StartTime = 0;
    TDateTime FinishTime = 0;
    std::string NetAddr;
    double Mark = 0;
    std::string StrMark;
    std::string Remarks;
    std::string Log;
    std::vector<TQuestionOutcome> Answers;

    bool operator==(const TSingleRecord&) const = default;
};

// The record body, with no block framing and no version:
//   string Reserved, int32 Id, string TestGuid, string TestFileName,
//   int32 UserId, string UserName, double StartTime, double FinishTime,
//   string NetAddr, extended Mark, string StrMark, string Remarks,
//   string Log, int32 N, N times (int32 QuestionIndex, byte Outcome)
[[nodiscard]] bool WriteRecordBody(TStream& s, const TSingleRecord& record);
// Empties the answers first; any short read fails the whole read.
[[nodiscard]] bool ReadRecordBody(TStream& s, TSingleRecord& record);

}  // namespace mirvex
