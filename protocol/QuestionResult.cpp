// Answer results in stream form.
#include "QuestionResult.h"

#include "util/Coding.h"

namespace mirvex {
namespace {

template <typename T>
bool FitsCount(const std::vector<T>& items) {
    return items.size() <= static_cast<std::size_t>(INT32_MAX);
}

}  // namespace

bool WriteQuestionResult(TStream& s, const TQuestionResult& r) {
    if (!WriteByte(s, r.ResultKind)) return false;
    switch (r.ResultKind) {
        case 0: return WriteInt32(s, r.SingleAnswer);
        case 1:
            if (!FitsCount(r.Checked) || !WriteInt32(s, static_cast<std::int32_t>(r.Checked.size()))) return false;
            return s.WriteBuffer(r.Checked.data(), static_cast<std::int64_t>(r.Checked.size()));
        case 2:
            if (!FitsCount(r.Ordered) || !WriteInt32(s, static_cast<std::int32_t>(r.Ordered.size()))) return false;
            for (std::int32_t v : r.Ordered)
                if (!WriteInt32(s, v)) return false;
            return true;
        case 3: return WriteString(s, r.TypedText);
        case 4:
            if (!FitsCount(r.Conformity) || !WriteInt32(s, static_cast<std::int32_t>(r.Conformity.size())))
                return false;
            for (const TConformitySettings& c : r.Conformity)
                if (!WriteBoolean(s, c.IsLeft) || !WriteString(s, c.Links) || !WriteString(s, c.Ident)) return false;
            return true;
        default: return true;
    }
}

bool ReadQuestionResult(TStream& s, TQuestionResult& r) {
    r = TQuestionResult();
    if (!ReadByte(s, r.ResultKind)) return false;
    std::int32_t count = 0;
    switch (r.ResultKind) {
        case 0: return ReadInt32(s, r.SingleAnswer);
        case 1:
            if (!ReadCount(s, count, 1)) return false;
            r.Checked.resize(static_cast<std::size_t>(count));
            return s.ReadBuffer(r.Checked.data(), count);
        case 2:
            if (!ReadCount(s, count, 4)) return false;
            r.Ordered.resize(static_cast<std::size_t>(count));
            for (std::int32_t& v : r.Ordered)
                if (!ReadInt32(s, v)) return false;
            return true;
        case 3: return ReadString(s, r.TypedText);
        case 4:
            if (!ReadCount(s, count, 9)) return false;
            r.Conformity.resize(static_cast<std::size_t>(count));
            for (TConformitySettings& c : r.Conformity)
                if (!ReadBoolean(s, c.IsLeft) || !ReadString(s, c.Links) || !ReadString(s, c.Ident)) return false;
            return true;
        default: return true;
    }
}

}  // namespace mirvex
