// A rich text kept in two forms: its plain lines, which the engine works
// with, and its RTF stream, which the rich-text control reads and writes.
#pragma once

#include "CustomTanker.h"
#include "util/Strings.h"

namespace mirvex {

class TRTFText : public TCustomTanker {
public:
    TStringList PlainText;
    TBytes RtfData;

    void Clear();
    void Assign(const TRTFText& source);
    // The plain lines as one text, CR LF after each line.
    std::string Text() const { return JoinLines(PlainText); }

    // Body after Version:
    //   string  PlainText, CR LF after each line
    //   int32   M, then M bytes of RtfData
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

}  // namespace mirvex
