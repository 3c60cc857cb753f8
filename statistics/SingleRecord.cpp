// Session record bodies.
#include "SingleRecord.h"

#include "util/Coding.h"

namespace mirvex {

bool WriteRecordBody(TStream& s, const TSingleRecord& r) {
    if (r.Answers.size() > INT32_MAX) return false;
    if (!(WriteString(s, r.Reserved) && WriteInt32(s, r.Id) && WriteString(s, r.TestGuid) &&
          WriteString(s, r.TestFileName) && WriteInt32(s, r.UserId) && WriteString(s, r.UserName) &&
          WriteDouble(s, r.StartTime) && WriteDouble(s, r.FinishTime) && WriteString(s, r.NetAddr) &&
          WriteExtended(s, r.Mark) && WriteString(s, r.StrMark) && WriteString(s, r.Remarks) &&
          WriteString(s, r.Log) && WriteInt32(s, static_cast<std::int32_t>(r.Answers.size()))))
        return false;
    for (const TQuestionOutcome& a : r.Answers)
        if (!WriteInt32(s, a.QuestionIndex) || !WriteEnum(s, a.Outcome)) return false;
    return true;
}

bool ReadRecordBody(TStream& s, TSingleRecord& r) {
    r.Answers.clear();
    std::int32_t count = 0;
    if (!(ReadString(s, r.Reserved) && ReadInt32(s, r.Id) && ReadString(s, r.TestGuid) &&
          ReadString(s, r.TestFileName) && ReadInt32(s, r.UserId) && ReadString(s, r.UserName) &&
          ReadDouble(s, r.StartTime) && ReadDouble(s, r.FinishTime) && ReadString(s, r.NetAddr) &&
          ReadExtended(s, r.Mark) && ReadString(s, r.StrMark) && ReadString(s, r.Remarks) &&
          ReadString(s, r.Log) && ReadCount(s, count, 5)))
        return false;
    r.Answers.resize(static_cast<std::size_t>(count));
    for (TQuestionOutcome& a : r.Answers)
        if (!ReadInt32(s, a.QuestionIndex) || !ReadEnum(s, a.Outcome)) return false;
    return true;
}

}  // namespace mirvex
