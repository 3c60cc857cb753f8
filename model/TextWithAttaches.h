// A rich text with its attachments, the optional form of it that marks
// carry, and the numbered list of them that scripts show.
#pragma once

#include "Attach.h"
#include "RTFText.h"
#include "TankerList.h"

namespace mirvex {

class TTextWithAttaches : public TCustomTanker {
public:
    TRTFText RichText;
    TAttaches Attachments;

    void Assign(const TTextWithAttaches& source);

    // Body after Version: the RichText block, then the Attachments block.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

class TUserTextWithAttach : public TCustomTanker {
public:
    bool Present = false;
    TTextWithAttaches Text;

    // Body after Version: byte Present; only when it is not 0, the Text block.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

class TTextWithAttachesList : public TTankerList<TTextWithAttaches> {};

}  // namespace mirvex
