// The rich text record.
#include "RTFText.h"

namespace mirvex {

void TRTFText::Clear() {
    PlainText.clear();
    RtfData.clear();
}

void TRTFText::Assign(const TRTFText& source) {
    PlainText = source.PlainText;
    RtfData = source.RtfData;
}

bool TRTFText::LoadBody(TStream& s) {
    Clear();
    std::string text;
    if (!TCustomTanker::LoadBody(s) || !ReadString(s, text)) return false;
    PlainText = SplitLines(text);
    return ReadBytes(s, RtfData);
}

bool TRTFText::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteString(s, JoinLines(PlainText)) && WriteBytes(s, RtfData);
}

}  // namespace mirvex
