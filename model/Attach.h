// One attached file (picture, sound, video or embedded document) and the
// list of them that a text carries.
#pragma once

#include <string>

#include "CustomTanker.h"
#include "TankerList.h"

namespace mirvex {

enum class TAttachKind : std::uint8_t { None = 0, Picture = 1, Sound = 2, Video = 3, Ole = 4 };

// Sound and video: 0 plays at once without the control panel, 1 plays at
// once with it, 2 shows it and waits for the user.
enum class TPlayMode : std::uint8_t { AutoNoPanel = 0, AutoWithPanel = 1, Manual = 2 };

// Sizing inside the attachment area: natural size centred, stretched,
// scaled proportionally and centred.
enum class TFitMode : std::uint8_t { Natural = 0, Stretch = 1, Proportional = 2 };

class TAttach : public TCustomTanker {
public:
    TAttachKind Kind = TAttachKind::None;
    TPlayMode PlayMode = TPlayMode::AutoNoPanel;
    // Not 0: play again each time playback ends.
    std::uint8_t RepeatPlay = 0;
    // 1: while shown, the owning rich text is hidden.
    std::uint8_t LayoutFlag = 0;
    TFitMode FitMode = TFitMode::Proportional;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    // Code page 1251, with the extension that says how to open the data.
    std::string FileName;
    TBytes FileData;

    void Assign(const TAttach& source);

    // Body after Version, a 24-byte header then the name and data bytes:
    //   0  byte   Kind            5  byte   FitMode
    //   1  byte   PlayMode        6  2      reserved, 0
    //   2  byte   RepeatPlay      8  int32  Width
    //   3  byte   unused, 0       12 int32  Height
    //   4  byte   LayoutFlag      16 int32  N, 20 int32 M
    //   24 N bytes FileName, then M bytes FileData
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

class TAttaches : public TTankerList<TAttach> {};

}  // namespace mirvex
